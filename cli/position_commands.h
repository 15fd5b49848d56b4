#pragma once
// The encode and decode commands: position texts by hand, without a file.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

/// The two angles of a position code in units of 1/11930464 degree.
struct DecodedPosition {
  std::uint32_t x = 0;  ///< longitude, from the even bits
  std::uint32_t y = 0;  ///< latitude, from the odd bits
};

/// Reads "$" followed by exactly 16 hexadecimal digits (either case) and
/// splits the code into its even and odd bits. Nothing for any other text.
std::optional<DecodedPosition> DecodePositionText(std::string_view text);

/// An angle in the POT notation degrees'minutes'seconds'tenths, rounded to
/// whole tenths of a second, without leading zeros ("139'46'1'6").
/// `degrees` must not be negative.
std::string FormatPotNotation(double degrees);

/// Both lines that the decode command prints: decimal degrees with seven
/// places, then the POT notation, longitude first on each line.
std::string FormatDecodedPosition(const DecodedPosition& position);

/// `velorin-cli encode`: prints the position text of the two coordinate
/// texts, or tells on `err` which text was rejected. Returns the exit code.
int RunEncodeCommand(std::string_view longitudeText, std::string_view latitudeText,
                     std::ostream& out, std::ostream& err);

/// `velorin-cli decode`: prints FormatDecodedPosition or explains on `err`
/// why the text is no position. Returns the exit code.
int RunDecodeCommand(std::string_view positionText, std::ostream& out, std::ostream& err);

}  // namespace velorin
