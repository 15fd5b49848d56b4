#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velorin {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velorin_replace_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(folder_ / name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  /// Names in the folder, so that a temporary file left behind shows.
  std::vector<std::string> FolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::unique_ptr<ReplacingSink> Open(const std::string& name, std::error_code& ec) {
    return OpenReplacingFile(PathOf(name), ec);
  }

  fs::path folder_;
};



TEST_F(ReplacingFileTest, TargetChangesOnlyAtCommit) {
  Write("out.nvi", "old");
  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  ASSERT_TRUE(sink) << ec.message();
  ASSERT_TRUE(sink->Write("new", 3));
  ASSERT_TRUE(sink->Close());
  EXPECT_EQ(Read("out.nvi"), "old");  // written and closed, not yet in place
  ASSERT_TRUE(sink->Commit());
  EXPECT_EQ(Read("out.nvi"), "new");
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

TEST_F(ReplacingFileTest, DroppedOrDiscardedLeavesNothingBehind) {
  Write("old.nvi", "old");
  for (const bool discard : {false, true}) {
    for (const char* name : {"old.nvi", "new.nvi"}) {
      SCOPED_TRACE(std::string(name) + (discard ? " discarded" : " dropped"));
      std::error_code ec;
      auto sink = Open(name, ec);
      ASSERT_TRUE(sink) << ec.message();
      ASSERT_TRUE(sink->Write("partial", 7));
      if (discard) sink->Discard();
      sink.reset();
      EXPECT_EQ(Read("old.nvi"), "old");
      EXPECT_EQ(FolderNames(), Names({"old.nvi"}));
    }
  }
}

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

TEST_F(ReplacingFileTest, WhatCannotBeWrittenFailsAtOnce) {
  fs::create_directory(folder_ / "folder.nvi");
  fs::create_symlink("loop2", folder_ / "loop1");
  fs::create_symlink("loop1", folder_ / "loop2");
  struct Case {
    const char* name;
    std::errc error;
  };
  const Case cases[] = {
      {"folder.nvi", std::errc::is_a_directory},
      {"missing/out.nvi", std::errc::no_such_file_or_directory},
      {"loop1", std::errc::too_many_symbolic_link_levels},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::error_code ec;
    EXPECT_FALSE(Open(c.name, ec));
    EXPECT_EQ(ec, c.error);
  }
  EXPECT_EQ(FolderNames(), Names({"folder.nvi", "loop1", "loop2"}));
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

}  // namespace
}  // namespace velorin
