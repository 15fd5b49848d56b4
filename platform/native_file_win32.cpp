#include <windows.h>

#include <cerrno>

#include "platform/native_file.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::FILE* OpenNativeFile(const std::string& path, bool forWriting, std::error_code& ec) {
  // Windows refuses a folder with "permission denied"; say what it is.
  if (IsFolder(Attributes(path))) {
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

bool IsOrdinaryFile(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = Attributes(path);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotOrdinary) != 0) return false;
  // NUL, CON and the other device names answer like files: ask what they are.
  const HANDLE file = CreateFileW(Widen(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;  // there, but in use beyond even a look
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return disk;
}

}  // namespace velorin
