#pragma once
// Decimal degrees as the text formats write and read them: nine places
// (0.1 mm; finer than the 1/11930464 degree of an NVI code, so a code
// survives a round trip exactly).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "formats/point.h"

namespace velorin {

inline constexpr int kDecimalPlaces = 9;

/// A short number text that needs no allocation.
class DecimalText {
 public:
  std::string_view view() const { return {chars_.data(), size_}; }

 private:
  friend DecimalText FormatDegrees(double degrees);
  friend DecimalText FormatUnitsAsDegrees(std::uint32_t units);
  std::array<char, 48> chars_{};
  std::size_t size_ = 0;
};

/// Fixed notation with nine places ("35.681194444"); a negative zero is
/// written as zero.
DecimalText FormatDegrees(double degrees);
/// An angle integer of an NVI code in degrees with nine places, rounded
/// exactly from the integer (halves up).
DecimalText FormatUnitsAsDegrees(std::uint32_t units);

struct DecimalPosition {
  DecimalText longitude;
  DecimalText latitude;
};
DecimalPosition FormatPosition(const PointPosition& position);

/// A decimal number of degrees: optional blanks around it, an optional sign,
/// digits with an optional point and exponent. Nothing for anything else,
/// infinities and NaN included.
std::optional<double> ParseDecimalDegrees(std::string_view text);

}  // namespace velorin
