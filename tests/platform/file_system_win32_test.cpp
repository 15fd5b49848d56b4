// The local disk as Windows has it: names compare without regard to case,
// files may be marked hidden or system, device names such as NUL, and UTF-8
// paths that reach the system as UTF-16.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "file_system_fixture.h"

namespace velorin {
namespace {

struct SameFileCase {
  const char* name;
  const char* a;
  const char* b;
  bool same;
};

void PrintTo(const SameFileCase& c, std::ostream* out) { *out << c.name; }

class NameSameFileWin32Test : public FileSystemTest,
                              public ::testing::WithParamInterface<SameFileCase> {
 protected:
  void SetUp() override {
    FileSystemTest::SetUp();
    WriteFile("a.pot", "x");
    WriteFile("b.pot", "y");
    fs::create_directory(folder_ / "sub");
    fs::create_hard_link(folder_ / "a.pot", folder_ / "hard.pot");
  }
};

// The texts of the two paths, upper-cased, decide first; then what the files
// are or will be.
TEST_P(NameSameFileWin32Test, ComparesAsWindowsDoes) {
  const SameFileCase& c = GetParam();
  EXPECT_EQ(files_.NameSameFile(PathOf(c.a), PathOf(c.b)), c.same);
  EXPECT_EQ(files_.NameSameFile(PathOf(c.b), PathOf(c.a)), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameSameFileWin32Test,
    ::testing::Values(SameFileCase{"SameText", "a.pot", "a.pot", true},
                      SameFileCase{"OtherCase", "a.pot", "A.POT", true},
                      SameFileCase{"OtherCaseNotYetThere", "new.nvi", "NEW.NVI", true},
                      SameFileCase{"OtherCaseOfMissingFolder", "gone\\x.nvi", "GONE\\X.NVI", true},
                      SameFileCase{"HardLink", "a.pot", "hard.pot", true},
                      SameFileCase{"ThroughParent", "a.pot", "sub\\..\\a.pot", true},
                      SameFileCase{"SlashAndBackslash", "sub/new.nvi", "sub\\NEW.nvi", true},
                      SameFileCase{"TrailingDotDropped", "new.nvi", "new.nvi.", true},
                      SameFileCase{"TwoFiles", "a.pot", "b.pot", false},
                      SameFileCase{"FileAndNewFile", "a.pot", "missing.pot", false},
                      SameFileCase{"OtherFolder", "new.nvi", "sub\\new.nvi", false},
                      SameFileCase{"MissingFolderOtherName", "gone\\x.nvi", "gone\\y.nvi", false}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Made { kNothing, kFile, kFolder };

struct NormalFileCase {
  const char* name;
  const char* path;  ///< in the test folder
  Made made;
  DWORD attributes;  ///< given to the file made
  bool normal;
};

void PrintTo(const NormalFileCase& c, std::ostream* out) { *out << c.name; }

class IsNormalFileWin32Test : public FileSystemTest,
                              public ::testing::WithParamInterface<NormalFileCase> {};

// The existence test finds ordinary files only, as a directory look-up for
// normal files does: not folders, not hidden or system files, not devices.
TEST_P(IsNormalFileWin32Test, FindsOrdinaryFilesOnly) {
  const NormalFileCase& c = GetParam();
  const std::string path = PathOf(c.path);
  if (c.made == Made::kFolder) fs::create_directory(path);
  if (c.made == Made::kFile) WriteFile(c.path, "x");
  if (c.attributes != 0) {
    ASSERT_TRUE(SetFileAttributesW(fs::path(path).c_str(), c.attributes));
    if ((GetFileAttributesW(fs::path(path).c_str()) & c.attributes) != c.attributes) {
      GTEST_SKIP() << "this file system does not keep the attributes";
    }
  }
  EXPECT_EQ(files_.IsNormalFile(path), c.normal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsNormalFileWin32Test,
    ::testing::Values(NormalFileCase{"Ordinary", "a.nvi", Made::kFile, 0, true},
                      NormalFileCase{"Archive", "a.nvi", Made::kFile, FILE_ATTRIBUTE_ARCHIVE, true},
                      NormalFileCase{"ReadOnly", "a.nvi", Made::kFile, FILE_ATTRIBUTE_READONLY,
                                     true},
                      NormalFileCase{"Hidden", "a.nvi", Made::kFile, FILE_ATTRIBUTE_HIDDEN, false},
                      NormalFileCase{"System", "a.nvi", Made::kFile, FILE_ATTRIBUTE_SYSTEM, false},
                      NormalFileCase{"Folder", "folder.nvi", Made::kFolder, 0, false},
                      NormalFileCase{"Missing", "missing.nvi", Made::kNothing, 0, false},
                      NormalFileCase{"NulDevice", "NUL", Made::kNothing, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileSystemTest, JapaneseNameReachesTheDiskAsUtf16) {
  const std::string name = "\xe6\x9d\xb1\xe4\xba\xac.pot";  // 東京.pot in UTF-8
  const std::string path = folder_.string() + "\\" + name;
  std::error_code ec;
  auto sink = files_.OpenForWriting(path, ec);
  ASSERT_NE(sink, nullptr) << ec.message();
  EXPECT_TRUE(sink->Write("x", 1));
  EXPECT_TRUE(sink->Close());
  EXPECT_TRUE(fs::exists(folder_ / L"\u6771\u4eac.pot"));
  EXPECT_TRUE(files_.IsNormalFile(path));
  EXPECT_NE(files_.OpenForReading(path, ec), nullptr) << ec.message();
  EXPECT_TRUE(files_.NameSameFile(path, folder_.string() + "/" + name));
}

}  // namespace
}  // namespace velorin
