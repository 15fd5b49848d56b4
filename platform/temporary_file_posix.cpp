#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/descriptor_posix.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/temporary_file.h"

namespace velorin {

namespace {

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

/// The folder of `target` ("." when it names none), without a last "/".
std::string FolderOf(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : target.substr(0, slash);
}

/// Removes the file `name` of the folder open as `folder` when it is a
/// temporary file left behind: an ordinary file of this user, untouched
/// since `before`, that no one holds locked (a save under way holds its own).
void RemoveIfLeft(int folder, const char* name, std::time_t before) {
  const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat status {};
  const bool left = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                    status.st_uid == ::geteuid() && status.st_mtime <= before &&
                    ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  // Still the file looked at, not another put under its name meanwhile.
  struct stat now {};
  if (left && ::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
      now.st_dev == status.st_dev && now.st_ino == status.st_ino) {
    ::unlinkat(folder, name, 0);
  }
  ::close(fd);
}

/// The temporary file: hidden, beside the target, unique.
std::string TemporaryTemplate(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // Room for the dot and the suffix within the usual 255-byte name limit.
  if (name.size() > 200) name.resize(200);
  return folder + "." + name + ".velorin-XXXXXX";
}

class PosixTemporaryFile : public TemporaryFile {
 public:
  PosixTemporaryFile(int fd, std::string temporary, std::string target, bool replaces)
      : fd_(fd),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        replaces_(replaces) {}
  ~PosixTemporaryFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixTemporaryFile(const PosixTemporaryFile&) = delete;
  PosixTemporaryFile& operator=(const PosixTemporaryFile&) = delete;

  std::string PathText() const override { return temporary_; }
  bool ReplacesExisting() const override { return replaces_; }

  std::error_code Write(const char* data, std::size_t size) override {
    return WriteDescriptor(fd_, data, size);
  }

  std::error_code Sync() override {
    // EINVAL: a file system that has nothing to sync.
    return ::fsync(fd_) != 0 && errno != EINVAL ? LastErrno() : std::error_code();
  }

  std::error_code Close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) != 0 ? LastErrno() : std::error_code();
  }

  std::error_code MoveIntoPlace() override {
    return ::rename(temporary_.c_str(), target_.c_str()) != 0 ? LastErrno() : std::error_code();
  }

  void Remove() override { ::unlink(temporary_.c_str()); }

 private:
  int fd_;
  std::string temporary_;
  std::string target_;
  bool replaces_;
};

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds age) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* listing = ::fdopendir(fd);
  if (listing == nullptr) {
    ::close(fd);
    return;
  }
  const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
  while (const dirent* entry = ::readdir(listing)) {
    if (IsTemporaryFileName(entry->d_name)) RemoveIfLeft(::dirfd(listing), entry->d_name, before);
  }
  ::closedir(listing);
}

ReplacementTarget OpenReplacementTarget(const std::string& path, bool followLinks,
                                        std::error_code& ec) {
  ec.clear();
  const std::string target = followLinks ? FollowLinks(path, ec) : path;
  if (ec) return {};

  errno = 0;
  struct stat existing {};
  // A link replaced itself keeps nothing of what it pointed to: the new
  // file is made as a new one, and takes the link's place.
  const bool link =
      !followLinks && ::lstat(target.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode);
  const bool exists = !link && ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return {};
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device or a pipe: nothing to keep, so it is written as it is.
    return {nullptr, OpenFileForWriting(target, ec)};
  }
  // A file that may not be written is refused as opening it would be, even
  // though its folder would allow replacing it.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    ec = LastErrno();
    return {};
  }

  RemoveStaleTemporaryFiles(FolderOf(target), kStaleTemporaryAge);
  std::string temporary = TemporaryTemplate(target);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    ec = LastErrno();
    return {};
  }
  // Held while the file is written: no other Velorin takes it for one left
  // behind, however long the save waits for its input. The system lets go
  // of it when the program ends, however it ends.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // A file system without locks: the file's age alone tells then.
  }
  if (exists) {
    // Owner first: changing it may clear the set-id bits that the mode restores.
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Not allowed for other users' files; the file becomes the writer's.
    }
    ::fchmod(fd, existing.st_mode & 07777);
  } else {
    ::fchmod(fd, 0666 & ~CurrentUmask());
  }
  return {std::make_unique<PosixTemporaryFile>(fd, std::move(temporary), target, exists || link),
          nullptr};
}

}  // namespace velorin
