#include <windows.h>

#include <cerrno>

#include "platform/native_file.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }

bool HasFolderAttribute(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

/// A file on a disk without any of `excluded` among its attributes.
bool IsFileWithout(const std::string& path, DWORD excluded) {
  if (path.empty()) return false;
  const DWORD attributes = Attributes(path);
  excluded |= FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & excluded) != 0) return false;
  // NUL, CON and the other device names answer like files: ask what they are.
  const HANDLE file =
      CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;  // there, but in use beyond even a look
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return disk;
}

}  // namespace

std::FILE* OpenNativeFile(const std::string& path, bool forWriting, std::error_code& ec) {
  // Windows refuses a folder with "permission denied"; say what it is.
  if (IsFolder(path)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  errno = 0;
  std::FILE* file = _wfopen(Widen(path).c_str(), forWriting ? L"wb" : L"rb");
  if (file == nullptr) {
    ec = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    return nullptr;
  }
  ec.clear();
  return file;
}

bool SeekNativeFile(std::FILE* file, std::uint64_t offset) {
  if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}

bool IsFolder(const std::string& path) { return HasFolderAttribute(Attributes(path)); }

bool IsOrdinaryFile(const std::string& path) {
  return IsFileWithout(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool IsExistingFile(const std::string& path) { return IsFileWithout(path, 0); }

// Named pipes are not opened by path here: every file is read whole.
bool NativeStream::IsStream(std::FILE*) { return false; }

std::ptrdiff_t NativeStream::ReadSome(std::FILE* file, char* buffer, std::size_t capacity) {
  const std::size_t count = std::fread(buffer, 1, capacity, file);
  return count == 0 && std::ferror(file) ? -1 : static_cast<std::ptrdiff_t>(count);
}

bool NativeStream::HasData(std::FILE*) { return true; }

void NativeStream::WaitForData(std::FILE*, std::chrono::milliseconds) {}

}  // namespace velorin
