#include "platform/user_folders_win32.h"

// <windows.h> first: the shell's folder calls need its types.
#include <windows.h>
// Then the rest.
#include <shlobj.h>

#include "platform/program_folder.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

std::string VelorinFolderIn(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
    folder = Narrow(path).value_or(std::string());
  CoTaskMemFree(path);
  return folder.empty() ? folder : FolderWithSeparator(folder) + "Velorin\\";
}

}  // namespace

std::string RoamingVelorinFolder() { return VelorinFolderIn(FOLDERID_RoamingAppData); }

std::string LocalVelorinFolder() { return VelorinFolderIn(FOLDERID_LocalAppData); }

bool FolderTakesNewFiles(const std::string& folder) {
  const std::wstring probe = Widen(folder + ".velorin-write-test");
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace velorin
