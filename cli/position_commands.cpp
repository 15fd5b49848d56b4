#include "cli/position_commands.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "formats/decimal_text.h"
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

namespace {

/// The angle of a coordinate text of the encode command: a text with an
/// apostrophe is degrees'minutes'seconds'tenths, read as a POT line's;
/// any other is decimal degrees, as the decode command prints them first.
/// Writes why on `err` and gives nothing for a text rejected.
std::optional<double> EncodedAngle(std::string_view name, std::string_view text,
                                   std::ostream& err) {
  if (text.find('\'') != std::string_view::npos) {
    const double degrees = ParseCoordinateText(text);
    if (degrees >= 0.0) return degrees;
  } else if (const std::optional<double> degrees = ParseDecimalDegrees(text)) {
    // NVI holds 0 to 180 degrees, as D'M'S'T texts are read.
    if (*degrees >= 0.0 && *degrees <= 180.0) return *degrees;
    err << "velorin-cli: " << name << " text rejected: " << PrintableText(text)
        << " (decimal degrees must lie between 0 and 180)\n";
    return std::nullopt;
  }
  err << "velorin-cli: " << name << " text rejected: " << PrintableText(text)
      << kExpectedCoordinateForm << "\n";
  return std::nullopt;
}

}  // namespace

int RunEncodeCommand(std::string_view longitudeText, std::string_view latitudeText,
                     std::ostream& out, std::ostream& err) {
  const std::optional<double> longitude = EncodedAngle("longitude", longitudeText, err);
  const std::optional<double> latitude = EncodedAngle("latitude", latitudeText, err);
  if (!longitude || !latitude) return kExitFailed;
  const PositionText position = EncodeNviPosition(*longitude, *latitude);
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
