#include "win32/win32_locations.h"

// <windows.h> first: the shell's folder calls need its types.
#include <windows.h>
// Then the rest.
#include <shlobj.h>

#include "platform/wide_text_win32.h"
#include "startup/startup.h"
#include "startup/user_files.h"

namespace velorin {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
    folder = Narrow(path).value_or(std::string());
  CoTaskMemFree(path);
  return folder.empty() ? folder : ApplicationFolderFrom(folder) + "Velorin\\";
}

// Whether a file can be made in `folder` (Program Files cannot, for most).
bool FolderIsWritable(const std::string& folder) {
  const std::wstring probe = Widen(folder + ".velorin-write-test");
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

std::string ProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  path.resize(path.find_last_of(L"\\/") + 1);
  return ApplicationFolderFrom(Narrow(path).value_or(std::string()));
}

FileLocations DecideWin32Locations(const std::string& programFolder, bool writable,
                                   const std::string& roamingFolder,
                                   const std::string& localFolder) {
  if (writable) return PortableLocations(programFolder);
  FileLocations locations;
  locations.mode = FileMode::kInstalled;
  locations.dataFolder = programFolder;
  locations.shippedSettingsPath = programFolder + kSettingsFileName;
  locations.settingsPath =
      roamingFolder.empty() ? locations.shippedSettingsPath : roamingFolder + kSettingsFileName;
  if (roamingFolder.empty()) locations.shippedSettingsPath.clear();
  if (!localFolder.empty()) {
    locations.logPath = localFolder + kLogFileName;
    locations.createLogFolder = true;
  }
  return locations;
}

FileLocations Win32FileLocations() {
  const std::string folder = ProgramFolder();
  FileLocations locations =
      DecideWin32Locations(folder, FolderIsWritable(folder), KnownFolder(FOLDERID_RoamingAppData),
                           KnownFolder(FOLDERID_LocalAppData));
  if (!ProvideUserSettings(locations).empty()) locations = WithShippedSettings(locations);
  return locations;
}

}  // namespace velorin
