#pragma once
// A FileSystem in memory, for tests and fuzz targets: files are byte strings
// under "/"-separated paths, folders are named or implied by what lies in
// them, and a link names another path (two names of one file, as a symbolic
// link is). Failures can be planted for a path: opening it, reading it past
// so many bytes, writing it past so many bytes (a full disk), committing a
// file that replaces it. Reads can be made to come in small pieces, as from
// a pipe. The file system must outlive the sources and sinks it opens.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "platform/file_system.h"

namespace velorin {

class MemoryFileSystem : public FileSystem {
 public:
  /// Failures planted for one file (by the path it has once links are
  /// followed).
  struct Faults {
    std::optional<std::errc> open;  ///< every opening of it fails so
    /// Reads fail (io_error) once this many bytes of it were read, even at
    /// its end.
    std::optional<std::size_t> readFailsAfter;
    /// The disk is full (no_space_on_device) once it holds this many bytes.
    std::optional<std::size_t> writeFailsAfter;
    /// A file that is to replace it fails at the commit (permission_denied).
    bool commitFails = false;
  };

  /// Makes `path` a file holding `bytes` (the folders above it are implied:
  /// a folder is there when it holds something). A file written or replaced
  /// through the FileSystem calls needs its folder there already.
  void AddFile(const std::string& path, std::string bytes);
  /// Makes `path` an empty folder.
  void AddFolder(const std::string& path);
  /// Makes `link` name what `target` names, now and later.
  void AddLink(const std::string& link, const std::string& target);
  /// The bytes of the file that `path` names; nothing when it names none.
  std::optional<std::string> Contents(const std::string& path) const;
  /// Every file by its own path: for comparing the whole before and after.
  const std::map<std::string, std::string>& Files() const { return files_; }
  /// The failures planted for the file that `path` names.
  Faults& FaultsOf(const std::string& path);
  /// Reads give at most this many bytes at a time.
  void SetReadPiece(std::size_t bytes) { readPiece_ = bytes > 0 ? bytes : 1; }

  std::unique_ptr<ByteSource> OpenForReading(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ByteSink> OpenForWriting(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ReplacingSink> OpenForReplacing(const std::string& path,
                                                  std::error_code& ec) override;
  std::unique_ptr<ReplacingSink> OpenForReplacingInFolder(const std::string& path,
                                                          std::error_code& ec) override;
  bool IsNormalFile(const std::string& path) override;
  bool NameSameFile(const std::string& a, const std::string& b) override;
  /// The file's own path, links followed; nothing when it names no file.
  std::optional<std::string> IdentityOf(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadHead(const std::string& path, std::size_t count) override;
  bool IsFolder(const std::string& path) override;
  std::optional<std::vector<std::string>> FolderEntries(const std::string& path) override;
  /// Sources opened after this cannot seek, as a pipe cannot.
  void SetSeekable(bool seekable) { seekable_ = seekable; }
  /// The file's own path, its size and the tick it was last written at.
  std::optional<FileStamp> StampOf(const std::string& path) override;
  /// Whether `path` itself (its last step not followed) is a link.
  bool IsLink(const std::string& path) const;
  bool MakeFolders(const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  /// Files are written at ticks 1, 2, 3 ... in the order they were written.
  std::vector<FolderFile> FilesIn(const std::string& folder) override;

 private:
  class Writer;
  class Replacer;

  /// Appends `data` to `bytes`, the file `target` or what is to replace
  /// it, as far as the disk lets it; the error when it filled.
  std::error_code Append(const std::string& target, std::string& bytes, const char* data,
                         std::size_t size) const;
  /// `path` with its "." and ".." steps taken and every link followed.
  std::string Resolve(const std::string& path) const;
  bool IsFolderPath(const std::string& resolved) const;
  /// The error that opening `resolved` meets before anything is read or
  /// written: a planted one, a folder, or none.
  std::error_code OpeningError(const std::string& resolved) const;
  /// The error that making or emptying `resolved` meets: those of opening
  /// it, and a folder above it that is missing or a file.
  std::error_code CreatingError(const std::string& resolved) const;
  const Faults* FaultsFor(const std::string& resolved) const;

  std::map<std::string, std::string> files_;
  std::set<std::string> folders_;
  std::map<std::string, std::string> links_;
  std::map<std::string, Faults> faults_;
  /// The tick each file was last written at (its stamp's time): one clock
  /// for all files, a tick for each making or write.
  std::map<std::string, std::int64_t> written_;
  std::int64_t tick_ = 0;
  std::size_t readPiece_ = SIZE_MAX;
  bool seekable_ = true;
};

}  // namespace velorin
