// The local disk as Linux has it: names are bytes and compare exactly,
// symbolic links, no hidden attribute.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "file_system_fixture.h"

namespace velorin {
namespace {

TEST_F(FileSystemTest, NameWithNonAsciiBytes) {
  // Linux names are bytes; a UTF-8 name and a Shift-JIS name both work.
  for (const std::string name : {"\xe6\x9d\xb1\xe4\xba\xac.pot", "\x93\x8c\x8b\x9e.pot"}) {
    std::error_code ec;
    auto sink = files_.OpenForWriting(PathOf(name), ec);
    ASSERT_NE(sink, nullptr) << ec.message();
    EXPECT_TRUE(sink->Close());
    EXPECT_TRUE(files_.IsNormalFile(PathOf(name)));
    EXPECT_NE(files_.OpenForReading(PathOf(name), ec), nullptr);
  }
}

TEST_F(FileSystemTest, IsNormalFileOnlyForRegularFiles) {
  WriteFile("a.nvi", "x");
  WriteFile(".hidden.nvi", "x");
  fs::create_directory(folder_ / "folder.nvi");
  fs::create_symlink(folder_ / "a.nvi", folder_ / "link.nvi");
  fs::create_symlink(folder_ / "gone.nvi", folder_ / "dangling.nvi");
  EXPECT_TRUE(files_.IsNormalFile(PathOf("a.nvi")));
  EXPECT_TRUE(files_.IsNormalFile(PathOf(".hidden.nvi")));  // no hidden attribute on Linux
  EXPECT_TRUE(files_.IsNormalFile(PathOf("link.nvi")));
  EXPECT_FALSE(files_.IsNormalFile(PathOf("folder.nvi")));
  EXPECT_FALSE(files_.IsNormalFile(PathOf("dangling.nvi")));
  EXPECT_FALSE(files_.IsNormalFile(PathOf("missing.nvi")));
  EXPECT_FALSE(files_.IsNormalFile(""));
  EXPECT_FALSE(files_.IsNormalFile("/dev/null"));
}

// A pipe or device is never looked into or measured: opening a pipe with no
// writer would wait for ever, and what was read of it would be lost.
TEST_F(FileSystemTest, PipesAndDevicesHaveNoHeadNoSizeAndAreNoFolders) {
  ASSERT_EQ(::mkfifo(PathOf("pipe.gpx").c_str(), 0600), 0);
  for (const std::string& path : {PathOf("pipe.gpx"), std::string("/dev/null")}) {
    EXPECT_FALSE(files_.ReadHead(path, 4).has_value()) << path;
    EXPECT_FALSE(files_.FileSize(path).has_value()) << path;
    EXPECT_FALSE(files_.IsFolder(path)) << path;
  }
}

// Two paths name one file when they do now, or will once the file is
// written: a file not yet there clashes with another name for its place.
TEST_F(FileSystemTest, NameSameFile) {
  WriteFile("a.pot", "x");
  WriteFile("b.pot", "x");
  WriteFile("Case.pot", "x");
  WriteFile("CASE.POT", "y");
  fs::create_directory(folder_ / "sub");
  fs::create_symlink(folder_ / "a.pot", folder_ / "link.pot");
  fs::create_hard_link(folder_ / "a.pot", folder_ / "hard.pot");
  fs::create_symlink("new.nvi", folder_ / "dangling.nvi");
  fs::create_symlink(folder_ / "sub" / "far.nvi", folder_ / "far-link.nvi");
  fs::create_symlink("loop2", folder_ / "loop1");
  fs::create_symlink("loop1", folder_ / "loop2");

  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"a.pot", "a.pot", true},
      {"a.pot", "link.pot", true},
      {"a.pot", "hard.pot", true},
      {"a.pot", "sub/../a.pot", true},
      {"a.pot", "b.pot", false},
      {"a.pot", "missing.pot", false},
      {"Case.pot", "CASE.POT", false},  // two files on a case-sensitive disk
      {"new.nvi", "NEW.NVI", false},
      {"new.nvi", "new.nvi", true},
      {"new.nvi", "sub/../new.nvi", true},  // neither exists yet
      {"new.nvi", "./sub/../new.nvi", true},
      {"new.nvi", "dangling.nvi", true},  // the link's target is written
      {"sub/far.nvi", "far-link.nvi", true},
      {"sub/far.nvi", "far.nvi", false},
      {"new.nvi", "sub/new.nvi", false},
      {"loop1", "new.nvi", false},
      {"missing/x.nvi", "missing/x.nvi", true},
      {"missing/x.nvi", "missing/y.nvi", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(files_.NameSameFile(PathOf(c.a), PathOf(c.b)), c.same) << c.a << " and " << c.b;
    EXPECT_EQ(files_.NameSameFile(PathOf(c.b), PathOf(c.a)), c.same) << c.b << " and " << c.a;
  }
}

}  // namespace
}  // namespace velorin
