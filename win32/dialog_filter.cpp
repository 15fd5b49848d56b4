#include "win32/dialog_filter.h"

namespace velorin {

std::wstring Win32DialogFilter(const std::wstring& barSeparated) {
  if (barSeparated.empty()) return std::wstring(2, L'\0');
  std::wstring filter = barSeparated;
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

std::wstring Win32DefaultExtension(const std::wstring& extension) {
  return !extension.empty() && extension.front() == L'.' ? extension.substr(1) : extension;
}

}  // namespace velorin
