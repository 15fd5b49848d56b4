#pragma once
// Loader of the settings and message files (module CommonFileControlFunction).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velorin {

/// Reads up to `maxCount` lines of the file at `path` of `files` into lines[0..].
/// Lines end at CR LF, CR or a lone LF. Result codes:
///   0  maxCount lines read;   1  the file ended first (also when empty);
///  -1  cannot be opened;     -2  maxCount < 1;
///  -3  read error, or a line would go beyond the end of `lines`.
std::int16_t LoadTextLines(FileSystem& files, const std::string& path, std::int32_t maxCount,
                           std::vector<std::string>& lines);

}  // namespace velorin
