// velorin-cli convert on a file system held in memory: the refusals and the
// failures a disk gives, planted where they are wanted, with what the
// command says of each and what becomes of the files.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/convert_command.h"
#include "cli/convert_names.h"
#include "cli/exit_codes.h"
#include "platform/memory_file_system.h"

namespace velorin {
namespace {

constexpr const char* kPot = "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n";
constexpr const char* kOldOutput = "the output as it was";
/// Stands for an output written anew.
constexpr const char* kWritten = "NVI";

using Faults = MemoryFileSystem::Faults;

Faults OpenFails() {
  Faults faults;
  faults.open = std::errc::permission_denied;
  return faults;
}

Faults ReadFailsAfter(std::size_t bytes) {
  Faults faults;
  faults.readFailsAfter = bytes;
  return faults;
}

Faults WriteFailsAfter(std::size_t bytes) {
  Faults faults;
  faults.writeFailsAfter = bytes;
  return faults;
}

Faults CommitFails() {
  Faults faults;
  faults.commitFails = true;
  return faults;
}

struct MemoryCase {
  const char* name;
  const char* output;  ///< the output path, -o
  MemoryFileSystem::Faults inputFaults;
  MemoryFileSystem::Faults outputFaults;
  bool force;
  int exitCode;
  std::string said;  ///< standard error, whole
  /// The output afterwards (kWritten: an NVI file); nothing: no such file.
  std::optional<std::string> result;
};

void PrintTo(const MemoryCase& c, std::ostream* out) { *out << c.name; }

class ConvertInMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(ConvertInMemory, SaysWhatBecameOfTheFiles) {
  const MemoryCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFile("/d/in.pot", kPot);
  files.AddFile("/d/old.nvi", kOldOutput);
  files.AddLink("/d/same.nvi", "/d/in.pot");
  files.FaultsOf("/d/in.pot") = c.inputFaults;
  files.FaultsOf("/d/out.nvi") = c.outputFaults;
  files.FaultsOf("/d/old.nvi") = c.outputFaults;
  ConvertOptions options;
  options.input = "/d/in.pot";
  options.output = c.output;
  options.timestamp = "2010/04/01 14:30:00";
  options.force = c.force;
  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), c.exitCode);
  EXPECT_EQ(err.str(), c.said);
  EXPECT_EQ(files.Contents("/d/in.pot"), kPot);
  const std::optional<std::string> output = files.Contents(c.output);
  if (c.result == kWritten) {
    ASSERT_TRUE(output.has_value());
    EXPECT_TRUE(output->starts_with("NPOIs100@NRA/R1;")) << *output;
  } else {
    EXPECT_EQ(output, c.result);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertInMemory,
    ::testing::Values(
        MemoryCase{"Written",
                   "/d/out.nvi",
                   {},
                   {},
                   false,
                   kExitDone,
                   "1 record written to /d/out.nvi\n",
                   kWritten},
        MemoryCase{"OutputIsTheInputByALink",
                   "/d/same.nvi",
                   {},
                   {},
                   true,
                   kExitRefused,
                   "velorin-cli: input file '/d/in.pot' and output file '/d/same.nvi' are the "
                   "same file\n",
                   kPot},
        MemoryCase{"InputNotOpened",
                   "/d/out.nvi",
                   OpenFails(),
                   {},
                   false,
                   kExitFailed,
                   "velorin-cli: cannot open input file '/d/in.pot': Permission denied\n",
                   std::nullopt},
        MemoryCase{"InputReadFails",
                   "/d/out.nvi",
                   ReadFailsAfter(10),
                   {},
                   false,
                   kExitFailed,
                   "velorin-cli: read error on input file '/d/in.pot': Input/output error\n"
                   "velorin-cli: output file '/d/out.nvi' not created\n",
                   std::nullopt},
        MemoryCase{"DiskFull",
                   "/d/out.nvi",
                   {},
                   WriteFailsAfter(100),
                   false,
                   kExitFailed,
                   "velorin-cli: write error on output file '/d/out.nvi': No space left on "
                   "device\nvelorin-cli: output file '/d/out.nvi' not created\n",
                   std::nullopt},
        MemoryCase{"ExistingOutputKeptWithoutForce",
                   "/d/old.nvi",
                   {},
                   {},
                   false,
                   kExitRefused,
                   "velorin-cli: output file '/d/old.nvi' exists; use --force to overwrite it\n",
                   kOldOutput},
        MemoryCase{"ReplacingFailsAtTheEnd",
                   "/d/old.nvi",
                   {},
                   CommitFails(),
                   true,
                   kExitFailed,
                   "velorin-cli: write error on output file '/d/old.nvi': Permission denied\n"
                   "velorin-cli: output file '/d/old.nvi' left unchanged\n",
                   kOldOutput}),
    [](const auto& info) { return std::string(info.param.name); });

// --output-dir refuses a batch whose output is one of its inputs before
// anything is written.
TEST(ConvertInMemoryBatch, RefusesAnOutputThatIsAnInput) {
  MemoryFileSystem files;
  files.AddFile("/d/a.gpx", "<gpx/>");
  files.AddFile("/d/a.pot", kPot);
  ConvertOptions options;
  options.input = "/d/a.pot";
  options.moreInputs = {"/d/a.gpx"};
  options.to = "pot";
  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertEach(options, "/d", console, files), kExitRefused);
  EXPECT_NE(err.str().find("nothing converted"), std::string::npos) << err.str();
  EXPECT_EQ(files.Contents("/d/a.pot"), kPot);
}

}  // namespace
}  // namespace velorin
