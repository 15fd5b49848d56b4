#pragma once
// An output file that replaces its target only when told to. The bytes go to
// a new temporary file in the target's own folder; Commit() renames it over
// the target in one step. Until then, and for good when the sink is dropped
// or discarded, the target stays byte for byte as it was, and a target that
// did not exist is not created.
#include <memory>
#include <string>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

class ReplacingSink : public ByteSink {
 public:
  /// Close() writes out and closes the temporary file; nothing is replaced.
  /// Commit() closes (if still open) and puts the file in place of the target.
  /// False, with error(), when that failed: the target is then unchanged.
  virtual bool Commit() = 0;
  /// Drops what was written. The destructor does this without a Commit().
  virtual void Discard() = 0;
};

/// Which file a link at the path replaced stands for.
enum class LinkedFile {
  /// The file it points to, wherever that lies (an output).
  kFollowed,
  /// Only a file in the link's own folder; a link to anywhere else is
  /// itself replaced by the new file, and what it pointed to is left as it
  /// was (a settings file, which is written unasked).
  kWithinFolder,
};

/// Opens `path` for replacing on the local disk.
/// - An existing file keeps its permission bits (and owner, where allowed);
///   a new one gets the usual 0666 less the umask.
/// - A symbolic link stays a link: the file it points to is replaced (with
///   kWithinFolder, only when that lies in the link's folder).
/// - A target that is no regular file (a device such as /dev/null, a pipe)
///   is written directly, as there is nothing to keep.
/// - An existing file that may not be written, or a folder, fails as opening
///   it for writing would; so does a folder where no temporary file can be made.
std::unique_ptr<ReplacingSink> OpenReplacingFile(const std::string& path, std::error_code& ec,
                                                 LinkedFile links = LinkedFile::kFollowed);

/// A sink that has nothing to replace (standard output): Commit() only
/// closes it, Discard() closes it too.
std::unique_ptr<ReplacingSink> WriteInPlace(std::unique_ptr<ByteSink> sink);

}  // namespace velorin
