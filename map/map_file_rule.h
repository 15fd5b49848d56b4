#pragma once
// When the map of the input can be opened: the input box names an ordinary
// file that can be read and whose format is known, by its extension or by
// its first bytes; or a folder of photos, which the run reads as its photos.
#include <string>

#include "platform/file_system.h"

namespace velorin {

bool IsReadablePointFile(FileSystem& files, const std::string& path);

}  // namespace velorin
