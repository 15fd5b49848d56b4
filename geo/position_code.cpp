#include "geo/position_code.h"

#include <cmath>

#include "geo/coordinate.h"

namespace velorin {

namespace {

constexpr std::size_t kHexDigits = 16;
constexpr std::uint64_t kTenthsPerDegree = 36000;
constexpr std::uint64_t kUnits = static_cast<std::uint64_t>(kUnitsPerDegree);

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string FormatTenths(long long tenths) {
  return std::to_string(tenths / 36000) + "'" + std::to_string(tenths % 36000 / 600) + "'" +
         std::to_string(tenths % 600 / 10) + "'" + std::to_string(tenths % 10);
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
  return FormatTenths(std::llround(degrees * 36000.0));
}

std::string FormatPotNotationOfUnits(std::uint32_t units) {
  // tenths = units * 36000 / 11930464, rounded half up, in integers (the
  // product stays far below 2^64).
  const std::uint64_t tenths = (units * kTenthsPerDegree * 2 + kUnits) / (2 * kUnits);
  return FormatTenths(static_cast<long long>(tenths));
}

}  // namespace velorin
