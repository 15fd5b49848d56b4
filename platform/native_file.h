#pragma once
// Opening a file by its UTF-8 path, and the existence test of the run, as
// each system does them. One sibling file per system.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

namespace velorin {

/// Opens `path` as fopen does with "rb" or "wb". A folder is refused with
/// is_a_directory; nothing is created or emptied then.
std::FILE* OpenNativeFile(const std::string& path, bool forWriting, std::error_code& ec);

/// Moves a file opened by OpenNativeFile to `offset` bytes from its start;
/// false when it cannot be moved there.
bool SeekNativeFile(std::FILE* file, std::uint64_t offset);

/// The directory look-up used as an existence test: an ordinary file, not a
/// folder nor a device, and on Windows not marked hidden or system.
bool IsOrdinaryFile(const std::string& path);

/// Whether `path` names a folder (a link to one too).
bool IsFolder(const std::string& path);

/// Any file of that name on a disk, whatever its attributes: what velorin-cli
/// does not overwrite without --force. Not a folder, nor a device.
bool IsExistingFile(const std::string& path);

/// A file opened for reading that data arrives in as someone writes it (a
/// named pipe): it is read as it comes, never waited on in one long read.
class NativeStream {
 public:
  /// Nothing to do (false) for a file whose data is all there, as on Windows.
  static bool IsStream(std::FILE* file);
  /// Reads what has arrived, up to `capacity` (at least one byte, waiting
  /// for it); 0 at the end, -1 on an error (errno set).
  static std::ptrdiff_t ReadSome(std::FILE* file, char* buffer, std::size_t capacity);
  /// True when ReadSome() would not wait.
  static bool HasData(std::FILE* file);
  /// Waits until data arrives or `limit` has passed.
  static void WaitForData(std::FILE* file, std::chrono::milliseconds limit);
};

}  // namespace velorin
