#pragma once
// Coordinate texts and NVI position codes (module CommonGpsRelatedFunction).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

/// Marker returned by ParseCoordinateText for a text that must not be converted.
inline constexpr double kRejectedAngle = -1.0;

/// Units of the position code per degree (2^32 / 360, fraction dropped).
inline constexpr double kUnitsPerDegree = 11930464.0;

/// Reads degrees'minutes'seconds'tenths (each part a canonical numeral, parts
/// may be empty) and returns decimal degrees in 0..180, or kRejectedAngle.
double ParseCoordinateText(std::string_view text);

/// "$" and 16 upper-case hexadecimal digits, or empty for an angle above 180.
/// A small value type so that encoding a position allocates nothing.
class PositionText {
 public:
  PositionText() = default;
  explicit PositionText(const std::array<char, 17>& chars) : chars_(chars), length_(17) {}

  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }
  std::string_view view() const { return {chars_.data(), length_}; }
  std::string str() const { return std::string(view()); }
  friend bool operator==(const PositionText& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, 17> chars_{};
  std::size_t length_ = 0;
};

/// Interleaves floor(angle * 11930464 + 0.5) of both angles bit by bit, the
/// longitude on the even bits, and writes the 64-bit code as "$" + 16 hex
/// digits. Returns an empty PositionText when either angle is above 180.
PositionText EncodeNviPosition(double longitude, double latitude);

/// The position text of two angles already counted in code units (only
/// their low 31 bits are used): what EncodeNviPosition writes once it has
/// rounded the angles.
PositionText FormatPositionCode(std::uint32_t x, std::uint32_t y);

}  // namespace velorin
