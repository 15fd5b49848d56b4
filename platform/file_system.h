#pragma once
// The file operations that a conversion run and its hosts need, behind an
// interface so that tests and the command-line host can stand in for the
// real disk (platform/memory_file_system.h keeps files in memory).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/replacing_file.h"

namespace velorin {

/// What tells whether a file changed since it was looked at: which file a
/// path names, how long it is and when it was last written.
struct FileStamp {
  std::string identity;  ///< as IdentityOf gives it
  std::uint64_t size = 0;
  /// The last write in the file system's own units (the same file written
  /// again has another).
  std::int64_t written = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// A file of a folder, as FileSystem::FilesIn lists it.
struct FolderFile {
  std::string name;  ///< without the folder
  std::uint64_t size = 0;
  /// When it was last written, in seconds of any one clock (later is more).
  std::int64_t written = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// Opens an existing file for reading. A folder cannot be opened.
  virtual std::unique_ptr<ByteSource> OpenForReading(const std::string& path,
                                                     std::error_code& ec) = 0;
  /// Creates the file, or empties it if it exists (the log).
  virtual std::unique_ptr<ByteSink> OpenForWriting(const std::string& path,
                                                   std::error_code& ec) = 0;
  /// A file that takes the place of `path` only when committed (the output):
  /// until then an existing file stays as it was. See OpenReplacingFile.
  virtual std::unique_ptr<ReplacingSink> OpenForReplacing(const std::string& path,
                                                          std::error_code& ec) = 0;
  /// As OpenForReplacing, for a file that belongs in its folder (a settings
  /// file, written unasked): a link at `path` is followed only to a file in
  /// the same folder; a link to anywhere else is itself replaced by the new
  /// file, and what it points to stays as it was.
  virtual std::unique_ptr<ReplacingSink> OpenForReplacingInFolder(const std::string& path,
                                                                  std::error_code& ec) = 0;
  /// Directory look-up used as an existence test: true only for an ordinary
  /// file (not a folder, not a hidden file).
  virtual bool IsNormalFile(const std::string& path) = 0;
  /// True when both paths name one file, now or once it is written (see
  /// NameSameFile in platform/file_identity.h).
  virtual bool NameSameFile(const std::string& a, const std::string& b) = 0;
  /// The same text for two paths exactly when they name one existing file
  /// (see FileIdentityKey); nothing when none is known.
  virtual std::optional<std::string> IdentityOf(const std::string& /*path*/) {
    return std::nullopt;
  }
  /// The size in bytes of the regular file that `path` names (links
  /// followed); nothing for a folder, a pipe or device, a missing file.
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  /// Up to `count` first bytes of an ordinary file (see IsNormalFile), for
  /// telling its format; nothing when it is none or cannot be opened. A pipe
  /// is never read: what was read would be lost to the run.
  virtual std::optional<std::string> ReadHead(const std::string& path, std::size_t count) = 0;
  /// Whether `path` names a folder (links followed).
  virtual bool IsFolder(const std::string& path) = 0;
  /// The names of what folder `path` holds, files and folders, in no
  /// order; nothing when it names no folder or the folder cannot be read.
  virtual std::optional<std::vector<std::string>> FolderEntries(const std::string& /*path*/) {
    return std::nullopt;
  }
  /// The stamp of the file `path` names (links followed); nothing when it
  /// names none, or none can be told.
  virtual std::optional<FileStamp> StampOf(const std::string& /*path*/) { return std::nullopt; }

  // A folder of files the program keeps for itself (the map's tiles). A
  // file system without such folders answers none of these.
  /// Makes `folder` and the missing folders above it; true when it is there.
  virtual bool MakeFolders(const std::string& /*folder*/) { return false; }
  /// Removes the ordinary file `path`; true when it is gone.
  virtual bool RemoveFile(const std::string& /*path*/) { return false; }
  /// The ordinary files directly in `folder`; none when it cannot be read.
  virtual std::vector<FolderFile> FilesIn(const std::string& /*folder*/) { return {}; }
};

/// Creates the file at `path`, or empties it if it exists; a folder fails.
std::unique_ptr<ByteSink> OpenFileForWriting(const std::string& path, std::error_code& ec);

/// The real disk. Paths are native (UTF-8 on Linux).
class LocalFileSystem : public FileSystem {
 public:
  std::unique_ptr<ByteSource> OpenForReading(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ByteSink> OpenForWriting(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ReplacingSink> OpenForReplacing(const std::string& path,
                                                  std::error_code& ec) override;
  std::unique_ptr<ReplacingSink> OpenForReplacingInFolder(const std::string& path,
                                                          std::error_code& ec) override;
  bool IsNormalFile(const std::string& path) override;
  bool NameSameFile(const std::string& a, const std::string& b) override;
  std::optional<std::string> IdentityOf(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadHead(const std::string& path, std::size_t count) override;
  bool IsFolder(const std::string& path) override;
  std::optional<std::vector<std::string>> FolderEntries(const std::string& path) override;
  std::optional<FileStamp> StampOf(const std::string& path) override;
  bool MakeFolders(const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  std::vector<FolderFile> FilesIn(const std::string& folder) override;
};

}  // namespace velorin
