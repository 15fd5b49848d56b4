#include "cli/stdio_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "temp_folder.h"

namespace velorin {
namespace {

const std::string kIn(StdioFileSystem::kStandardInput);
const std::string kOut(StdioFileSystem::kStandardOutput);

/// Puts a file on a standard stream for the life of the object.
class Redirected {
 public:
  Redirected(int stream, const std::string& path, int flags)
      : stream_(stream), saved_(::dup(stream)) {
    const int fd = ::open(path.c_str(), flags);
    ::dup2(fd, stream);
    ::close(fd);
  }
  ~Redirected() {
    ::dup2(saved_, stream_);
    ::close(saved_);
  }
  Redirected(const Redirected&) = delete;
  Redirected& operator=(const Redirected&) = delete;

 private:
  int stream_;
  int saved_;
};

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

TEST(StdioFileSystem, CountsTheBytesReadOfAFileOfKnownSize) {
  TempFolder folder;
  const std::string path = folder / "a.pot";
  WriteFile(path, "0123456789");
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
  EXPECT_FALSE(files.OpenForReading(folder / "none.pot", ec));
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST(StdioFileSystem, ReadsStandardInputAndSeesWhenItIsTheOutputFile) {
  TempFolder folder;
  const std::string path = folder / "a.pot";
  WriteFile(path, "ORD=POI\r\n");
  Redirected redirect(STDIN_FILENO, path, O_RDONLY);
  StdioFileSystem files;
  EXPECT_TRUE(files.NameSameFile(kIn, path));
  EXPECT_TRUE(files.NameSameFile(path, kIn));
  EXPECT_FALSE(files.NameSameFile(kIn, folder / "other.nvi"));
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
  const std::string path = folder / "a.pot";
  WriteFile(path, "ORD=POI\r\n");
  StdioFileSystem files;
  bool sameAsInput = false;
  bool sameAsOther = true;
  bool sameAsStdin = false;
  {
    Redirected out(STDOUT_FILENO, path, O_RDWR);
    Redirected in(STDIN_FILENO, path, O_RDONLY);
    sameAsInput = files.NameSameFile(path, kOut);
    sameAsOther = files.NameSameFile(folder / "b.pot", kOut);
    sameAsStdin = files.NameSameFile(kIn, kOut);
  }
  EXPECT_TRUE(sameAsInput);
  EXPECT_FALSE(sameAsOther);
  EXPECT_TRUE(sameAsStdin);
  EXPECT_EQ(ReadFile(path), "ORD=POI\r\n");
}

}  // namespace
}  // namespace velorin
