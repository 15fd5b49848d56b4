#pragma once
// The three fields of a point line that the conversion reads, found in one
// pass over the line.
#include <string_view>

namespace velorin {

/// What ExtractKeyValue(line, key, "/", 1, true, true, true) gives for the
/// keys "/tex=", "/kei=" and "ido=": views into `line`, empty where a key is
/// absent. Written straight into the caller's record (a record copied from
/// a returned one would be read back in wider pieces than it was written,
/// which waits for the writes to reach the cache).
void ExtractPotLineFields(std::string_view line, std::string_view& title,
                          std::string_view& longitudeText, std::string_view& latitudeText);

}  // namespace velorin
