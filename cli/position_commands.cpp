#include "cli/position_commands.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "formats/pot_skip_reason.h"
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
    err << "velorin-cli: longitude text rejected: " << PrintableText(longitudeText)
        << kExpectedCoordinateForm << "\n";
    rejected = true;
  }
  if (latitude < 0.0) {
    err << "velorin-cli: latitude text rejected: " << PrintableText(latitudeText)
        << kExpectedCoordinateForm << "\n";
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
  // Bit 31 of either angle (bits 62 and 63 of the code) or any value above
  // 180 degrees is nothing an NVI file can hold.
  constexpr std::uint32_t kMaxUnits = 2147483520;  // 180 x 11930464
  if (position->x > kMaxUnits || position->y > kMaxUnits) {
    err << "velorin-cli: position out of range: '" << PrintableText(positionText)
        << "' (longitude and latitude must lie between 0 and 180 degrees)\n";
    return kExitUsage;
  }
  out << FormatDecodedPosition(*position);
  return kExitDone;
}

}  // namespace velorin
