#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/interrupt.h"
#include "cli/interrupt_posix.h"
#include "cli/standard_streams.h"

namespace velorin {

namespace {

std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

/// A file descriptor read as it comes. A pipe or terminal is waited on
/// together with the interrupt descriptor, so that Ctrl-C ends a wait for
/// input that may never come.
class DescriptorSource : public ByteSource {
 public:
  DescriptorSource(int fd, bool owned, bool regular, std::uint64_t& count)
      : fd_(fd), owned_(owned), regular_(regular), count_(count) {}
  ~DescriptorSource() override {
    if (owned_) ::close(fd_);
  }
  DescriptorSource(const DescriptorSource&) = delete;
  DescriptorSource& operator=(const DescriptorSource&) = delete;

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    for (;;) {
      if (!regular_ && !WaitUntilReadable()) return -1;
      const ssize_t count = ::read(fd_, buffer, capacity);
      if (count >= 0) {
        count_ += static_cast<std::uint64_t>(count);
        return count;
      }
      if (errno == EAGAIN) continue;  // a non-blocking descriptor: wait again
      if (errno != EINTR) {
        error_ = LastError();
        return -1;
      }
      if (InterruptRequested()) return Cancelled();
    }
  }

  bool HasDataReady() override {
    if (regular_) return true;
    pollfd input{fd_, POLLIN, 0};
    return ::poll(&input, 1, 0) > 0;
  }

  std::error_code error() const override { return error_; }

 private:
  std::ptrdiff_t Cancelled() {
    error_ = std::make_error_code(std::errc::operation_canceled);
    return -1;
  }
  /// Waits until the descriptor has data (or its end); false, with error_
  /// set, when a signal came first or the wait failed.
  bool WaitUntilReadable() {
    for (;;) {
      if (InterruptRequested()) return Cancelled(), false;
      pollfd waits[2] = {{fd_, POLLIN, 0}, {InterruptWakeDescriptor(), POLLIN, 0}};
      const nfds_t count = waits[1].fd >= 0 ? 2 : 1;
      const int ready = ::poll(waits, count, -1);
      if (ready < 0) {
        if (errno == EINTR) continue;
        error_ = LastError();
        return false;
      }
      if (count == 2 && waits[1].revents != 0) return Cancelled(), false;
      if (waits[0].revents != 0) return true;
    }
  }

  int fd_;
  bool owned_;
  bool regular_;
  std::uint64_t& count_;
  std::error_code error_;
};

/// Standard output; Close() only reports, the descriptor stays open.
class StdoutSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    while (size > 0) {
      const ssize_t count = ::write(STDOUT_FILENO, data, size);
      if (count < 0) {
        if (errno == EINTR) continue;
        error_ = LastError();
        return false;
      }
      data += count;
      size -= static_cast<std::size_t>(count);
    }
    return true;
  }
  bool Close() override { return !error_; }
  std::error_code error() const override { return error_; }

 private:
  std::error_code error_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenInterruptibleSource(const std::string& path, std::uint64_t& count,
                                                    std::optional<std::uint64_t>& size,
                                                    std::error_code& ec) {
  const bool standardInput = path.empty();
  int fd = STDIN_FILENO;
  if (!standardInput) {
    errno = 0;
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      ec = LastError();
      return nullptr;
    }
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    ec = LastError();
    if (!standardInput) ::close(fd);
    return nullptr;
  }
  if (S_ISDIR(status.st_mode)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    if (!standardInput) ::close(fd);
    return nullptr;
  }
  const bool regular = S_ISREG(status.st_mode);
  if (regular) size = static_cast<std::uint64_t>(status.st_size);
  ec.clear();
  return std::make_unique<DescriptorSource>(fd, !standardInput, regular, count);
}

std::unique_ptr<ByteSink> StandardOutputSink() { return std::make_unique<StdoutSink>(); }

}  // namespace velorin
