// One table of file operations run against the local disk and against the
// in-memory file system: what the tests of the engine learn from the one
// must hold on the other. The scene is the same for both: in.pot, an empty
// file, a folder with a file in it, and (where the system can make one) a
// link to in.pot.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_system.h"

namespace velorin {
namespace {

constexpr std::string_view kInput = "ord=poi/tex=A\r\n";

/// The scene, on one file system.
class Scene {
 public:
  virtual ~Scene() = default;
  virtual FileSystem& files() = 0;
  /// The path of `name` (a "/"-separated name below the scene's folder).
  virtual std::string PathOf(const std::string& name) const = 0;
  virtual std::optional<std::string> Contents(const std::string& name) = 0;
  /// False when links cannot be made here.
  bool hasLink = false;
};

class DiskScene : public Scene {
 public:
  DiskScene() {
    testutil::WriteBytes(PathOf("in.pot"), kInput);
    testutil::WriteBytes(PathOf("empty.pot"), "");
    std::filesystem::create_directory(folder_.path() / "sub");
    testutil::WriteBytes(PathOf("sub/inner.gpx"), "<gpx/>");
    hasLink = testutil::MakeSymbolicLink("in.pot", folder_.path() / "link.pot");
  }
  FileSystem& files() override { return files_; }
  std::string PathOf(const std::string& name) const override {
    return (folder_.path() / std::filesystem::path(name).make_preferred()).string();
  }
  std::optional<std::string> Contents(const std::string& name) override {
    if (!testutil::Exists(PathOf(name))) return std::nullopt;
    return testutil::ReadBytes(PathOf(name));
  }

 private:
  testutil::TempFolder folder_{"velorin_contract_"};
  LocalFileSystem files_;
};

class MemoryScene : public Scene {
 public:
  MemoryScene() {
    files_.AddFile(PathOf("in.pot"), std::string(kInput));
    files_.AddFile(PathOf("empty.pot"), "");
    files_.AddFile(PathOf("sub/inner.gpx"), "<gpx/>");
    files_.AddLink(PathOf("link.pot"), "in.pot");
    hasLink = true;
  }
  FileSystem& files() override { return files_; }
  std::string PathOf(const std::string& name) const override { return "/scene/" + name; }
  std::optional<std::string> Contents(const std::string& name) override {
    return files_.Contents(PathOf(name));
  }

 private:
  MemoryFileSystem files_;
};

enum class System { kDisk, kMemory };

std::unique_ptr<Scene> MakeScene(System system) {
  if (system == System::kDisk) return std::make_unique<DiskScene>();
  return std::make_unique<MemoryScene>();
}

std::string SystemName(System system) { return system == System::kDisk ? "Disk" : "Memory"; }

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<std::tuple<System, Case>>& info) {
  return SystemName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}

const auto kSystems = ::testing::Values(System::kDisk, System::kMemory);

/// A test of one case on one file system, with the scene made for it.
template <typename Case>
class ContractTest : public ::testing::TestWithParam<std::tuple<System, Case>> {
 protected:
  void SetUp() override {
    scene_ = MakeScene(std::get<0>(this->GetParam()));
    if (Needs(std::get<1>(this->GetParam()).path, "link") && !scene_->hasLink) {
      GTEST_SKIP() << "this system makes no symbolic links here";
    }
  }
  static bool Needs(const char* path, const char* part) {
    return path != nullptr && std::string(path).find(part) != std::string::npos;
  }
  const Case& TheCase() const { return std::get<1>(this->GetParam()); }
  std::string PathOf(const char* name) const { return scene_->PathOf(name); }
  FileSystem& Files() { return scene_->files(); }

  std::unique_ptr<Scene> scene_;
};

// --- looking at a path -------------------------------------------------------

struct LookCase {
  const char* name;
  const char* path;
  bool normalFile;
  bool folder;
  std::optional<std::uint64_t> size;
  std::optional<std::string> head;  ///< its first four bytes
};

using LookTest = ContractTest<LookCase>;

TEST_P(LookTest, BothSystemsSeeTheSame) {
  const LookCase& c = TheCase();
  const std::string path = PathOf(c.path);
  EXPECT_EQ(Files().IsNormalFile(path), c.normalFile);
  EXPECT_EQ(Files().IsFolder(path), c.folder);
  EXPECT_EQ(Files().FileSize(path), c.size);
  EXPECT_EQ(Files().ReadHead(path, 4), c.head);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LookTest,
    ::testing::Combine(
        kSystems,
        ::testing::Values(
            LookCase{"File", "in.pot", true, false, kInput.size(), "ord="},
            LookCase{"EmptyFile", "empty.pot", true, false, 0, ""},
            LookCase{"Folder", "sub", false, true, std::nullopt, std::nullopt},
            LookCase{"FolderWithSeparator", "sub/", false, true, std::nullopt, std::nullopt},
            LookCase{"FileInAFolder", "sub/inner.gpx", true, false, 6, "<gpx"},
            LookCase{"StepsUpAndDown", "sub/../in.pot", true, false, kInput.size(), "ord="},
            LookCase{"Missing", "missing.pot", false, false, std::nullopt, std::nullopt},
            LookCase{"NameThatBeginsAFolders", "su", false, false, std::nullopt, std::nullopt},
            LookCase{"InAMissingFolder", "none/in.pot", false, false, std::nullopt, std::nullopt},
            LookCase{"Link", "link.pot", true, false, kInput.size(), "ord="})),
    CaseName<LookCase>);

TEST(FileSystemContract, AHeadLongerThanTheFileIsTheWholeFile) {
  for (const System system : {System::kDisk, System::kMemory}) {
    const std::unique_ptr<Scene> scene = MakeScene(system);
    EXPECT_EQ(scene->files().ReadHead(scene->PathOf("in.pot"), 1 << 16), kInput)
        << SystemName(system);
    EXPECT_EQ(scene->files().ReadHead(scene->PathOf("in.pot"), 0), "") << SystemName(system);
  }
}

// --- one file or two ---------------------------------------------------------

struct SameCase {
  const char* name;
  const char* path;  ///< the first
  const char* other;
  bool same;
};

using SameFileTest = ContractTest<SameCase>;

TEST_P(SameFileTest, BothSystemsCompareAlike) {
  const SameCase& c = TheCase();
  if (Needs(c.other, "link") && !scene_->hasLink) GTEST_SKIP() << "no symbolic links here";
  EXPECT_EQ(Files().NameSameFile(PathOf(c.path), PathOf(c.other)), c.same);
  EXPECT_EQ(Files().NameSameFile(PathOf(c.other), PathOf(c.path)), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, SameFileTest,
    ::testing::Combine(kSystems,
                       ::testing::Values(SameCase{"OneName", "in.pot", "in.pot", true},
                                         SameCase{"DotStep", "in.pot", "./in.pot", true},
                                         SameCase{"UpStep", "sub/../in.pot", "in.pot", true},
                                         SameCase{"TwoFiles", "in.pot", "empty.pot", false},
                                         SameCase{"NotYetWritten", "new.nvi", "./new.nvi", true},
                                         SameCase{"TwoNewNames", "new.nvi", "other.nvi", false},
                                         SameCase{"LinkAndTarget", "in.pot", "link.pot", true})),
    CaseName<SameCase>);

// --- opening -----------------------------------------------------------------

enum class Opening { kReading, kWriting, kReplacing };

struct OpenCase {
  const char* name;
  const char* path;
  Opening opening;
  std::errc error;  ///< std::errc{}: it opens
};

using OpenTest = ContractTest<OpenCase>;

TEST_P(OpenTest, OpensOrFailsAlike) {
  const OpenCase& c = TheCase();
  const std::string path = PathOf(c.path);
  std::error_code ec = std::make_error_code(std::errc::io_error);
  bool opened = false;
  switch (c.opening) {
    case Opening::kReading:
      opened = Files().OpenForReading(path, ec) != nullptr;
      break;
    case Opening::kWriting:
      opened = Files().OpenForWriting(path, ec) != nullptr;
      break;
    case Opening::kReplacing:
      opened = Files().OpenForReplacing(path, ec) != nullptr;
      break;
  }
  EXPECT_EQ(opened, c.error == std::errc{});
  if (c.error == std::errc{}) {
    EXPECT_FALSE(ec) << ec.message();
  } else {
    EXPECT_EQ(ec, c.error) << ec.message();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenTest,
    ::testing::Combine(
        kSystems,
        ::testing::Values(
            OpenCase{"ReadAFile", "in.pot", Opening::kReading, std::errc{}},
            OpenCase{"ReadAFolder", "sub", Opening::kReading, std::errc::is_a_directory},
            OpenCase{"ReadAMissingFile", "missing.pot", Opening::kReading,
                     std::errc::no_such_file_or_directory},
            OpenCase{"ReadALink", "link.pot", Opening::kReading, std::errc{}},
            OpenCase{"WriteANewFile", "new.txt", Opening::kWriting, std::errc{}},
            OpenCase{"WriteAFolder", "sub", Opening::kWriting, std::errc::is_a_directory},
            OpenCase{"WriteInAMissingFolder", "none/log.txt", Opening::kWriting,
                     std::errc::no_such_file_or_directory},
            OpenCase{"ReplaceAFile", "in.pot", Opening::kReplacing, std::errc{}},
            OpenCase{"ReplaceANewFile", "new.nvi", Opening::kReplacing, std::errc{}},
            OpenCase{"ReplaceAFolder", "sub", Opening::kReplacing, std::errc::is_a_directory},
            OpenCase{"ReplaceInAMissingFolder", "none/out.nvi", Opening::kReplacing,
                     std::errc::no_such_file_or_directory})),
    CaseName<OpenCase>);

// --- what a file holds after ---------------------------------------------------

enum class Ending { kClose, kCommit, kDiscard, kDrop };

struct WriteCase {
  const char* name;
  const char* path;  ///< written
  bool replacing;    ///< through OpenForReplacing, else OpenForWriting
  Ending ending;
  const char* checked;  ///< the file looked at after
  std::optional<std::string> holds;
};

using WriteTest = ContractTest<WriteCase>;

TEST_P(WriteTest, LeavesTheSameBytes) {
  const WriteCase& c = TheCase();
  std::error_code ec;
  {
    std::unique_ptr<ReplacingSink> replacing;
    std::unique_ptr<ByteSink> sink;
    if (c.replacing) {
      replacing = Files().OpenForReplacing(PathOf(c.path), ec);
    } else {
      sink = Files().OpenForWriting(PathOf(c.path), ec);
    }
    ByteSink* out = c.replacing ? replacing.get() : sink.get();
    ASSERT_NE(out, nullptr) << ec.message();
    EXPECT_TRUE(out->Write("NPOIs", 5));
    switch (c.ending) {
      case Ending::kClose:
        EXPECT_TRUE(out->Close());
        break;
      case Ending::kCommit:
        EXPECT_TRUE(replacing->Commit());
        break;
      case Ending::kDiscard:
        replacing->Discard();
        break;
      case Ending::kDrop:
        break;
    }
  }
  EXPECT_EQ(scene_->Contents(c.checked), c.holds);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, WriteTest,
    ::testing::Combine(
        kSystems,
        ::testing::Values(
            WriteCase{"WrittenNew", "new.txt", false, Ending::kClose, "new.txt", "NPOIs"},
            WriteCase{"WrittenOverAFile", "in.pot", false, Ending::kClose, "in.pot", "NPOIs"},
            WriteCase{"ReplacedAndCommitted", "in.pot", true, Ending::kCommit, "in.pot", "NPOIs"},
            WriteCase{"ReplacedAndDiscarded", "in.pot", true, Ending::kDiscard, "in.pot",
                      std::string(kInput)},
            WriteCase{"ReplacedAndDropped", "in.pot", true, Ending::kDrop, "in.pot",
                      std::string(kInput)},
            WriteCase{"NewAndCommitted", "new.nvi", true, Ending::kCommit, "new.nvi", "NPOIs"},
            WriteCase{"NewAndDiscarded", "new.nvi", true, Ending::kDiscard, "new.nvi",
                      std::nullopt},
            WriteCase{"ReplacedThroughALink", "link.pot", true, Ending::kCommit, "in.pot",
                      "NPOIs"})),
    CaseName<WriteCase>);

// --- a folder's entries, a file read from an offset ------------------------

class FolderAndSeekTest : public ::testing::TestWithParam<System> {};

TEST_P(FolderAndSeekTest, BothSystemsListAndSeekAlike) {
  const std::unique_ptr<Scene> scene = MakeScene(GetParam());
  FileSystem& files = scene->files();
  std::optional<std::vector<std::string>> names = files.FolderEntries(scene->PathOf(""));
  ASSERT_TRUE(names.has_value());
  std::sort(names->begin(), names->end());
  std::vector<std::string> expected = {"empty.pot", "in.pot", "sub"};
  if (scene->hasLink) expected.insert(expected.begin() + 2, "link.pot");
  EXPECT_EQ(*names, expected);
  EXPECT_EQ(files.FolderEntries(scene->PathOf("sub")), std::vector<std::string>{"inner.gpx"});
  EXPECT_FALSE(files.FolderEntries(scene->PathOf("in.pot")));
  EXPECT_FALSE(files.FolderEntries(scene->PathOf("missing")));

  std::error_code error;
  const std::unique_ptr<ByteSource> source =
      files.OpenForReading(scene->PathOf("sub/inner.gpx"), error);
  ASSERT_TRUE(source);
  char bytes[3] = {};
  ASSERT_TRUE(source->Seek(2));
  ASSERT_EQ(source->Read(bytes, 3), 3);
  EXPECT_EQ(std::string(bytes, 3), "px/");
  ASSERT_TRUE(source->Seek(0));
  ASSERT_EQ(source->Read(bytes, 1), 1);
  EXPECT_EQ(bytes[0], '<');
}

INSTANTIATE_TEST_SUITE_P(Systems, FolderAndSeekTest, kSystems,
                         [](const auto& info) { return SystemName(info.param); });

// --- a program's own folders ---------------------------------------------------

enum class FolderStep { kMake, kRemove };

struct FolderCase {
  const char* name;
  FolderStep step;
  const char* path;
  bool done;         ///< what the step answers
  bool folderAfter;  ///< the path names a folder after
  bool fileAfter;    ///< the path names a file after
};

using FolderTest = ContractTest<FolderCase>;

TEST_P(FolderTest, MakesAndRemovesAlike) {
  const FolderCase& c = TheCase();
  const std::string path = PathOf(c.path);
  const bool done =
      c.step == FolderStep::kMake ? Files().MakeFolders(path) : Files().RemoveFile(path);
  EXPECT_EQ(done, c.done);
  EXPECT_EQ(Files().IsFolder(path), c.folderAfter);
  EXPECT_EQ(Files().IsNormalFile(path), c.fileAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FolderTest,
    ::testing::Combine(
        kSystems,
        ::testing::Values(
            FolderCase{"MakeFoldersBelowFolders", FolderStep::kMake, "new/deeper", true, true,
                       false},
            FolderCase{"MakeAFolderThere", FolderStep::kMake, "sub", true, true, false},
            FolderCase{"MakeWhereAFileIs", FolderStep::kMake, "in.pot", false, false, true},
            FolderCase{"RemoveAFile", FolderStep::kRemove, "empty.pot", true, false, false},
            FolderCase{"RemoveAMissingFile", FolderStep::kRemove, "missing.pot", true, false,
                       false},
            FolderCase{"RemoveAFolder", FolderStep::kRemove, "sub", false, true, false})),
    CaseName<FolderCase>);

TEST(FileSystemContract, AFoldersFilesAreListedWithTheirSizesAndOrder) {
  for (const System system : {System::kDisk, System::kMemory}) {
    SCOPED_TRACE(SystemName(system));
    const std::unique_ptr<Scene> scene = MakeScene(system);
    FileSystem& files = scene->files();
    const std::vector<FolderFile> inSub = files.FilesIn(scene->PathOf("sub"));
    ASSERT_EQ(inSub.size(), 1U);
    EXPECT_EQ(inSub[0].name, "inner.gpx");
    EXPECT_EQ(inSub[0].size, 6U);
    // Files only: the folder "sub" is not among the scene's files.
    std::map<std::string, FolderFile> top;
    for (const FolderFile& file : files.FilesIn(scene->PathOf(""))) top[file.name] = file;
    EXPECT_EQ(top.count("sub"), 0U);
    ASSERT_EQ(top.count("in.pot"), 1U);
    EXPECT_EQ(top["in.pot"].size, kInput.size());
    // One written after another was written no earlier.
    std::error_code ec;
    auto later = files.OpenForReplacing(scene->PathOf("later.txt"), ec);
    ASSERT_TRUE(later && later->Write("x", 1) && later->Commit());
    for (const FolderFile& file : files.FilesIn(scene->PathOf(""))) top[file.name] = file;
    EXPECT_GE(top["later.txt"].written, top["in.pot"].written);
    EXPECT_TRUE(files.FilesIn(scene->PathOf("missing")).empty());
  }
}

}  // namespace
}  // namespace velorin
