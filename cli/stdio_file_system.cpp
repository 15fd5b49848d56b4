#include "cli/stdio_file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velorin {

namespace {

std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

std::optional<std::uint64_t> RegularFileSize(const struct stat& status) {
  if (!S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

/// Standard input, read as it comes; never closed here.
class StdinSource : public ByteSource {
 public:
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    for (;;) {
      const ssize_t count = ::read(STDIN_FILENO, buffer, capacity);
      if (count >= 0) return count;
      if (errno != EINTR) {
        error_ = LastError();
        return -1;
      }
    }
  }
  std::error_code error() const override { return error_; }

 private:
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

/// Passes reads through and counts the bytes.
class CountingSource : public ByteSource {
 public:
  CountingSource(std::unique_ptr<ByteSource> inner, std::uint64_t& count)
      : inner_(std::move(inner)), count_(count) {}
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    const std::ptrdiff_t count = inner_->Read(buffer, capacity);
    if (count > 0) count_ += static_cast<std::uint64_t>(count);
    return count;
  }
  std::error_code error() const override { return inner_->error(); }

 private:
  std::unique_ptr<ByteSource> inner_;
  std::uint64_t& count_;
};

bool IsStream(const std::string& path) {
  return path == StdioFileSystem::kStandardInput || path == StdioFileSystem::kStandardOutput;
}

}  // namespace

std::unique_ptr<ByteSource> StdioFileSystem::OpenForReading(const std::string& path,
                                                            std::error_code& ec) {
  bytesRead_ = 0;
  inputSize_.reset();
  std::unique_ptr<ByteSource> source;
  struct stat status {};
  if (path == kStandardInput) {
    ec.clear();
    source = std::make_unique<StdinSource>();
    if (::fstat(STDIN_FILENO, &status) == 0) inputSize_ = RegularFileSize(status);
  } else {
    source = LocalFileSystem::OpenForReading(path, ec);
    if (!source) return nullptr;
    if (::stat(path.c_str(), &status) == 0) inputSize_ = RegularFileSize(status);
  }
  return std::make_unique<CountingSource>(std::move(source), bytesRead_);
}

std::unique_ptr<ByteSink> StdioFileSystem::OpenForWriting(const std::string& path,
                                                          std::error_code& ec) {
  if (path == kStandardOutput) {
    ec.clear();
    return std::make_unique<StdoutSink>();
  }
  return LocalFileSystem::OpenForWriting(path, ec);
}

bool StdioFileSystem::IsNormalFile(const std::string& path) {
  // Standard output is written whatever it is connected to.
  if (IsStream(path)) return false;
  return LocalFileSystem::IsNormalFile(path);
}

bool StdioFileSystem::AreSameExistingFile(const std::string& a, const std::string& b) {
  if (a == kStandardOutput || b == kStandardOutput) return false;
  if (a == kStandardInput || b == kStandardInput) {
    // "convert - x.nvi < x.nvi" would empty the file that it is reading.
    const std::string& other = a == kStandardInput ? b : a;
    if (other == kStandardInput) return false;
    struct stat input {};
    struct stat file {};
    return ::fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode) &&
           ::stat(other.c_str(), &file) == 0 && input.st_dev == file.st_dev &&
           input.st_ino == file.st_ino;
  }
  return LocalFileSystem::AreSameExistingFile(a, b);
}

}  // namespace velorin
