#pragma once
// A position typed for a point, in the notations velorin-cli's encode and
// decode take: decimal degrees ("139.767125") or degrees'minutes'seconds'
// tenths as a POT line writes them ("139'46'1'6"), each after a "-" for a
// west longitude or a south latitude; or an NVI position code.
#include <optional>
#include <string_view>

#include "map/web_mercator.h"

namespace velorin {

/// The angle of `text` (blanks around it ignored) within -`most` to `most`
/// degrees; nothing for any other text.
std::optional<double> ParseTypedAngle(std::string_view text, double most);

/// The position of a longitude and a latitude typed apart; or of a position
/// code ("$" and 16 hexadecimal digits) typed in either with the other left
/// empty. Nothing when either cannot be read or lies off the globe.
std::optional<LonLat> ParseTypedPosition(std::string_view longitude, std::string_view latitude);

}  // namespace velorin
