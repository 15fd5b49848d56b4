#pragma once
// Opening a file by its UTF-8 path, and the existence test of the run, as
// each system does them. One sibling file per system.
#include <cstdio>
#include <string>
#include <system_error>

namespace velorin {

/// Opens `path` as fopen does with "rb" or "wb". A folder is refused with
/// is_a_directory; nothing is created or emptied then.
std::FILE* OpenNativeFile(const std::string& path, bool forWriting, std::error_code& ec);

/// The directory look-up used as an existence test: an ordinary file, not a
/// folder nor a device, and on Windows not marked hidden or system.
bool IsOrdinaryFile(const std::string& path);

/// Any file of that name on a disk, whatever its attributes: what velorin-cli
/// does not overwrite without --force. Not a folder, nor a device.
bool IsExistingFile(const std::string& path);

}  // namespace velorin
