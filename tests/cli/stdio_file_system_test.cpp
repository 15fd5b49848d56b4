#include "cli/stdio_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "redirected_stream.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

const std::string kIn(StdioFileSystem::kStandardInput);
const std::string kOut(StdioFileSystem::kStandardOutput);

using testing::Redirected;
using testing::Stream;

std::string ReadAll(ByteSource& source) {
  std::string text;
  char buffer[4];
  for (std::ptrdiff_t count; (count = source.Read(buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(count));
  }
  return text;
}

TEST(StdioFileSystem, StandardStreamsAreNeverExistingFiles) {
  StdioFileSystem files;
  EXPECT_FALSE(files.IsNormalFile(kIn));
  EXPECT_FALSE(files.IsNormalFile(kOut));
  EXPECT_FALSE(files.NameSameFile(kIn, kIn));
  EXPECT_FALSE(files.NameSameFile(kOut, kOut));
}

// Even where files bear their names (Windows allows no such names), the
// streams have no size, no head to look at (reading it would lose what a
// pipe gives), and are no folders.
TEST(StdioFileSystem, StandardStreamsAreNeverLookedAtAsFiles) {
  TempFolder folder;
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  std::ofstream(kIn, std::ios::binary) << "ord=poi";
  std::error_code ignored;
  std::filesystem::create_directory(kOut, ignored);
  StdioFileSystem files;
  for (const std::string& stream : {kIn, kOut}) {
    EXPECT_FALSE(files.FileSize(stream).has_value()) << stream;
    EXPECT_FALSE(files.ReadHead(stream, 4).has_value()) << stream;
    EXPECT_FALSE(files.IsFolder(stream)) << stream;
  }
  std::filesystem::current_path(working);
}

TEST(StdioFileSystem, CountsTheBytesReadOfAFileOfKnownSize) {
  TempFolder folder;
  const std::string path = folder.PathOf("a.pot");
  WriteBytes(path, "0123456789");
  StdioFileSystem files;
  std::error_code ec;
  std::unique_ptr<ByteSource> source = files.OpenForReading(path, ec);
  ASSERT_TRUE(source) << ec.message();
  EXPECT_EQ(files.InputSize(), 10u);
  EXPECT_EQ(files.BytesRead(), 0u);
  char buffer[4];
  EXPECT_EQ(source->Read(buffer, 4), 4);
  EXPECT_EQ(files.BytesRead(), 4u);
  EXPECT_EQ(ReadAll(*source), "456789");
  EXPECT_EQ(files.BytesRead(), 10u);
}

TEST(StdioFileSystem, ReportsAMissingFileLikeTheDisk) {
  TempFolder folder;
  StdioFileSystem files;
  std::error_code ec;
  EXPECT_FALSE(files.OpenForReading(folder.PathOf("none.pot"), ec));
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST(StdioFileSystem, ReadsStandardInputAndSeesWhenItIsTheOutputFile) {
  TempFolder folder;
  const std::string path = folder.PathOf("a.pot");
  WriteBytes(path, "ORD=POI\r\n");
  Redirected redirect(Stream::kInput, path, false);
  StdioFileSystem files;
  EXPECT_TRUE(files.NameSameFile(kIn, path));
  EXPECT_TRUE(files.NameSameFile(path, kIn));
  EXPECT_FALSE(files.NameSameFile(kIn, folder.PathOf("other.nvi")));
  std::error_code ec;
  std::unique_ptr<ByteSource> source = files.OpenForReading(kIn, ec);
  ASSERT_TRUE(source);
  EXPECT_EQ(files.InputSize(), 9u);
  EXPECT_EQ(ReadAll(*source), "ORD=POI\r\n");
  EXPECT_EQ(files.BytesRead(), 9u);
}

// "convert in.pot - 1<>in.pot" would empty the input while reading it.
TEST(StdioFileSystem, SeesWhenStandardOutputIsTheInputFile) {
  TempFolder folder;
  const std::string path = folder.PathOf("a.pot");
  WriteBytes(path, "ORD=POI\r\n");
  StdioFileSystem files;
  bool sameAsInput = false;
  bool sameAsOther = true;
  bool sameAsStdin = false;
  {
    Redirected out(Stream::kOutput, path, true);
    Redirected in(Stream::kInput, path, false);
    sameAsInput = files.NameSameFile(path, kOut);
    sameAsOther = files.NameSameFile(folder.PathOf("b.pot"), kOut);
    sameAsStdin = files.NameSameFile(kIn, kOut);
  }
  EXPECT_TRUE(sameAsInput);
  EXPECT_FALSE(sameAsOther);
  EXPECT_TRUE(sameAsStdin);
  EXPECT_EQ(ReadBytes(path), "ORD=POI\r\n");
}

}  // namespace
}  // namespace velorin

namespace velorin {
namespace {

// The progress of a merge: bytes and size of every input together, or no
// size when one of them has none (standard input).
TEST(StdioFileSystem, CountsTheBytesOfAllExpectedInputs) {
  TempFolder folder;
  const std::string a = folder.Write("a.pot", "12345");
  const std::string b = folder.Write("b.pot", "123");
  StdioFileSystem files;
  files.ExpectInputs({a, b});
  EXPECT_EQ(files.InputSize(), 8u);
  std::error_code error;
  auto first = files.OpenForReading(a, error);
  ASSERT_TRUE(first);
  EXPECT_EQ(ReadAll(*first), "12345");
  auto second = files.OpenForReading(b, error);
  ASSERT_TRUE(second);
  char byte;
  EXPECT_EQ(second->Read(&byte, 1), 1);
  EXPECT_EQ(files.BytesRead(), 6u);
  EXPECT_EQ(files.InputSize(), 8u);

  files.ExpectInputs({a, kIn});
  EXPECT_EQ(files.InputSize(), std::nullopt);
}

}  // namespace
}  // namespace velorin
