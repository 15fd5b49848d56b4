// What only the in-memory file system does: links resolved as paths, and
// the failures planted for a file.
#include "platform/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

std::string ReadAll(ByteSource& source, std::size_t capacity = 4096) {
  std::string bytes;
  std::string buffer(capacity, '\0');
  for (;;) {
    const std::ptrdiff_t count = source.Read(buffer.data(), capacity);
    if (count <= 0) return bytes;
    bytes.append(buffer.data(), static_cast<std::size_t>(count));
  }
}

struct ResolveCase {
  const char* name;
  const char* path;
  const char* contents;  ///< of the file it names; nullptr: none
};

/// /data/in.pot, /data/sub/inner.pot, and links to them in several ways.
class MemoryPathTest : public ::testing::TestWithParam<ResolveCase> {
 protected:
  void SetUp() override {
    files_.AddFile("/data/in.pot", "outer");
    files_.AddFile("/data/sub/inner.pot", "inner");
    files_.AddLink("/data/absolute.pot", "/data/in.pot");
    files_.AddLink("/data/relative.pot", "in.pot");
    files_.AddLink("/data/chain.pot", "relative.pot");
    files_.AddLink("/data/folder", "sub");
    files_.AddLink("/data/up.pot", "../data/sub/inner.pot");
    files_.AddLink("/data/loop1", "loop2");
    files_.AddLink("/data/loop2", "loop1");
  }
  MemoryFileSystem files_;
};

TEST_P(MemoryPathTest, NamesTheFileItLeadsTo) {
  const std::optional<std::string> contents = files_.Contents(GetParam().path);
  if (GetParam().contents == nullptr) {
    EXPECT_FALSE(contents.has_value());
  } else {
    EXPECT_EQ(contents, GetParam().contents);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MemoryPathTest,
    ::testing::Values(ResolveCase{"Plain", "/data/in.pot", "outer"},
                      ResolveCase{"DotSteps", "/data/./sub/../in.pot", "outer"},
                      ResolveCase{"DoubledSeparators", "//data//in.pot", "outer"},
                      ResolveCase{"AbsoluteLink", "/data/absolute.pot", "outer"},
                      ResolveCase{"RelativeLink", "/data/relative.pot", "outer"},
                      ResolveCase{"LinkToALink", "/data/chain.pot", "outer"},
                      ResolveCase{"LinkedFolder", "/data/folder/inner.pot", "inner"},
                      ResolveCase{"LinkWithUpSteps", "/data/up.pot", "inner"},
                      ResolveCase{"LinksInALoop", "/data/loop1", nullptr},
                      ResolveCase{"Missing", "/data/none.pot", nullptr},
                      ResolveCase{"Folder", "/data/sub", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// --- planted failures ------------------------------------------------------

struct OpenFaultCase {
  const char* name;
  std::errc error;
};

class OpenFaultTest : public ::testing::TestWithParam<OpenFaultCase> {};

TEST_P(OpenFaultTest, EveryOpeningFailsAndNothingChanges) {
  MemoryFileSystem files;
  files.AddFile("/d/out.nvi", "kept");
  files.AddLink("/d/link.nvi", "out.nvi");
  files.FaultsOf("/d/out.nvi").open = GetParam().error;
  const auto before = files.Files();
  for (const char* path : {"/d/out.nvi", "/d/link.nvi"}) {
    std::error_code reading, writing, replacing;
    EXPECT_EQ(files.OpenForReading(path, reading), nullptr);
    EXPECT_EQ(files.OpenForWriting(path, writing), nullptr);
    EXPECT_EQ(files.OpenForReplacing(path, replacing), nullptr);
    for (const std::error_code& ec : {reading, writing, replacing}) EXPECT_EQ(ec, GetParam().error);
    EXPECT_FALSE(files.ReadHead(path, 4).has_value());
  }
  EXPECT_EQ(files.Files(), before);
  // It is still there: a look at it does not open it.
  EXPECT_TRUE(files.IsNormalFile("/d/out.nvi"));
  EXPECT_EQ(files.FileSize("/d/out.nvi"), 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, OpenFaultTest,
    ::testing::Values(OpenFaultCase{"PermissionDenied", std::errc::permission_denied},
                      OpenFaultCase{"NoFolder", std::errc::no_such_file_or_directory},
                      OpenFaultCase{"TooManyOpen", std::errc::too_many_files_open}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadFaultCase {
  const char* name;
  std::size_t failAfter;
  std::size_t piece;
  std::string delivered;  ///< before the error
};

class ReadFaultTest : public ::testing::TestWithParam<ReadFaultCase> {};

TEST_P(ReadFaultTest, DeliversTheBytesBeforeTheErrorThenFailsForGood) {
  MemoryFileSystem files;
  files.AddFile("in.pot", "0123456789");
  files.FaultsOf("in.pot").readFailsAfter = GetParam().failAfter;
  files.SetReadPiece(GetParam().piece);
  std::error_code ec;
  auto source = files.OpenForReading("in.pot", ec);
  ASSERT_NE(source, nullptr);
  std::string delivered;
  char buffer[64];
  std::ptrdiff_t count = 0;
  while ((count = source->Read(buffer, sizeof buffer)) > 0) {
    delivered.append(buffer, static_cast<std::size_t>(count));
  }
  EXPECT_EQ(count, -1);
  EXPECT_EQ(source->error(), std::errc::io_error);
  EXPECT_EQ(delivered, GetParam().delivered);
  EXPECT_EQ(source->Read(buffer, sizeof buffer), -1);
  EXPECT_EQ(files.ReadHead("in.pot", 64), GetParam().delivered);
}

INSTANTIATE_TEST_SUITE_P(Places, ReadFaultTest,
                         ::testing::Values(ReadFaultCase{"AtOnce", 0, 64, ""},
                                           ReadFaultCase{"InTheMiddle", 4, 64, "0123"},
                                           ReadFaultCase{"InsideAPiece", 5, 3, "01234"},
                                           // The end is never reached: the read there fails.
                                           ReadFaultCase{"AtTheEnd", 10, 64, "0123456789"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryFileSystem, AReadFaultBeyondTheEndIsNeverMet) {
  MemoryFileSystem files;
  files.AddFile("in.pot", "0123");
  files.FaultsOf("in.pot").readFailsAfter = 5;
  std::error_code ec;
  auto source = files.OpenForReading("in.pot", ec);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(ReadAll(*source), "0123");
  EXPECT_FALSE(source->error());
}

struct WriteFaultCase {
  const char* name;
  std::vector<std::string> writes;
  std::size_t failAfter;
  std::size_t writesThatSucceed;
  std::string logHolds;  ///< what a file written in place holds after
};

class WriteFaultTest : public ::testing::TestWithParam<WriteFaultCase> {};

TEST_P(WriteFaultTest, TheLogHoldsWhatFitAndTheOutputStaysAsItWas) {
  const WriteFaultCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFile("out.nvi", "old output");
  files.FaultsOf("log.txt").writeFailsAfter = c.failAfter;
  files.FaultsOf("out.nvi").writeFailsAfter = c.failAfter;
  std::error_code ec;
  auto log = files.OpenForWriting("log.txt", ec);
  auto output = files.OpenForReplacing("out.nvi", ec);
  ASSERT_NE(log, nullptr);
  ASSERT_NE(output, nullptr);
  for (std::size_t i = 0; i < c.writes.size(); ++i) {
    const bool fits = i < c.writesThatSucceed;
    EXPECT_EQ(log->Write(c.writes[i].data(), c.writes[i].size()), fits) << i;
    EXPECT_EQ(output->Write(c.writes[i].data(), c.writes[i].size()), fits) << i;
  }
  const bool full = c.writesThatSucceed < c.writes.size();
  EXPECT_EQ(log->Close(), !full);
  EXPECT_EQ(output->Commit(), !full);
  if (full) {
    EXPECT_EQ(output->error(), std::errc::no_space_on_device);
  }
  EXPECT_EQ(files.Contents("log.txt"), c.logHolds);
  EXPECT_EQ(files.Contents("out.nvi"), full ? "old output" : c.logHolds);
}

INSTANTIATE_TEST_SUITE_P(
    Disks, WriteFaultTest,
    ::testing::Values(WriteFaultCase{"RoomForAll", {"abc", "def"}, 6, 2, "abcdef"},
                      WriteFaultCase{"FullInTheSecondWrite", {"abc", "def"}, 4, 1, "abcd"},
                      WriteFaultCase{"FullFromTheStart", {"abc"}, 0, 0, ""},
                      WriteFaultCase{"NothingMoreAfterTheError", {"abc", "d", "e"}, 2, 0, "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryFileSystem, AFailedCommitLeavesTheTargetAsItWas) {
  MemoryFileSystem files;
  files.AddFile("/d/out.nvi", "old");
  files.AddLink("/d/link.nvi", "out.nvi");
  files.FaultsOf("/d/out.nvi").commitFails = true;
  std::error_code ec;
  auto sink = files.OpenForReplacing("/d/link.nvi", ec);
  ASSERT_NE(sink, nullptr);
  EXPECT_TRUE(sink->Write("new", 3));
  EXPECT_FALSE(sink->Commit());
  EXPECT_EQ(sink->error(), std::errc::permission_denied);
  EXPECT_EQ(files.Contents("/d/out.nvi"), "old");
}

}  // namespace
}  // namespace velorin
