// Replacing files as Linux has them: permission bits, symbolic links,
// devices, a file-size limit.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

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

}  // namespace
}  // namespace velorin
