#pragma once
// Why a POT point line was skipped, in words (UTF-8).
#include <string>
#include <string_view>

#include "formats/poi_record.h"

namespace velorin {

/// What a rejected coordinate text is told it should have looked like.
inline constexpr std::string_view kExpectedCoordinateForm =
    " (expected degrees'minutes'seconds'tenths, e.g. 35'40'52'3)";

/// "no title", "longitude text rejected: <text>" ...; the coordinate texts
/// are converted from CP932 to UTF-8 (control characters stay: the caller
/// makes the text safe for where it shows it). Empty for accepted lines and
/// for lines that are not point lines.
std::string PotSkipReasonText(const PotLineOutcome& outcome);

}  // namespace velorin
