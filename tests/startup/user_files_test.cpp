// The side effects of the file locations on a real file system: the user's
// settings made from the shipped ones, private new folders, and failures
// (a file where a folder should be, a full disk) that leave nothing behind.
#include "startup/user_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;
using testutil::TempFolder;

const std::string kShipped = "1\r\n0\r\n\r\n0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An installed program in `folder`: data in share/velorin, home in home/.
FileLocations InstalledIn(const TempFolder& folder) {
  fs::create_directories(folder.path() / "share/velorin");
  fs::create_directories(folder.path() / "bin");
  fs::create_directories(folder.path() / "home");
  folder.Write("share/velorin/velorin.ini", kShipped);
  LocationFacts facts;
  facts.programFolder = folder.PathOf("bin") + "/";
  facts.dataFromProgram = "../share/velorin";
  facts.home = folder.PathOf("home");
  return DecideFileLocations(facts);
}

TEST(ProvideUserSettings, FirstStartCopiesTheShippedSettingsIntoPrivateFolders) {
  TempFolder folder;
  const FileLocations locations = InstalledIn(folder);
  EXPECT_EQ(ProvideUserSettings(locations), "");
  EXPECT_EQ(Read(locations.settingsPath), kShipped);
  for (const char* made : {"home/.config", "home/.config/velorin"}) {
    EXPECT_EQ(fs::status(folder.PathOf(made)).permissions(), fs::perms::owner_all) << made;
  }
  EXPECT_FALSE(fs::exists(locations.settingsPath + ".new"));
}

TEST(ProvideUserSettings, KeepsTheUsersOwnSettings) {
  TempFolder folder;
  const FileLocations locations = InstalledIn(folder);
  fs::create_directories(folder.path() / "home/.config/velorin");
  folder.Write("home/.config/velorin/velorin.ini", "0\r\nedited\r\n");
  EXPECT_EQ(ProvideUserSettings(locations), "");
  EXPECT_EQ(Read(locations.settingsPath), "0\r\nedited\r\n");
}

TEST(ProvideUserSettings, PortableCopiesNothing) {
  TempFolder folder;
  EXPECT_EQ(ProvideUserSettings(PortableLocations(folder.Folder())), "");
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(ProvideUserSettings, AFileInPlaceOfTheFolderIsReported) {
  TempFolder folder;
  const FileLocations locations = InstalledIn(folder);
  folder.Write("home/.config", "not a folder");
  const std::string problem = ProvideUserSettings(locations);
  EXPECT_NE(problem.find(folder.PathOf("home/.config")), std::string::npos) << problem;
  EXPECT_FALSE(fs::exists(locations.settingsPath));
}

TEST(ProvideUserSettings, AMissingShippedFileIsReported) {
  TempFolder folder;
  const FileLocations locations = InstalledIn(folder);
  fs::remove(locations.shippedSettingsPath);
  EXPECT_NE(ProvideUserSettings(locations), "");
  EXPECT_FALSE(fs::exists(locations.settingsPath));
  EXPECT_FALSE(fs::exists(locations.settingsPath + ".new"));
}

// A disk that is full after 8 bytes: the copy fails, and neither the user's
// file nor half of it is left behind to fail every later start.
TEST(ProvideUserSettings, AFullDiskLeavesNoHalfFile) {
  TempFolder folder;
  const FileLocations locations = InstalledIn(folder);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string problem = ProvideUserSettings(locations);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_NE(problem, "");
  EXPECT_FALSE(fs::exists(locations.settingsPath));
  EXPECT_FALSE(fs::exists(locations.settingsPath + ".new"));
}

TEST(CreateFolderOf, MakesTheMissingFoldersOnly) {
  TempFolder folder;
  fs::create_directories(folder.path() / "state");
  fs::permissions(folder.path() / "state", fs::perms::owner_all | fs::perms::group_read |
                                               fs::perms::group_exec | fs::perms::others_read |
                                               fs::perms::others_exec);
  EXPECT_EQ(CreateFolderOf(folder.PathOf("state/velorin/log/velorin_log.txt")), "");
  EXPECT_TRUE(fs::is_directory(folder.path() / "state/velorin/log"));
  EXPECT_EQ(fs::status(folder.path() / "state/velorin").permissions(), fs::perms::owner_all);
  EXPECT_NE(fs::status(folder.path() / "state").permissions(), fs::perms::owner_all)
      << "a folder that was there keeps its permissions";
  EXPECT_EQ(CreateFolderOf(folder.PathOf("state/velorin/log/velorin_log.txt")), "") << "again";
}

TEST(GatherLocationFacts, DataBesideTheProgramMeansPortable) {
  TempFolder folder;
  EXPECT_FALSE(GatherLocationFacts(folder.Folder(), "../share/velorin").dataBesideProgram);
  for (const char* name : {"velorin.ini", "velorin_e.msg", "velorin_j.msg"}) {
    TempFolder beside;
    beside.Write(name, "x");
    EXPECT_TRUE(GatherLocationFacts(beside.Folder(), "").dataBesideProgram) << name;
  }
  fs::create_directory(folder.path() / "velorin.ini");
  EXPECT_FALSE(GatherLocationFacts(folder.Folder(), "").dataBesideProgram)
      << "a folder of that name is no settings file";
}

TEST(GatherLocationFacts, ReadsTheXdgVariables) {
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("XDG_STATE_HOME", "/st", 1);
  ::setenv("XDG_CACHE_HOME", "/ca", 1);
  ::setenv("HOME", "/home/someone", 1);
  const LocationFacts facts = GatherLocationFacts("/usr/bin/", "../share/velorin");
  EXPECT_EQ(facts.xdgConfigHome, "/cfg");
  EXPECT_EQ(facts.xdgStateHome, "/st");
  EXPECT_EQ(facts.xdgCacheHome, "/ca");
  EXPECT_EQ(facts.home, "/home/someone");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_STATE_HOME");
  ::unsetenv("XDG_CACHE_HOME");
  ::unsetenv("HOME");
  EXPECT_EQ(GatherLocationFacts("/usr/bin/", "").xdgConfigHome, "");
  EXPECT_NE(GatherLocationFacts("/usr/bin/", "").home, "") << "from the password database";
}

}  // namespace
}  // namespace velorin
