#pragma once
// What each system does for a replacing file (platform/replacing_file.h):
// look at the target, make the temporary file beside it, write to it, put it
// on the disk, rename it over the target or remove it. When each step happens
// is decided once, in replacing_file.cpp. One sibling file per system.
#include <cstddef>
#include <memory>
#include <string>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

/// A new temporary file beside a target, open for writing until Close().
class TemporaryFile {
 public:
  virtual ~TemporaryFile() = default;
  /// The file's path, for the clean-up after a signal (abort_cleanup.h).
  virtual std::string PathText() const = 0;
  /// Whether an existing file is to be replaced (rather than a new one made).
  virtual bool ReplacesExisting() const = 0;
  /// Writes every byte, through interruptions and short writes.
  virtual std::error_code Write(const char* data, std::size_t size) = 0;
  /// Puts what was written on the disk itself.
  virtual std::error_code Sync() = 0;
  virtual std::error_code Close() = 0;
  /// After Close(): renames the file over the target in one step, with what
  /// the system keeps of the replaced file.
  virtual std::error_code MoveIntoPlace() = 0;
  /// After Close(): deletes the file.
  virtual void Remove() = 0;
};

/// Where a replacing file's bytes go: a temporary file, or (for a device
/// or pipe, which has nothing to keep) the target itself.
struct ReplacementTarget {
  std::unique_ptr<TemporaryFile> temporary;
  std::unique_ptr<ByteSink> direct;
};

/// Looks at `path` (following symbolic links) as OpenReplacingFile says, and
/// opens the one of the two that it needs. Neither, with `ec`, on failure.
ReplacementTarget OpenReplacementTarget(const std::string& path, std::error_code& ec);

}  // namespace velorin
