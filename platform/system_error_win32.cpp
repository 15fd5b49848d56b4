#include "platform/system_error_win32.h"

#include <windows.h>

namespace velorin {

std::error_code Win32Error(unsigned long error) {
  switch (error) {
    case ERROR_SUCCESS:
      return {};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return std::make_error_code(std::errc::device_or_resource_busy);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_FILE_TOO_LARGE:
      return std::make_error_code(std::errc::file_too_large);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    case ERROR_DIRECTORY:
      return std::make_error_code(std::errc::not_a_directory);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
      return std::make_error_code(std::errc::invalid_argument);
    case ERROR_FILENAME_EXCED_RANGE:
      return std::make_error_code(std::errc::filename_too_long);
    case ERROR_CANT_RESOLVE_FILENAME:
      return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return std::make_error_code(std::errc::broken_pipe);
    case ERROR_OPERATION_ABORTED:
      return std::make_error_code(std::errc::operation_canceled);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return std::make_error_code(std::errc::not_enough_memory);
    case ERROR_NOT_SUPPORTED:
      return std::make_error_code(std::errc::not_supported);
    default:
      return std::error_code(static_cast<int>(error), std::system_category());
  }
}

std::error_code LastWin32Error() {
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? std::make_error_code(std::errc::io_error) : Win32Error(error);
}

}  // namespace velorin
