#include "platform/file_system.h"

#include "platform/file_identity.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace velorin {

namespace {

namespace fs = std::filesystem;

// Paths arrive as UTF-8; on POSIX systems the bytes are the native name as
// they stand (even when they are not UTF-8), on Windows they are converted.
fs::path NativePath(const std::string& path) {
#ifdef _WIN32
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
#else
  return fs::path(path);
#endif
}

std::FILE* OpenFile(const std::string& path, bool forWriting) {
#ifdef _WIN32
  return _wfopen(NativePath(path).c_str(), forWriting ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

std::error_code LastError() {
  const int error = errno;
  return std::error_code(error != 0 ? error : EIO, std::generic_category());
}

bool IsFolder(std::FILE* file) {
#ifdef _WIN32
  (void)file;
  return false;  // Windows refuses to open a folder as a file in the first place.
#else
  struct stat status {};
  return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

// Both ends read and write in the callers' large chunks, so the stream's own
// buffer would only copy every byte once more.
std::FILE* Unbuffered(std::FILE* file) {
  std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(Unbuffered(file)) {}
  ~FileSource() override { std::fclose(file_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    errno = 0;
    const std::size_t count = std::fread(buffer, 1, capacity, file_);
    if (count == 0 && std::ferror(file_)) {
      error_ = LastError();
      return -1;
    }
    return static_cast<std::ptrdiff_t>(count);
  }

  std::error_code error() const override { return error_; }

 private:
  std::FILE* file_;
  std::error_code error_;
};

class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(Unbuffered(file)) {}
  ~FileSink() override { Close(); }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (file_ == nullptr) {
      error_ = std::make_error_code(std::errc::bad_file_descriptor);
      return false;
    }
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) {
      error_ = LastError();
      return false;
    }
    return true;
  }

  bool Close() override {
    if (file_ != nullptr) {
      errno = 0;
      if (std::fclose(file_) != 0 && !error_) error_ = LastError();
      file_ = nullptr;
    }
    return !error_;
  }

  std::error_code error() const override { return error_; }

 private:
  std::FILE* file_;
  std::error_code error_;
};

}  // namespace

std::unique_ptr<ByteSource> LocalFileSystem::OpenForReading(const std::string& path,
                                                            std::error_code& ec) {
  errno = 0;
  std::FILE* file = OpenFile(path, false);
  if (file == nullptr) {
    ec = LastError();
    return nullptr;
  }
  // fopen accepts a folder on Linux; its first read would fail instead.
  if (IsFolder(file)) {
    std::fclose(file);
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  ec.clear();
  return std::make_unique<FileSource>(file);
}

std::unique_ptr<ByteSink> LocalFileSystem::OpenForWriting(const std::string& path,
                                                          std::error_code& ec) {
  errno = 0;
  std::FILE* file = OpenFile(path, true);
  if (file == nullptr) {
    ec = LastError();
    return nullptr;
  }
  ec.clear();
  return std::make_unique<FileSink>(file);
}

bool LocalFileSystem::IsNormalFile(const std::string& path) {
  // Linux has no hidden or system attribute: any regular file counts, a link
  // counts by what it points to.
  std::error_code ec;
  return fs::is_regular_file(NativePath(path), ec);
}

std::unique_ptr<ReplacingSink> LocalFileSystem::OpenForReplacing(const std::string& path,
                                                                std::error_code& ec) {
  return OpenReplacingFile(path, ec);
}

bool LocalFileSystem::NameSameFile(const std::string& a, const std::string& b) {
  return velorin::NameSameFile(a, b);
}

}  // namespace velorin
