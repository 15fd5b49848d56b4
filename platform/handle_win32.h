#pragma once
// Windows only: reading and writing a handle in the pieces that ReadFile and
// WriteFile take, through short writes. Every read and write of a handle in
// the program goes through these.
#include <windows.h>

#include <cstddef>
#include <system_error>

namespace velorin {

/// One ReadFile of up to `capacity` bytes: the count read (0 at the end),
/// or -1 with `error` set.
std::ptrdiff_t ReadHandle(HANDLE handle, char* buffer, std::size_t capacity,
                          std::error_code& error);

/// Writes all `size` bytes; a write that takes none fails as an
/// input/output error (a file-size limit under Wine cuts a write short
/// before it fails).
std::error_code WriteHandle(HANDLE handle, const char* data, std::size_t size);

/// True for a console's handle (which shows characters, not bytes).
bool IsConsoleHandle(HANDLE handle);

}  // namespace velorin
