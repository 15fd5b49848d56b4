#include "geo/canonical_numeral.h"

#include <cstdint>

namespace velorin {
namespace {

// A double carries every decimal of at most 15 significant digits through a
// round trip, so such a numeral is exactly its own 15-digit rendering.
constexpr int kMaxSignificantDigits = 15;

// Below 1e-4 the 15-digit rendering switches to exponent notation, which a
// numeral of digits and one point can never equal: at most three zeros may
// follow the point before the first significant digit.
constexpr int kMaxZerosAfterPoint = 3;

// Exact powers of ten; the longest fraction accepted has 3 + 15 digits.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseCanonicalNumeral(std::string_view part) {
  const std::size_t n = part.size();
  std::size_t i = 0;
  while (i < n && part[i] == '0') ++i;
  if (i == n) return 0.0;  // empty, or zeros only: the rendering "0" padded with zeros

  // Integer digits; the first one is not zero.
  std::uint64_t mantissa = 0;
  int significant = 0;
  while (i < n && IsDigit(part[i])) {
    if (++significant > kMaxSignificantDigits) return std::nullopt;
    mantissa = mantissa * 10 + static_cast<unsigned>(part[i] - '0');
    ++i;
  }
  if (i == n) return static_cast<double>(mantissa);  // exact below 10^15
  if (part[i] != '.') return std::nullopt;
  ++i;

  // Fraction digits: at least one, the last one not zero.
  const std::size_t fractionBegin = i;
  int leadingZeros = 0;
  while (i < n && IsDigit(part[i])) {
    const unsigned digit = static_cast<unsigned>(part[i] - '0');
    if (significant == 0 && digit == 0) {
      if (++leadingZeros > kMaxZerosAfterPoint) return std::nullopt;
    } else if (++significant > kMaxSignificantDigits) {
      return std::nullopt;
    }
    mantissa = mantissa * 10 + digit;
    ++i;
  }
  if (i != n || i == fractionBegin || part[n - 1] == '0') return std::nullopt;

  // Both operands are exact, so the one rounding of the division gives the
  // correctly rounded value of the numeral.
  return static_cast<double>(mantissa) / kPowersOfTen[n - fractionBegin];
}

}  // namespace velorin
