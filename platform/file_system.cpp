#include "platform/file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/file_identity.h"
#include "platform/folder_files.h"
#include "platform/native_file.h"

namespace velorin {

namespace {

std::error_code LastError() {
  const int error = errno;
  return std::error_code(error != 0 ? error : EIO, std::generic_category());
}

// Both ends read and write in the callers' large chunks, so the stream's own
// buffer would only copy every byte once more.
std::FILE* Unbuffered(std::FILE* file) {
  std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file)
      : file_(Unbuffered(file)), stream_(NativeStream::IsStream(file)) {}
  ~FileSource() override { std::fclose(file_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    errno = 0;
    if (stream_) {
      // One read: fread would wait until the whole buffer is full.
      const std::ptrdiff_t count = NativeStream::ReadSome(file_, buffer, capacity);
      if (count < 0) error_ = LastError();
      return count;
    }
    const std::size_t count = std::fread(buffer, 1, capacity, file_);
    if (count == 0 && std::ferror(file_)) {
      error_ = LastError();
      return -1;
    }
    return static_cast<std::ptrdiff_t>(count);
  }

  std::error_code error() const override { return error_; }
  bool HasDataReady() override { return !stream_ || NativeStream::HasData(file_); }
  bool WaitForData(std::chrono::milliseconds limit) override {
    if (!stream_) return false;
    NativeStream::WaitForData(file_, limit);
    return true;
  }
  bool Seek(std::uint64_t offset) override {
    return !stream_ && !error_ && SeekNativeFile(file_, offset);
  }

 private:
  std::FILE* file_;
  bool stream_;
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
  std::FILE* file = OpenNativeFile(path, false, ec);
  if (file == nullptr) return nullptr;
  return std::make_unique<FileSource>(file);
}

std::unique_ptr<ByteSink> OpenFileForWriting(const std::string& path, std::error_code& ec) {
  std::FILE* file = OpenNativeFile(path, true, ec);
  if (file == nullptr) return nullptr;
  return std::make_unique<FileSink>(file);
}

std::unique_ptr<ByteSink> LocalFileSystem::OpenForWriting(const std::string& path,
                                                          std::error_code& ec) {
  return OpenFileForWriting(path, ec);
}

bool LocalFileSystem::IsNormalFile(const std::string& path) { return IsOrdinaryFile(path); }

std::unique_ptr<ReplacingSink> LocalFileSystem::OpenForReplacing(const std::string& path,
                                                                 std::error_code& ec) {
  return OpenReplacingFile(path, ec);
}

std::unique_ptr<ReplacingSink> LocalFileSystem::OpenForReplacingInFolder(const std::string& path,
                                                                         std::error_code& ec) {
  return OpenReplacingFile(path, ec, LinkedFile::kWithinFolder);
}

bool LocalFileSystem::NameSameFile(const std::string& a, const std::string& b) {
  return velorin::NameSameFile(a, b);
}

std::optional<std::string> LocalFileSystem::IdentityOf(const std::string& path) {
  return FileIdentityKey(path);
}

std::optional<std::uint64_t> LocalFileSystem::FileSize(const std::string& path) {
  std::error_code error;
  // The path is UTF-8 on every system.
  const std::uint64_t size =
      std::filesystem::file_size(std::u8string(path.begin(), path.end()), error);
  if (error) return std::nullopt;
  return size;
}

std::optional<std::string> LocalFileSystem::ReadHead(const std::string& path, std::size_t count) {
  if (!IsOrdinaryFile(path)) return std::nullopt;
  std::error_code ignored;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenNativeFile(path, false, ignored),
                                                             &std::fclose);
  if (!file) return std::nullopt;
  std::string head(count, '\0');
  // What came before a read error is still the file's beginning.
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  return head;
}

bool LocalFileSystem::IsFolder(const std::string& path) { return velorin::IsFolder(path); }

std::optional<std::vector<std::string>> LocalFileSystem::FolderEntries(const std::string& path) {
  // The path and the names are UTF-8 on every system.
  std::error_code error;
  std::filesystem::directory_iterator entry(std::u8string(path.begin(), path.end()), error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::u8string name = entry->path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  if (error) return std::nullopt;
  return names;
}

std::optional<FileStamp> LocalFileSystem::StampOf(const std::string& path) {
  const std::u8string native(path.begin(), path.end());
  std::error_code error;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(native, error);
  if (error) return std::nullopt;
  stamp.written = std::filesystem::last_write_time(native, error).time_since_epoch().count();
  if (error) return std::nullopt;
  std::optional<std::string> identity = FileIdentityKey(path);
  if (!identity) return std::nullopt;
  stamp.identity = std::move(*identity);
  return stamp;
}

bool LocalFileSystem::MakeFolders(const std::string& folder) { return MakeNativeFolders(folder); }

bool LocalFileSystem::RemoveFile(const std::string& path) { return RemoveNativeFile(path); }

std::vector<FolderFile> LocalFileSystem::FilesIn(const std::string& folder) {
  return NativeFilesIn(folder);
}

}  // namespace velorin
