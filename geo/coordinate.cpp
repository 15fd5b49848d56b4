#include "geo/coordinate.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "geo/canonical_numeral.h"

namespace velorin {
namespace {

constexpr int kPartCount = 4;

// Character positions are 16-bit signed integers.
constexpr std::size_t kMaxPosition = 32767;

constexpr double kMaxAngle = 180.0;

// Divisors of degrees, minutes, seconds and tenths of a second.
constexpr double kPartDivisors[kPartCount] = {1.0, 60.0, 3600.0, 36000.0};

// Spreads the 32 bits of `value` to the even bit positions of a 64-bit word.
constexpr std::uint64_t SpreadToEvenBits(std::uint32_t value) {
  std::uint64_t x = value;
  x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
  x = (x | (x << 8)) & 0x00FF00FF00FF00FFull;
  x = (x | (x << 4)) & 0x0F0F0F0F0F0F0F0Full;
  x = (x | (x << 2)) & 0x3333333333333333ull;
  x = (x | (x << 1)) & 0x5555555555555555ull;
  return x;
}

// The angle in code units as the low 31 bits of its 32-bit two's complement;
// nothing when the unit count does not fit 32 bits (or is not a number).
std::optional<std::uint32_t> AngleUnits(double angle) {
  const double units = std::floor(angle * kUnitsPerDegree + 0.5);
  if (!(units >= -2147483648.0 && units < 2147483648.0)) return std::nullopt;
  const auto asInt32 = static_cast<std::int32_t>(units);
  return static_cast<std::uint32_t>(asInt32) & 0x7FFFFFFFu;
}

}  // namespace

double ParseCoordinateText(std::string_view text) {
  // Positions are counted in bytes here although the text is CP932: every
  // byte before an accepted fourth apostrophe belongs to an accepted part and
  // is therefore ASCII, so byte and character positions agree wherever the
  // result depends on them. An apostrophe (0x27) is never a trail byte.
  //
  // The text is read as if one apostrophe were appended to it; that
  // apostrophe sits at byte offset text.size().
  double angle = 0.0;
  std::size_t current = 0;  // 0-based offset of the current position
  for (int part = 0; part < kPartCount; ++part) {
    std::size_t apostrophe = text.find('\'', current);
    if (apostrophe == std::string_view::npos) {
      if (current > text.size()) return kRejectedAngle;  // the appended one is used up
      apostrophe = text.size();
    }
    // The apostrophe's position and the position after it must both fit.
    if (apostrophe + 2 > kMaxPosition) return kRejectedAngle;

    const std::optional<double> value =
        ParseCanonicalNumeral(text.substr(current, apostrophe - current));
    if (!value) return kRejectedAngle;
    // Accumulates ((D + M / 60) + S / 3600) + T / 36000 in this order.
    angle += *value / kPartDivisors[part];
    current = apostrophe + 1;
  }
  if (!std::isfinite(angle) || angle > kMaxAngle) return kRejectedAngle;
  return angle;
}

PositionText EncodeNviPosition(double longitude, double latitude) {
  if (longitude > kMaxAngle || latitude > kMaxAngle) return {};
  const std::optional<std::uint32_t> x = AngleUnits(longitude);
  const std::optional<std::uint32_t> y = AngleUnits(latitude);
  if (!x || !y) return {};

  const std::uint64_t code = SpreadToEvenBits(*x) | (SpreadToEvenBits(*y) << 1);
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::array<char, 17> chars{};
  chars[0] = '$';
  for (int digit = 0; digit < 16; ++digit) {
    chars[16 - digit] = kHexDigits[(code >> (4 * digit)) & 0xF];
  }
  return PositionText(chars);
}

}  // namespace velorin
