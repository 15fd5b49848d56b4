#include "cli/position_commands.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/skip_reason_text.h"
#include "geo/coordinate.h"

namespace velorin {

std::string FormatDecodedPosition(const DecodedPosition& position) {
  const double longitude = position.x / kUnitsPerDegree;
  const double latitude = position.y / kUnitsPerDegree;
  char decimal[64];
  std::snprintf(decimal, sizeof decimal, "%.7f %.7f\n", longitude, latitude);
  return decimal + FormatPotNotation(longitude) + " " + FormatPotNotation(latitude) + "\n";
}

int RunEncodeCommand(std::string_view longitudeText, std::string_view latitudeText,
                     std::ostream& out, std::ostream& err) {
  const double longitude = ParseCoordinateText(longitudeText);
  const double latitude = ParseCoordinateText(latitudeText);
  bool rejected = false;
  if (longitude < 0.0) {
    err << "velorin-cli: longitude text rejected: " << PrintableText(longitudeText) << "\n";
    rejected = true;
  }
  if (latitude < 0.0) {
    err << "velorin-cli: latitude text rejected: " << PrintableText(latitudeText) << "\n";
    rejected = true;
  }
  if (rejected) return kExitFailed;
  const PositionText position = EncodeNviPosition(longitude, latitude);
  if (position.size() != 17) {
    err << "velorin-cli: position out of range\n";
    return kExitFailed;
  }
  out << position.view() << "\n";
  return kExitDone;
}

int RunDecodeCommand(std::string_view positionText, std::ostream& out, std::ostream& err) {
  const std::optional<DecodedPosition> position = DecodePositionText(positionText);
  if (!position) {
    err << "velorin-cli: not a position text: '" << PrintableText(positionText)
        << "' (expected \"$\" followed by 16 hexadecimal digits)\n";
    return kExitFailed;
  }
  out << FormatDecodedPosition(*position);
  return kExitDone;
}

}  // namespace velorin
