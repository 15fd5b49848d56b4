#include "platform/code_page_win32.h"

#include <windows.h>

namespace velorin {

std::optional<std::wstring> DecodeCodePage(unsigned codePage, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
  return wide;
}

bool AppendInCodePage(unsigned codePage, std::wstring_view wide, std::string& out) {
  const std::size_t base = out.size();
  // At most two bytes for every UTF-16 unit in a double-byte code page.
  out.resize(base + wide.size() * 2);
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), out.data() + base,
                                         static_cast<int>(wide.size() * 2), nullptr, &usedDefault);
  if (length <= 0 || usedDefault) {
    out.resize(base);
    return false;
  }
  out.resize(base + static_cast<std::size_t>(length));
  return true;
}

}  // namespace velorin
