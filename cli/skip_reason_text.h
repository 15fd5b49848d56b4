#pragma once
// Why a point line was skipped, in words for the terminal.
#include <string>
#include <string_view>

#include "formats/poi_record.h"
#include "formats/pot_skip_reason.h"

namespace velorin {

/// Makes text safe to print on a terminal: control characters (C0, DEL and
/// the C1 range of UTF-8) become \xNN escapes, everything else stays.
std::string PrintableText(std::string_view utf8);

/// "no title", "longitude text rejected: <text>" ...; the coordinate texts
/// are converted from CP932 to UTF-8. Empty for accepted lines and for lines
/// that are not point lines.
std::string SkipReasonText(const PotLineOutcome& outcome);

}  // namespace velorin
