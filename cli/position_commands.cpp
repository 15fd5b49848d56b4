#include "cli/position_commands.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/skip_reason_text.h"
#include "geo/coordinate.h"

namespace velorin {

namespace {

constexpr std::size_t kHexDigits = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<DecodedPosition> DecodePositionText(std::string_view text) {
  if (text.size() != kHexDigits + 1 || text.front() != '$') return std::nullopt;
  std::uint64_t code = 0;
  for (const char c : text.substr(1)) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    code = (code << 4) | static_cast<std::uint64_t>(digit);
  }
  DecodedPosition position;
  for (int i = 0; i < 32; ++i) {
    position.x |= static_cast<std::uint32_t>((code >> (2 * i)) & 1U) << i;
    position.y |= static_cast<std::uint32_t>((code >> (2 * i + 1)) & 1U) << i;
  }
  return position;
}

std::string FormatPotNotation(double degrees) {
  const long long tenths = std::llround(degrees * 36000.0);
  return std::to_string(tenths / 36000) + "'" + std::to_string(tenths % 36000 / 600) + "'" +
         std::to_string(tenths % 600 / 10) + "'" + std::to_string(tenths % 10);
}

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
