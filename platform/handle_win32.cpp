#include "platform/handle_win32.h"

#include <algorithm>

#include "platform/system_error_win32.h"

namespace velorin {

namespace {

/// The most that one call is given: a DWORD holds it with room to spare.
constexpr std::size_t kLargestPiece = std::size_t{1} << 30;

}  // namespace

std::ptrdiff_t ReadHandle(HANDLE handle, char* buffer, std::size_t capacity,
                          std::error_code& error) {
  DWORD count = 0;
  const auto wanted = static_cast<DWORD>(std::min(capacity, kLargestPiece));
  if (!ReadFile(handle, buffer, wanted, &count, nullptr)) {
    error = LastWin32Error();
    return -1;
  }
  return static_cast<std::ptrdiff_t>(count);
}

std::error_code WriteHandle(HANDLE handle, const char* data, std::size_t size) {
  while (size > 0) {
    const auto piece = static_cast<DWORD>(std::min(size, kLargestPiece));
    DWORD written = 0;
    if (!WriteFile(handle, data, piece, &written, nullptr)) return LastWin32Error();
    if (written == 0) return std::make_error_code(std::errc::io_error);
    data += written;
    size -= written;
  }
  return {};
}

bool IsConsoleHandle(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != FALSE;
}

}  // namespace velorin
