#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/descriptor_posix.h"
#include "platform/interrupt.h"
#include "platform/interrupt_posix.h"
#include "platform/standard_streams.h"

namespace velorin {

namespace {

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
      const std::ptrdiff_t count = ReadDescriptor(fd_, buffer, capacity);
      if (count >= 0) {
        count_ += static_cast<std::uint64_t>(count);
        return count;
      }
      if (errno == EAGAIN) continue;  // a non-blocking descriptor: wait again
      error_ = LastErrno();
      return -1;
    }
  }

  bool HasDataReady() override { return regular_ || WaitForInput(fd_, -1, 0) == InputWait::kReady; }
  bool Seek(std::uint64_t offset) override {
    if (!regular_ || error_ || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
  }

  std::error_code error() const override { return error_; }

 private:
  bool Cancelled() {
    error_ = std::make_error_code(std::errc::operation_canceled);
    return false;
  }
  /// Waits until the descriptor has data (or its end); false, with error_
  /// set, when a signal came first or the wait failed.
  bool WaitUntilReadable() {
    for (;;) {
      if (InterruptRequested()) return Cancelled();
      switch (WaitForInput(fd_, InterruptWakeDescriptor(), -1)) {
        case InputWait::kReady:
          return true;
        case InputWait::kWoken:
          return Cancelled();
        case InputWait::kFailed:
          error_ = LastErrno();
          return false;
        case InputWait::kSignal:
        case InputWait::kTimedOut:
          break;
      }
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
    if (!error_) error_ = WriteDescriptor(STDOUT_FILENO, data, size);
    return !error_;
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
      ec = LastErrno();
      return nullptr;
    }
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    ec = LastErrno();
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

std::unique_ptr<ByteSink> StandardOutputBytes() { return std::make_unique<StdoutSink>(); }

bool StandardOutputIsConsole() { return false; }

bool WriteConsoleCharacters(std::string_view text, std::error_code& error) {
  error = WriteDescriptor(STDOUT_FILENO, text.data(), text.size());
  return !error;
}

void UseBinaryStandardStreams() {}

}  // namespace velorin
