// velorin-cli on Windows: an existing output is never overwritten without
// --force, even one marked hidden or system that the window's look-up passes
// over.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

struct MarkedOutputCase {
  const char* name;
  DWORD attributes;
};

void PrintTo(const MarkedOutputCase& c, std::ostream* out) { *out << c.name; }

class MarkedOutputTest : public ::testing::TestWithParam<MarkedOutputCase> {};

TEST_P(MarkedOutputTest, IsNotOverwrittenWithoutForce) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string input = folder.PathOf("a.pot");
  const std::string output = folder.PathOf("a.nvi");
  WriteBytes(input, "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n");
  WriteBytes(output, "keep me");
  ASSERT_TRUE(SetFileAttributesW(std::filesystem::path(output).c_str(), GetParam().attributes));
  ConvertOptions options;
  options.input = input;
  options.output = output;
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), kExitRefused) << err.str();
  SetFileAttributesW(std::filesystem::path(output).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(output), "keep me");
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkedOutputTest,
                         ::testing::Values(MarkedOutputCase{"Plain", FILE_ATTRIBUTE_NORMAL},
                                           MarkedOutputCase{"Hidden", FILE_ATTRIBUTE_HIDDEN},
                                           MarkedOutputCase{"System", FILE_ATTRIBUTE_SYSTEM}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
