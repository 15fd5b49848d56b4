#pragma once
// Windows only: a system error code as the portable error condition that the
// rest of Velorin tests for and prints (no_such_file_or_directory, ...), so
// that both systems report a failure in the same words.
#include <system_error>

namespace velorin {

/// The error code for a GetLastError() value; one without a portable
/// counterpart keeps the system's own code and text.
std::error_code Win32Error(unsigned long error);

/// Win32Error(GetLastError()), never "no error": an unknown failure is an
/// input/output error.
std::error_code LastWin32Error();

}  // namespace velorin
