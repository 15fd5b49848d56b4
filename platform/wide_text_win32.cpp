#include "platform/wide_text_win32.h"

#include <windows.h>

namespace velorin {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::string> Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return std::string();
  const int size = static_cast<int>(utf16.size());
  const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, nullptr,
                                         0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  // The ordinal comparison is the one the file system uses for names.
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace velorin
