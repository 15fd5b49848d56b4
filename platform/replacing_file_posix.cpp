#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/abort_cleanup.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/replacing_file.h"

namespace velorin {

namespace {

std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

/// Writes every byte to `fd`, through interruptions and short writes.
bool WriteAll(int fd, const char* data, std::size_t size, std::error_code& error) {
  while (size > 0) {
    const ssize_t count = ::write(fd, data, size);
    if (count < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      return false;
    }
    data += count;
    size -= static_cast<std::size_t>(count);
  }
  return true;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

/// The temporary file: hidden, beside the target, unique.
std::string TemporaryTemplate(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // Room for the dot and the suffix within the usual 255-byte name limit.
  if (name.size() > 200) name.resize(200);
  return folder + "." + name + ".velorin-XXXXXX";
}

class TemporaryFileSink : public ReplacingSink {
 public:
  /// `replaces`: an existing file is to be replaced (see Close()).
  TemporaryFileSink(int fd, std::string temporary, std::string target, bool replaces)
      : fd_(fd), temporary_(std::move(temporary)), target_(std::move(target)), replaces_(replaces) {
    RememberPendingTemporaryFile(temporary_);
  }
  ~TemporaryFileSink() override {
    if (!finished_) Discard();
  }
  TemporaryFileSink(const TemporaryFileSink&) = delete;
  TemporaryFileSink& operator=(const TemporaryFileSink&) = delete;

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (fd_ < 0) {
      error_ = std::make_error_code(std::errc::bad_file_descriptor);
      return false;
    }
    return WriteAll(fd_, data, size, error_);
  }

  bool Close() override {
    if (fd_ >= 0) {
      // On the disk before it takes an old file's place: a crash right after
      // the rename must not leave an empty file where the old one was. A new
      // file has nothing to lose, and is spared the wait.
      if (replaces_ && !error_ && ::fsync(fd_) != 0 && errno != EINVAL) error_ = LastError();
      if (::close(fd_) != 0 && !error_) error_ = LastError();
      fd_ = -1;
    }
    return !error_;
  }

  bool Commit() override {
    if (finished_) return !error_;
    if (Close() && ::rename(temporary_.c_str(), target_.c_str()) != 0) error_ = LastError();
    if (error_) {
      Discard();
      return false;
    }
    finished_ = true;
    ForgetPendingTemporaryFile();
    return true;
  }

  void Discard() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!finished_) ::unlink(temporary_.c_str());
    finished_ = true;
    ForgetPendingTemporaryFile();
  }

  std::error_code error() const override { return error_; }

 private:
  int fd_;
  std::string temporary_;
  std::string target_;
  bool replaces_;
  bool finished_ = false;
  std::error_code error_;
};

}  // namespace

std::unique_ptr<ReplacingSink> OpenReplacingFile(const std::string& path, std::error_code& ec) {
  ec.clear();
  const std::string target = FollowLinks(path, ec);
  if (ec) return nullptr;

  errno = 0;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device or a pipe: nothing to keep, so it is written as it is.
    std::unique_ptr<ByteSink> sink = OpenFileForWriting(target, ec);
    return sink ? WriteInPlace(std::move(sink)) : nullptr;
  }
  // A file that may not be written is refused as opening it would be, even
  // though its folder would allow replacing it.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    ec = LastError();
    return nullptr;
  }

  std::string temporary = TemporaryTemplate(target);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    ec = LastError();
    return nullptr;
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
  return std::make_unique<TemporaryFileSink>(fd, std::move(temporary), target, exists);
}

}  // namespace velorin
