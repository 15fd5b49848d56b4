// Replacing files as Linux has them: permission bits, symbolic links,
// devices, a file-size limit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>

#include "platform/temporary_file.h"
#include "replacing_file_fixture.h"

namespace velorin {
namespace {

TEST_F(ReplacingFileTest, ReplacedFileKeepsItsPermissionBits) {
  for (const mode_t mode : {0600, 0640, 0644, 0755}) {
    SCOPED_TRACE(mode);
    Write("out.nvi", "old");
    ASSERT_EQ(::chmod(PathOf("out.nvi").c_str(), mode), 0);
    std::error_code ec;
    auto sink = Open("out.nvi", ec);
    ASSERT_TRUE(sink && sink->Write("new", 3) && sink->Commit()) << ec.message();
    struct stat status {};
    ASSERT_EQ(::stat(PathOf("out.nvi").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, mode);
  }
}

TEST_F(ReplacingFileTest, NewFileGetsTheUsualModeLessTheUmask) {
  const mode_t old = ::umask(027);
  std::error_code ec;
  auto sink = Open("new.nvi", ec);
  const bool committed = sink && sink->Commit();
  ::umask(old);
  ASSERT_TRUE(committed) << ec.message();
  struct stat status {};
  ASSERT_EQ(::stat(PathOf("new.nvi").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(ReplacingFileTest, LinkStaysALinkAndItsTargetIsReplaced) {
  fs::create_directory(folder_ / "data");
  Write("data/real.nvi", "old");
  fs::create_symlink("data/real.nvi", folder_ / "link.nvi");
  fs::create_symlink("data/fresh.nvi", folder_ / "dangling.nvi");
  for (const char* name : {"link.nvi", "dangling.nvi"}) {
    SCOPED_TRACE(name);
    std::error_code ec;
    auto sink = Open(name, ec);
    ASSERT_TRUE(sink && sink->Write("new", 3) && sink->Commit()) << ec.message();
    EXPECT_TRUE(fs::is_symlink(folder_ / name));
    EXPECT_EQ(Read(name), "new");
  }
  EXPECT_EQ(Read("data/real.nvi"), "new");
  EXPECT_EQ(Read("data/fresh.nvi"), "new");
  EXPECT_EQ(FolderNames(), Names({"dangling.nvi", "data", "link.nvi"}));
}

TEST_F(ReplacingFileTest, ReadOnlyFileOrFolderIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write anything";
  Write("locked.nvi", "old");
  ::chmod(PathOf("locked.nvi").c_str(), 0444);
  fs::create_directory(folder_ / "closed");
  Write("closed/out.nvi", "old");
  ::chmod((folder_ / "closed").c_str(), 0555);
  for (const char* name : {"locked.nvi", "closed/out.nvi"}) {
    SCOPED_TRACE(name);
    std::error_code ec;
    EXPECT_FALSE(Open(name, ec));
    EXPECT_EQ(ec, std::errc::permission_denied);
    EXPECT_EQ(Read(name), "old");
  }
  ::chmod((folder_ / "closed").c_str(), 0755);
}

TEST_F(ReplacingFileTest, DeviceIsWrittenDirectly) {
  std::error_code ec;
  auto sink = OpenReplacingFile("/dev/null", ec);
  ASSERT_TRUE(sink) << ec.message();
  EXPECT_TRUE(sink->Write("x", 1));
  EXPECT_TRUE(sink->Commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A real fault: the file-size limit (SIGXFSZ ignored, so write() fails).
TEST_F(ReplacingFileTest, FileSizeLimitFailsAndKeepsTheOldFile) {
  Write("out.nvi", "old");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  const std::string block(8192, 'x');
  const bool wrote = sink && sink->Write(block.data(), block.size());
  const std::error_code writeError = sink ? sink->error() : ec;
  const bool committed = sink && sink->Commit();
  sink.reset();

  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(writeError, std::errc::file_too_large);
  EXPECT_FALSE(committed);
  EXPECT_EQ(Read("out.nvi"), "old");
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

TEST_F(ReplacingFileTest, LinkLoopFailsAtOnce) {
  fs::create_symlink("loop2", folder_ / "loop1");
  fs::create_symlink("loop1", folder_ / "loop2");
  std::error_code ec;
  EXPECT_FALSE(Open("loop1", ec));
  EXPECT_EQ(ec, std::errc::too_many_symbolic_link_levels);
  EXPECT_EQ(FolderNames(), Names({"loop1", "loop2"}));
}

struct LinkCase {
  const char* name;
  const char* link;  ///< where the settings file links to, from its folder
  bool followed;     ///< the file linked to is replaced (else the link itself)
};

class WithinFolderTest : public ReplacingFileTest,
                         public ::testing::WithParamInterface<LinkCase> {};

// A file written unasked (a settings file) is replaced itself: a link to a
// file of its own folder is followed, a link to anywhere else is replaced.
TEST_P(WithinFolderTest, ALinkOutOfTheFolderIsReplacedNotFollowed) {
  const LinkCase& c = GetParam();
  fs::create_directory(folder_ / "settings");
  fs::create_directory(folder_ / "elsewhere");
  Write("elsewhere/passwd", "root:x:0:0\n");
  Write("settings/mine.ini", "mine\n");
  fs::create_symlink(c.link, folder_ / "settings/velorin.ini");
  std::error_code ec;
  auto sink = OpenReplacingFile(PathOf("settings/velorin.ini"), ec, LinkedFile::kWithinFolder);
  ASSERT_TRUE(sink && sink->Write("new\n", 4) && sink->Commit()) << ec.message();
  EXPECT_EQ(Read("settings/velorin.ini"), "new\n");
  EXPECT_EQ(fs::is_symlink(folder_ / "settings/velorin.ini"), c.followed);
  EXPECT_EQ(Read("elsewhere/passwd"), "root:x:0:0\n");
  EXPECT_EQ(Read("settings/mine.ini"), c.followed ? "new\n" : "mine\n");
}

INSTANTIATE_TEST_SUITE_P(
    Links, WithinFolderTest,
    ::testing::Values(LinkCase{"InTheFolder", "mine.ini", true},
                      LinkCase{"InTheFolderByAPath", "../settings/mine.ini", true},
                      LinkCase{"OutOfTheFolder", "../elsewhere/passwd", false},
                      LinkCase{"ToNothingElsewhere", "../elsewhere/none", false}),
    [](const auto& info) { return std::string(info.param.name); });

/// What lies in the folder beside the file a save replaces.
enum class Lying { kFile, kLink, kFolder, kLockedFile };

struct LeftCase {
  const char* name;
  std::string file;
  Lying lying;
  int minutesOld;
  bool removed;
};

class LeftTemporaryFileTest : public ReplacingFileTest,
                              public ::testing::WithParamInterface<LeftCase> {};

// A save into a folder removes the temporary files a killed Velorin left
// there, and nothing else: only its own names, only old ones, only files
// no save under way holds.
TEST_P(LeftTemporaryFileTest, NextSaveRemovesOnlyWhatWasLeftBehind) {
  const LeftCase& c = GetParam();
  Write("elsewhere.gpx", "keep");
  int held = -1;
  switch (c.lying) {
    case Lying::kFile:
      Write(c.file, std::string(1000, 'x'));
      break;
    case Lying::kLockedFile:
      Write(c.file, "being written");
      held = ::open(PathOf(c.file).c_str(), O_RDONLY | O_CLOEXEC);
      ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
      break;
    case Lying::kLink:
      fs::create_symlink("elsewhere.gpx", folder_ / c.file);
      break;
    case Lying::kFolder:
      fs::create_directory(folder_ / c.file);
      break;
  }
  const auto then = fs::file_time_type::clock::now() - std::chrono::minutes(c.minutesOld);
  if (c.lying != Lying::kLink) fs::last_write_time(folder_ / c.file, then);
  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  ASSERT_TRUE(sink && sink->Write("new", 3) && sink->Commit()) << ec.message();
  if (held >= 0) ::close(held);
  EXPECT_EQ(fs::exists(fs::symlink_status(folder_ / c.file)), !c.removed);
  EXPECT_EQ(Read("elsewhere.gpx"), "keep");
  EXPECT_EQ(Read("out.nvi"), "new");
}

INSTANTIATE_TEST_SUITE_P(
    Names, LeftTemporaryFileTest,
    ::testing::Values(
        LeftCase{"LeftByAKill", ".big.gpx.velorin-QlENac", Lying::kFile, 60, true},
        LeftCase{"ForAnotherTarget", ".out.nvi.velorin-a1B2c3", Lying::kFile, 11, true},
        LeftCase{"Recent", ".big.gpx.velorin-QlENac", Lying::kFile, 1, false},
        LeftCase{"HeldByASaveUnderWay", ".big.gpx.velorin-QlENac", Lying::kLockedFile, 60, false},
        LeftCase{"ALink", ".big.gpx.velorin-QlENac", Lying::kLink, 60, false},
        LeftCase{"AFolder", ".big.gpx.velorin-QlENac", Lying::kFolder, 60, false},
        LeftCase{"SuffixTooShort", ".big.gpx.velorin-QlENa", Lying::kFile, 60, false},
        LeftCase{"NotHidden", "big.gpx.velorin-QlENac", Lying::kFile, 60, false},
        LeftCase{"AnotherProgramsName", ".big.gpx.tmp-QlENac", Lying::kFile, 60, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
