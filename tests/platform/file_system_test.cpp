#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "file_system_fixture.h"

namespace velorin {
namespace {

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
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << "no device that is always full here";
  std::error_code ec;
  auto sink = files_.OpenForWriting(*full, ec);
  ASSERT_NE(sink, nullptr);
  const std::string block(4096, 'x');
  const bool written = sink->Write(block.data(), block.size());
  const bool closed = sink->Close();
  EXPECT_FALSE(written && closed);
  EXPECT_FALSE(closed);
  EXPECT_EQ(sink->error(), std::errc::no_space_on_device);
  EXPECT_FALSE(sink->Write("x", 1));  // sticky
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
