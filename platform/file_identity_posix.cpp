#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <vector>

#include "platform/file_identity.h"

namespace velorin {

namespace {

// As the kernel does: a chain of more links than this is a loop.
constexpr int kMaxLinkHops = 40;

struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId&) const = default;
};

std::optional<FileId> IdOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileId{status.st_dev, status.st_ino};
}

/// The regular file that a standard stream is connected to, if it is one.
std::optional<FileId> StreamId(StandardStream stream) {
  struct stat status {};
  const int fd = stream == StandardStream::kInput ? STDIN_FILENO : STDOUT_FILENO;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileId{status.st_dev, status.st_ino};
}

/// The folder part ("." when there is none) and the final name of `path`.
std::pair<std::string, std::string> SplitFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

/// Where the file named by `path` will be: its folder's identity and its name.
struct Place {
  FileId folder;
  std::string name;
};

std::optional<Place> PlaceOf(const std::string& path) {
  std::error_code ec;
  const std::string target = FollowLinks(path, ec);
  if (ec) return std::nullopt;
  auto [folder, name] = SplitFolder(target);
  // "a/.", "a/.." and "a/" name folders, never a file to be written.
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  const std::optional<FileId> folderId = IdOf(folder);
  if (!folderId) return std::nullopt;
  return Place{*folderId, std::move(name)};
}

}  // namespace

std::string FollowLinks(const std::string& path, std::error_code& ec) {
  ec.clear();
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 255) +
                             1);
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return current;
    std::string next(target.data(), static_cast<std::size_t>(length));
    if (next.empty() || next.front() != '/') {
      // A relative link is relative to the folder of the link.
      const std::size_t slash = current.find_last_of('/');
      if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
    }
    current = std::move(next);
  }
  ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return path;
}

bool NameSameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  const std::optional<FileId> idA = IdOf(a);
  const std::optional<FileId> idB = IdOf(b);
  if (idA && idB) return *idA == *idB;
  const std::optional<Place> placeA = PlaceOf(a);
  const std::optional<Place> placeB = PlaceOf(b);
  return placeA && placeB && placeA->folder == placeB->folder && placeA->name == placeB->name;
}

bool LieInOneFolder(const std::string& a, const std::string& b) {
  const std::optional<FileId> folderA = IdOf(SplitFolder(a).first);
  const std::optional<FileId> folderB = IdOf(SplitFolder(b).first);
  return folderA && folderB && *folderA == *folderB;
}

std::optional<std::string> FileIdentityKey(const std::string& path) {
  const std::optional<FileId> id = IdOf(path);
  if (!id) return std::nullopt;
  return std::to_string(id->device) + ":" + std::to_string(id->inode);
}

bool StreamIsFile(StandardStream stream, const std::string& path) {
  const std::optional<FileId> streamId = StreamId(stream);
  const std::optional<FileId> fileId = IdOf(path);
  return streamId && fileId && *streamId == *fileId;
}

bool StreamsAreOneFile() {
  const std::optional<FileId> input = StreamId(StandardStream::kInput);
  const std::optional<FileId> output = StreamId(StandardStream::kOutput);
  return input && output && *input == *output;
}

}  // namespace velorin
