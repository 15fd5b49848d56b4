#include "cli/convert_names.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/exit_codes.h"
#include "platform/memory_file_system.h"

namespace velorin {
namespace {

struct FolderCase {
  const char* name;
  const char* folder;  ///< --output-dir
  bool withLog;        ///< --log given too
  const char* said;    ///< the start of what standard error gets
};

class OutputFolderTest : public ::testing::TestWithParam<FolderCase> {};

// The folder is looked for in the file system the command is given: it
// exists in memory only, so a check on the disk would refuse it.
TEST_P(OutputFolderTest, IsLookedForBeforeAnythingIsConverted) {
  MemoryFileSystem files;
  files.AddFile("/in/a.gpx", "<gpx/>");
  files.AddFolder("/out");
  files.AddFile("/file.txt", "a file, not a folder");
  ConvertOptions options;
  options.input = "/in/a.gpx";
  if (GetParam().withLog) options.logPath = "/out/log.txt";
  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertEach(options, GetParam().folder, console, files), kExitUsage);
  EXPECT_TRUE(err.str().starts_with(GetParam().said)) << err.str();
  EXPECT_FALSE(files.Contents("/out/a.nvi").has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OutputFolderTest,
    ::testing::Values(
        FolderCase{"Missing", "/none", false, "velorin-cli: output folder '/none' does not exist"},
        FolderCase{"AFile", "/file.txt", false,
                   "velorin-cli: output folder '/file.txt' does not exist or is no folder"},
        FolderCase{"ThereButALogIsGiven", "/out", true, "velorin-cli: --log names one file"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
