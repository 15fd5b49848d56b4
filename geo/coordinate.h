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

  std::size_t size() const { return static_cast<unsigned char>(bytes_[kLength]); }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {bytes_.data(), size()}; }
  std::string str() const { return std::string(view()); }
  friend bool operator==(const PositionText& a, std::string_view b) { return a.view() == b; }

 private:
  friend PositionText FormatPositionCode(std::uint32_t x, std::uint32_t y);

  // The characters, then their count (0 or 17) in the last byte: 18 bytes,
  // written and copied as 16 and 2 (a read wider than the writes it spans
  // waits for them to reach the cache).
  static constexpr std::size_t kLength = 17;
  std::array<char, 18> bytes_{};
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
