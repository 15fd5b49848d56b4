// Replacing files as Windows has them: attributes instead of permission
// bits, files that another program holds, device names, a full device.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <thread>

#include "replacing_file_fixture.h"

namespace velorin {
namespace {

DWORD AttributesOf(const fs::path& path) { return GetFileAttributesW(path.c_str()); }

struct AttributeCase {
  const char* name;
  DWORD attributes;
};

void PrintTo(const AttributeCase& c, std::ostream* out) { *out << c.name; }

class KeptAttributesTest : public ReplacingFileTest,
                           public ::testing::WithParamInterface<AttributeCase> {};

// A replaced file looks as it did in Explorer: hidden stays hidden.
TEST_P(KeptAttributesTest, ReplacedFileKeepsThem) {
  const DWORD attributes = GetParam().attributes;
  Write("out.nvi", "old");
  ASSERT_TRUE(SetFileAttributesW((folder_ / "out.nvi").c_str(), attributes));
  if ((AttributesOf(folder_ / "out.nvi") & attributes) != attributes) {
    GTEST_SKIP() << "this file system does not keep the attributes";
  }
  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  ASSERT_TRUE(sink && sink->Write("new", 3) && sink->Commit()) << ec.message();
  EXPECT_EQ(Read("out.nvi"), "new");
  EXPECT_EQ(AttributesOf(folder_ / "out.nvi") & (attributes | FILE_ATTRIBUTE_HIDDEN), attributes);
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, KeptAttributesTest,
                         ::testing::Values(AttributeCase{"Archive", FILE_ATTRIBUTE_ARCHIVE},
                                           AttributeCase{"Hidden", FILE_ATTRIBUTE_HIDDEN},
                                           AttributeCase{"System", FILE_ATTRIBUTE_SYSTEM}),
                         [](const auto& info) { return std::string(info.param.name); });

// The temporary file is hidden while it is written; the new output is not.
TEST_F(ReplacingFileTest, NewOutputIsNotHidden) {
  std::error_code ec;
  auto sink = Open("new.nvi", ec);
  ASSERT_TRUE(sink && sink->Write("new", 3) && sink->Commit()) << ec.message();
  EXPECT_EQ(AttributesOf(folder_ / "new.nvi") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

struct RefusalCase {
  const char* name;
  std::errc error;
  DWORD heldSharing = 0;  ///< how the other program shares the file it holds
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class RefusedTargetTest : public ReplacingFileTest,
                          public ::testing::WithParamInterface<RefusalCase> {};

// A file that may not be written (read-only) or that another program holds
// without sharing what the final rename needs is refused before anything is
// converted, and stays as it was.
TEST_P(RefusedTargetTest, FailsAtOnceAndKeepsTheFile) {
  const RefusalCase& c = GetParam();
  Write("out.nvi", "old");
  const fs::path target = folder_ / "out.nvi";
  HANDLE held = INVALID_HANDLE_VALUE;
  if (c.error == std::errc::permission_denied) {
    // Refused by its mark, also where it could be written (Wine run as root).
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
  } else {
    held = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, c.heldSharing, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
  }
  std::error_code ec;
  EXPECT_FALSE(Open("out.nvi", ec));
  EXPECT_EQ(ec, c.error);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Read("out.nvi"), "old");
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTargetTest,
    ::testing::Values(RefusalCase{"ReadOnly", std::errc::permission_denied},
                      RefusalCase{"HeldByAnotherProgram", std::errc::device_or_resource_busy},
                      // Others may write it but not delete it, as the rename must.
                      RefusalCase{"HeldWithWriteSharing", std::errc::device_or_resource_busy,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReplacingFileTest, DeviceIsWrittenDirectly) {
  std::error_code ec;
  auto sink = OpenReplacingFile("NUL", ec);
  ASSERT_TRUE(sink) << ec.message();
  EXPECT_TRUE(sink->Write("x", 1));
  EXPECT_TRUE(sink->Commit());
}

// A real fault: a device with no room at all.
TEST_F(ReplacingFileTest, FullDeviceFailsAtWrite) {
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << "no device that is always full here";
  std::error_code ec;
  auto sink = OpenReplacingFile(*full, ec);
  ASSERT_TRUE(sink) << ec.message();
  const std::string block(4096, 'x');
  EXPECT_FALSE(sink->Write(block.data(), block.size()));
  EXPECT_EQ(sink->error(), std::errc::no_space_on_device);
  EXPECT_FALSE(sink->Commit());
}

struct HoldCase {
  const char* name;
  DWORD holdMilliseconds;
  bool commits;
};

void PrintTo(const HoldCase& c, std::ostream* out) { *out << c.name; }

class HeldTargetTest : public ReplacingFileTest, public ::testing::WithParamInterface<HoldCase> {};

// Another program that has the target open when the new file takes its
// place (a virus scanner, a second run) is waited out for about a second;
// a longer hold fails the commit and leaves the old file and no trace.
TEST_P(HeldTargetTest, IsWaitedOutBriefly) {
  const HoldCase& c = GetParam();
  Write("out.nvi", "old");
  std::error_code ec;
  auto sink = Open("out.nvi", ec);
  ASSERT_TRUE(sink && sink->Write("new", 3)) << ec.message();
  const HANDLE held =
      CreateFileW((folder_ / "out.nvi").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([&] {
    Sleep(c.holdMilliseconds);
    CloseHandle(held);
  });
  const bool committed = sink->Commit();
  release.join();
  sink.reset();
  EXPECT_EQ(committed, c.commits);
  EXPECT_EQ(Read("out.nvi"), c.commits ? "new" : "old");
  EXPECT_EQ(FolderNames(), Names({"out.nvi"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, HeldTargetTest,
                         ::testing::Values(HoldCase{"BriefHold", 300, true},
                                           HoldCase{"LongHold", 3000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
