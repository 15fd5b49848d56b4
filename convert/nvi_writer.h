#pragma once
// The twelve-line NVI record block.
#include <string>
#include <string_view>

#include "convert/poi_record.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"

namespace velorin {

/// Date text rules: a first "/" at position 3 gets "20" in front; a first
/// "/" anywhere but 3 or 5 (or none) gives "2009/06/13".
std::string NormalizeDateText(std::string_view date);
/// Time text rules: "9:05:03" gets a "0" in front; anything that is then not
/// hh:mm:ss in form gives "00:00:00".
std::string NormalizeTimeText(std::string_view time);

/// Appends one block for `record`, LF line ends, the title bytes unchanged,
/// stamped with the clock's reading taken once for this block.
void WriteNviRecord(BufferedWriter& out, const PoiRecord& record, Clock& clock);

}  // namespace velorin
