// What Windows reads from both programs' resources: the icon Explorer
// shows, the manifest (long paths, the UTF-8 code page) and the version of
// the file's Properties.
#include <windows.h>
// Then the rest.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

struct ProgramCase {
  const char* name;
  const char* file;
  const char* description;
  bool commonControls;  ///< the window's controls in their Windows look
};

void PrintTo(const ProgramCase& c, std::ostream* out) { *out << c.name; }

std::string ResourceText(HMODULE module, LPCWSTR type) {
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), type);
  if (found == nullptr) return {};
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return std::string(bytes, SizeofResource(module, found));
}

std::string VersionValue(const std::wstring& file, const wchar_t* name) {
  std::string info(GetFileVersionInfoSizeW(file.c_str(), nullptr), '\0');
  if (info.empty() ||
      !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data()))
    return {};
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) return {};
  return Narrow(static_cast<const wchar_t*>(value)).value_or("");
}

class ProgramResourcesTest : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramResourcesTest, CarryTheIconTheManifestAndTheVersion) {
  const ProgramCase& c = GetParam();
  const std::wstring file = Widen(std::string(VELORIN_BIN) + "/" + c.file);
  const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
  const std::string manifest = ResourceText(module, RT_MANIFEST);
  FreeLibrary(module);
  EXPECT_NE(manifest.find(">true</longPathAware>"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos) << manifest;
  EXPECT_EQ(manifest.find("Common-Controls") != std::string::npos, c.commonControls);
  EXPECT_EQ(VersionValue(file, L"ProductVersion"), VELORIN_VERSION);
  EXPECT_EQ(VersionValue(file, L"FileVersion"), VELORIN_VERSION);
  EXPECT_EQ(VersionValue(file, L"FileDescription"), c.description);
  EXPECT_EQ(VersionValue(file, L"OriginalFilename"), c.file);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResourcesTest,
                         ::testing::Values(ProgramCase{"Window", "velorin.exe", "Velorin", true},
                                           ProgramCase{"CommandLine", "velorin-cli.exe",
                                                       "Velorin command line", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
