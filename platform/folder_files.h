#pragma once
// A folder of files the program keeps for itself (the map's tiles), as each
// system handles it: made when first needed, its files listed with their
// sizes and the times they were written, a file removed. UTF-8 paths. One
// sibling file per system.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velorin {

/// Makes `folder` and the missing folders above it; true when it is there.
bool MakeNativeFolders(const std::string& folder);

/// Removes the ordinary file `path`; true when it is gone.
bool RemoveNativeFile(const std::string& path);

/// The ordinary files directly in `folder`, their sizes and the times they
/// were last written (seconds since 1970).
std::vector<FolderFile> NativeFilesIn(const std::string& folder);

}  // namespace velorin
