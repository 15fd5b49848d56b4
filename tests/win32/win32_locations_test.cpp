// velorin.exe installed in a folder it may not write: the user's folders
// under drive-letter paths as Windows gives them (%APPDATA%\Velorin,
// %LOCALAPPDATA%\Velorin) are made when needed, and a run with the log on
// writes its log there.
#include "win32/win32_locations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/wide_text_win32.h"
#include "startup/user_files.h"
#include "win32/main_window.h"
#include "win32_test_folder.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;

// A drive-letter path under Wine's temporary folder (C:\users\...\Temp).
class InstalledFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = win32_test::OwnTestFolder(L"velorin_installed_利用者");
    fs::remove_all(root_);
    fs::create_directories(root_ / "program");
  }
  void TearDown() override { fs::remove_all(root_); }

  // UTF-8 text of a folder under the root, ending with a backslash.
  std::string Folder(const std::wstring& name) const {
    return Narrow((root_ / name).wstring() + L"\\").value_or("");
  }

  fs::path root_;
};

struct FolderCase {
  const char* name;
  std::wstring file;     ///< under the root
  std::wstring blocker;  ///< a file put in the way first, or empty
  bool made;
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class CreateFolderOfTest : public InstalledFolders,
                           public ::testing::WithParamInterface<FolderCase> {};

TEST_P(CreateFolderOfTest, MakesTheFoldersBelowTheDrive) {
  const FolderCase& c = GetParam();
  if (!c.blocker.empty()) std::ofstream(root_ / c.blocker) << "x";
  const fs::path file = root_ / c.file;
  const std::string problem = CreateFolderOf(Narrow(file.wstring()).value_or(""));
  EXPECT_EQ(problem.empty(), c.made) << problem;
  EXPECT_EQ(fs::is_directory(file.parent_path()), c.made);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CreateFolderOfTest,
    ::testing::Values(FolderCase{"LocalAppData", L"Local\\Velorin\\velorin_log.txt", L"", true},
                      FolderCase{"JapaneseName", L"ローカル\\Velorin\\velorin_log.txt", L"", true},
                      FolderCase{"ForwardSlashes", L"Roaming/Velorin/velorin.ini", L"", true},
                      FolderCase{"FolderThere", L"program\\velorin_log.txt", L"", true},
                      FolderCase{"FileInTheWay", L"Local\\Velorin\\velorin_log.txt", L"Local",
                                 false}),
    [](const auto& info) { return std::string(info.param.name); });

// The installer's note beside the program makes a copy installed, even in
// a folder the user may write (Wine lets everyone write Program Files).
struct CopyCase {
  const char* name;
  enum { kNone, kNote, kFolder } note;
  FileMode mode;
};

void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.name; }

class CopyKindTest : public InstalledFolders, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyKindTest, InstallersNoteKeepsTheUsersFilesOutOfTheProgramFolder) {
  const CopyCase& c = GetParam();
  const fs::path note = root_ / "program" / kInstalledNoteName;
  if (c.note == CopyCase::kNote) std::ofstream(note) << "installed";
  if (c.note == CopyCase::kFolder) fs::create_directory(note);
  const std::string program = Folder(L"program");
  const FileLocations locations = Win32LocationsOf(program);
  EXPECT_EQ(locations.mode, c.mode);
  EXPECT_EQ(locations.dataFolder, program);
  const bool beside = locations.settingsPath == program + kSettingsFileName;
  EXPECT_EQ(beside, c.mode == FileMode::kPortable) << locations.settingsPath;
  EXPECT_EQ(locations.logPath.rfind(program, 0) == 0, c.mode == FileMode::kPortable)
      << locations.logPath;
  if (c.mode == FileMode::kInstalled) {
    EXPECT_NE(locations.settingsPath.find("\\Velorin\\velorin.ini"), std::string::npos);
    EXPECT_NE(locations.logPath.find("\\Velorin\\velorin_log.txt"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Copies, CopyKindTest,
    ::testing::Values(CopyCase{"UnpackedZip", CopyCase::kNone, FileMode::kPortable},
                      CopyCase{"Installed", CopyCase::kNote, FileMode::kInstalled},
                      CopyCase{"FolderOfThatName", CopyCase::kFolder, FileMode::kPortable}),
    [](const auto& info) { return std::string(info.param.name); });

struct MapFilesCase {
  const char* name;
  bool portable;
  std::string roaming;
  std::string local;
  std::string mapSettings;
  std::string tiles;
};

void PrintTo(const MapFilesCase& c, std::ostream* out) { *out << c.name; }

class MapFilesTest : public ::testing::TestWithParam<MapFilesCase> {};

// The map's settings go with velorin.ini; its tiles are this machine's cache.
TEST_P(MapFilesTest, MapSettingsAndTilesWhereWindowsKeepsThem) {
  const MapFilesCase& c = GetParam();
  const FileLocations locations = DecideWin32Locations("C:\\P\\", c.portable, c.roaming, c.local);
  EXPECT_EQ(locations.mapSettingsPath, c.mapSettings);
  EXPECT_EQ(locations.tileCacheFolder, c.tiles);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MapFilesTest,
    ::testing::Values(MapFilesCase{"Portable", true, "C:\\R\\", "C:\\L\\", "C:\\P\\velorin_map.ini",
                                   "C:\\L\\tiles\\"},
                      MapFilesCase{"PortableWithoutALocalFolder", true, "", "",
                                   "C:\\P\\velorin_map.ini", "C:\\P\\cache/tiles/"},
                      MapFilesCase{"Installed", false, "C:\\R\\", "C:\\L\\",
                                   "C:\\R\\velorin_map.ini", "C:\\L\\tiles\\"},
                      MapFilesCase{"InstalledWithoutUserFolders", false, "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstalledFolders, ReadOnlyProgramFolderKeepsSettingsAndLogInTheUserFolders) {
  const std::string program = Folder(L"program");
  std::ofstream(root_ / "program" / "velorin.ini", std::ios::binary) << "1\r\n0\r\n\r\n1\r\n";
  const FileLocations locations =
      DecideWin32Locations(program, false, Folder(L"Roaming\\Velorin"), Folder(L"Local\\Velorin"));
  EXPECT_EQ(ProvideUserSettings(locations), "");
  EXPECT_TRUE(fs::is_regular_file(root_ / "Roaming" / "Velorin" / "velorin.ini"));

  StartupTables tables;
  tables.systemSettings[0] = "1";
  tables.systemSettings[3] = "1";  // the log on
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[0] = "Tahoma";
  tables.messageTable[1] = "9";
  std::vector<std::string> boxes;
  Win32Seams seams;
  seams.messageBox = [&boxes](const std::string&, const std::string& text, MessageButtons,
                              MessageAnswer defaultAnswer, MessageIcon) {
    boxes.push_back(text);
    return defaultAnswer == MessageAnswer::kNo ? MessageAnswer::kYes : defaultAnswer;
  };
  const fs::path input = root_ / L"東京.pot";
  std::ofstream(input, std::ios::binary) << "ORD=POI/tex=A/kei=139'46'1'6/ido=35'40'52'3\r\n";
  {
    Win32MainWindow window(tables, locations, seams);
    window.Presenter().AcceptInputPath(Narrow(input.wstring()).value_or(""));
    SendMessageW(window.ControlHandle(MainControl::kCommand_for_Convert), BM_CLICK, 0, 0);
  }
  ASSERT_EQ(boxes.size(), 2U);
  EXPECT_EQ(boxes[1], "M106\r\nM107 1");
  EXPECT_TRUE(fs::is_regular_file(root_ / "Local" / "Velorin" / "velorin_log.txt"));
  EXPECT_FALSE(fs::exists(root_ / "program" / "velorin_log.txt"));
}

}  // namespace
}  // namespace velorin
