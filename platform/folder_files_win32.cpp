// <windows.h> first: the declarations below need its types.
#include <windows.h>

#include "platform/folder_files.h"
#include "platform/program_folder.h"
#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

// Seconds since 1970 of a file time (100 ns steps since 1601).
std::int64_t UnixSeconds(const FILETIME& time) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

bool IsFolderPath(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool MakeNativeFolders(const std::string& folder) {
  std::wstring path = Widen(folder);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty() || IsFolderPath(path)) return !path.empty();
  // The folder above first, then this one.
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator != std::wstring::npos && separator > 0 && path[separator - 1] != L':')
    MakeNativeFolders(Narrow(path.substr(0, separator)).value_or(std::string()));
  return CreateDirectoryW(path.c_str(), nullptr) || IsFolderPath(path);
}

bool RemoveNativeFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::vector<FolderFile> NativeFilesIn(const std::string& folder) {
  std::vector<FolderFile> files;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(Widen(FolderWithSeparator(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
      continue;
    const std::optional<std::string> name = Narrow(found.cFileName);
    if (!name) continue;
    files.push_back({*name,
                     (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                     UnixSeconds(found.ftLastWriteTime)});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

}  // namespace velorin
