#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <cerrno>

#include "platform/anonymous_file.h"

namespace velorin {

std::FILE* CreateDeletedOnClose(const std::filesystem::path& path) {
  // CREATE_NEW: never over a file that is there (fopen's "w+" would empty
  // it, and delete it on close). Temporary: kept in memory while there is
  // room; deleted when closed, since an open file cannot lose its name on
  // Windows.
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "w+b");
  if (file == nullptr) _close(descriptor);
  return file;
}

}  // namespace velorin
