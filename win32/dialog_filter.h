#pragma once
// The file dialog's filter as the message files write it, "description|
// pattern|description|pattern", in the form GetOpenFileNameW wants: the
// same fields each ended by a NUL, and one NUL more at the end.
#include <string>

namespace velorin {

std::wstring Win32DialogFilter(const std::wstring& barSeparated);

/// The default extension without its leading dot, as lpstrDefExt wants it.
std::wstring Win32DefaultExtension(const std::wstring& extension);

}  // namespace velorin
