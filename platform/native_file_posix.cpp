#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "platform/descriptor_posix.h"
#include "platform/native_file.h"

namespace velorin {

std::FILE* OpenNativeFile(const std::string& path, bool forWriting, std::error_code& ec) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), forWriting ? "wb" : "rb");
  if (file == nullptr) {
    ec = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    return nullptr;
  }
  // fopen accepts a folder for reading on Linux; its first read would fail.
  struct stat status {};
  if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
    std::fclose(file);
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  ec.clear();
  return file;
}

bool SeekNativeFile(std::FILE* file, std::uint64_t offset) {
  if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool IsOrdinaryFile(const std::string& path) {
  // Linux has no hidden or system attribute: any regular file counts, a link
  // counts by what it points to.
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool IsExistingFile(const std::string& path) { return IsOrdinaryFile(path); }

bool NativeStream::IsStream(std::FILE* file) {
  struct stat status {};
  return fstat(fileno(file), &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode));
}

std::ptrdiff_t NativeStream::ReadSome(std::FILE* file, char* buffer, std::size_t capacity) {
  return ReadDescriptor(fileno(file), buffer, capacity);
}

bool NativeStream::HasData(std::FILE* file) {
  return WaitForInput(fileno(file), -1, 0) == InputWait::kReady;
}

void NativeStream::WaitForData(std::FILE* file, std::chrono::milliseconds limit) {
  WaitForInput(fileno(file), -1, static_cast<int>(limit.count()));
}

}  // namespace velorin
