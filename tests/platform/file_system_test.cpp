#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velorin {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velorin_platform_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  void WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream out(folder_ / name, std::ios::binary);
    out << content;
  }

  std::string ReadFile(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string ReadAll(ByteSource& source, std::size_t chunk) {
    std::string data(chunk, '\0');
    std::string result;
    for (;;) {
      const std::ptrdiff_t count = source.Read(data.data(), chunk);
      EXPECT_GE(count, 0);
      if (count <= 0) return result;
      result.append(data.data(), static_cast<std::size_t>(count));
    }
  }

  fs::path folder_;
  LocalFileSystem files_;
};

TEST_F(FileSystemTest, ReadsTheBytesAsTheyStand) {
  const std::string content("A\r\nB\n\x82\xa0\0\xff\r", 10);
  WriteFile("in.pot", content);
  std::error_code ec = std::make_error_code(std::errc::io_error);
  auto source = files_.OpenForReading(PathOf("in.pot"), ec);
  ASSERT_NE(source, nullptr);
  EXPECT_FALSE(ec);
  EXPECT_EQ(ReadAll(*source, 3), content);
  EXPECT_EQ(source->Read(nullptr, 0), 0);
  EXPECT_FALSE(source->error());
}

TEST_F(FileSystemTest, EmptyFileReadsNothing) {
  WriteFile("empty.pot", "");
  std::error_code ec;
  auto source = files_.OpenForReading(PathOf("empty.pot"), ec);
  ASSERT_NE(source, nullptr);
  char byte;
  EXPECT_EQ(source->Read(&byte, 1), 0);
}

TEST_F(FileSystemTest, MissingFileFailsToOpen) {
  std::error_code ec;
  EXPECT_EQ(files_.OpenForReading(PathOf("missing.pot"), ec), nullptr);
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, FolderFailsToOpenForReading) {
  fs::create_directory(folder_ / "sub.pot");
  std::error_code ec;
  EXPECT_EQ(files_.OpenForReading(PathOf("sub.pot"), ec), nullptr);
  EXPECT_EQ(ec, std::errc::is_a_directory);
}

TEST_F(FileSystemTest, FolderFailsToOpenForWriting) {
  fs::create_directory(folder_ / "sub.nvi");
  std::error_code ec;
  EXPECT_EQ(files_.OpenForWriting(PathOf("sub.nvi"), ec), nullptr);
  EXPECT_TRUE(ec);
}

TEST_F(FileSystemTest, WritingCreatesTheFile) {
  std::error_code ec;
  auto sink = files_.OpenForWriting(PathOf("out.nvi"), ec);
  ASSERT_NE(sink, nullptr);
  EXPECT_FALSE(ec);
  EXPECT_TRUE(sink->Write("NPOIs\n", 6));
  EXPECT_TRUE(sink->Write("\r\x82\xa0", 3));
  EXPECT_TRUE(sink->Close());
  EXPECT_TRUE(sink->Close());  // twice is harmless
  EXPECT_EQ(ReadFile("out.nvi"), "NPOIs\n\r\x82\xa0");
}

TEST_F(FileSystemTest, WritingEmptiesAnExistingFile) {
  WriteFile("out.nvi", "old content that is longer");
  std::error_code ec;
  auto sink = files_.OpenForWriting(PathOf("out.nvi"), ec);
  ASSERT_NE(sink, nullptr);
  EXPECT_EQ(ReadFile("out.nvi"), "");  // emptied at once, before any write
  EXPECT_TRUE(sink->Write("new", 3));
  EXPECT_TRUE(sink->Close());
  EXPECT_EQ(ReadFile("out.nvi"), "new");
}

TEST_F(FileSystemTest, SinkDestroyedWithoutCloseKeepsItsData) {
  {
    std::error_code ec;
    auto sink = files_.OpenForWriting(PathOf("out.nvi"), ec);
    ASSERT_NE(sink, nullptr);
    EXPECT_TRUE(sink->Write("kept", 4));
  }
  EXPECT_EQ(ReadFile("out.nvi"), "kept");
}

TEST_F(FileSystemTest, MissingFolderFailsToOpenForWriting) {
  std::error_code ec;
  EXPECT_EQ(files_.OpenForWriting(PathOf("no/such/folder/out.nvi"), ec), nullptr);
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, FullDeviceFailsAtWriteOrClose) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::error_code ec;
  auto sink = files_.OpenForWriting("/dev/full", ec);
  ASSERT_NE(sink, nullptr);
  const std::string block(4096, 'x');
  const bool written = sink->Write(block.data(), block.size());
  const bool closed = sink->Close();
  EXPECT_FALSE(written && closed);
  EXPECT_FALSE(closed);
  EXPECT_EQ(sink->error(), std::errc::no_space_on_device);
  EXPECT_FALSE(sink->Write("x", 1));  // sticky
}

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

TEST_F(FileSystemTest, NameSameFileRelativeToWorkingFolder) {
  WriteFile("a.pot", "x");
  const fs::path before = fs::current_path();
  fs::current_path(folder_);
  const bool same = files_.NameSameFile("./a.pot", "a.pot");
  const bool absolute = files_.NameSameFile("a.pot", PathOf("a.pot"));
  const bool notYet = files_.NameSameFile("out.nvi", PathOf("out.nvi"));
  fs::current_path(before);
  EXPECT_TRUE(same);
  EXPECT_TRUE(absolute);
  EXPECT_TRUE(notYet);
}

}  // namespace
}  // namespace velorin
