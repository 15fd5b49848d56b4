#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

ReplacementTarget OpenReplacementTarget(const std::string& path, std::error_code& ec) {
  ec.clear();
  const std::string target = FollowLinks(path, ec);
  if (ec) return {};

  errno = 0;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
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

  std::string temporary = TemporaryTemplate(target);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    ec = LastErrno();
    return {};
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
  return {std::make_unique<PosixTemporaryFile>(fd, std::move(temporary), target, exists), nullptr};
}

}  // namespace velorin
