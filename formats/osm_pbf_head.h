#pragma once
// How an OpenStreetMap PBF file begins, for telling its format by its first
// bytes.
#include <string_view>

namespace velorin {

/// Whether the first bytes of a file are a PBF file's: the length of its
/// first block header, then that header naming "OSMHeader".
bool StartsOsmPbf(std::string_view head);

}  // namespace velorin
