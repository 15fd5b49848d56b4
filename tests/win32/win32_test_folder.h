#pragma once
// A folder of one test process under the temporary folder: ctest runs the
// tests of one program in processes side by side, and a folder they shared
// would be emptied by one while another writes it.
// <windows.h> first: GetCurrentProcessId.
#include <windows.h>
// Then the rest.
#include <filesystem>
#include <string>

namespace velorin::win32_test {

/// `name` under the temporary folder, followed by this process's number.
inline std::filesystem::path OwnTestFolder(const std::wstring& name) {
  return std::filesystem::temp_directory_path() /
         (name + L"_" + std::to_wstring(GetCurrentProcessId()));
}

}  // namespace velorin::win32_test
