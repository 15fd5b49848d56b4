#pragma once
// NVI position codes read back: the two angle integers of a code, whether
// NVI can hold them, and angles written in the POT notation.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

/// The two angles of a position code in units of 1/11930464 degree.
struct DecodedPosition {
  std::uint32_t x = 0;  ///< longitude, from the even bits
  std::uint32_t y = 0;  ///< latitude, from the odd bits
  friend bool operator==(const DecodedPosition&, const DecodedPosition&) = default;
};

/// 180 degrees in code units: the largest angle integer NVI holds.
inline constexpr std::uint32_t kMaxAngleUnits = 2147483520u;

/// Reads "$" followed by exactly 16 hexadecimal digits (either case) and
/// splits the code into its even and odd bits. Nothing for any other text.
std::optional<DecodedPosition> DecodePositionText(std::string_view text);

/// True when both angles lie within 0 to 180 degrees, as every code that an
/// NVI writer makes does (bits 62 and 63 clear, no angle above 180).
constexpr bool IsWithinNviRange(const DecodedPosition& position) {
  return position.x <= kMaxAngleUnits && position.y <= kMaxAngleUnits;
}

/// An angle in the POT notation degrees'minutes'seconds'tenths, rounded to
/// whole tenths of a second, without leading zeros ("139'46'1'6").
/// `degrees` must not be negative.
std::string FormatPotNotation(double degrees);

/// The same notation for an angle in code units, rounded exactly (halves
/// up) from the integer rather than through a double.
std::string FormatPotNotationOfUnits(std::uint32_t units);

}  // namespace velorin
