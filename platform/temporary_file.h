#pragma once
// What each system does for a replacing file (platform/replacing_file.h):
// look at the target, make the temporary file beside it, write to it, put it
// on the disk, rename it over the target or remove it. When each step happens
// is decided once, in replacing_file.cpp. One sibling file per system.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
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

/// Looks at `path` (following symbolic links unless `followLinks` is false:
/// then a link there is itself replaced) as OpenReplacingFile says, and
/// opens the one of the two that it needs. Neither, with `ec`, on failure.
/// Before it makes its temporary file it removes those that Velorin left in
/// the folder when it was killed (RemoveStaleTemporaryFiles).
ReplacementTarget OpenReplacementTarget(const std::string& path, bool followLinks,
                                        std::error_code& ec);

/// How long a temporary file must have lain untouched before it counts as
/// left behind.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

/// Whether `name` (a file name without its folder) is that of a temporary
/// file of a replacing file: "." + the target's name + ".velorin-" and six
/// letters or digits.
bool IsTemporaryFileName(std::string_view name);

/// Removes from `folder` the temporary files of replacing files that a
/// Velorin killed before it could remove them (kill -9, a power cut): only
/// files named as Velorin names them (IsTemporaryFileName), ordinary files
/// (no link, no folder) of this user, untouched for `age` or longer, that
/// no running program holds open for writing (a running save holds a lock
/// on its own). Whatever cannot be looked at or removed is left alone.
void RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds age);

}  // namespace velorin
