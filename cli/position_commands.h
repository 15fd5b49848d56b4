#pragma once
// The encode and decode commands: position texts by hand, without a file.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "geo/position_code.h"

namespace velorin {

/// Both lines that the decode command prints: decimal degrees with seven
/// places, then the POT notation, longitude first on each line.
std::string FormatDecodedPosition(const DecodedPosition& position);

/// `velorin-cli encode`: prints the position text of the two coordinate
/// texts (each D'M'S'T or decimal degrees), or tells on `err` which text was
/// rejected. Returns the exit code.
int RunEncodeCommand(std::string_view longitudeText, std::string_view latitudeText,
                     std::ostream& out, std::ostream& err);

/// `velorin-cli decode`: prints FormatDecodedPosition or explains on `err`
/// why the text is no position. Returns the exit code.
int RunDecodeCommand(std::string_view positionText, std::ostream& out, std::ostream& err);

}  // namespace velorin
