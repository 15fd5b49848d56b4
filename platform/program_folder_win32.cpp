#include <windows.h>

#include "platform/program_folder.h"
#include "platform/wide_text_win32.h"

namespace velorin {

char FolderSeparator() { return '\\'; }

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".\\";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try again with more room
  }
  // The folder keeps its backslash, and a drive root ("C:\") keeps only one.
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return ".\\";
  path.resize(separator + 1);
  return Narrow(path).value_or(".\\");
}

}  // namespace velorin
