// velorin-cli as a whole process: signals while a pipe is quiet, output that
// streams as input arrives, runs that race for one output, real faults.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_system.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

using namespace std::chrono_literals;
using testing::Child;
using testing::ChildSetup;

constexpr const char* kStamp = "--timestamp=2010/04/01 14:30:00";
// Generous: only a run that never ends runs into it.
constexpr auto kPatience = 20s;

std::string PointLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0\r\n";
}

std::string Block(const std::string& title) {
  return "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $13D5FD5FD5FD4C00;\n TTL= {" +
         title +
         "};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n LNKF = {};\n COMM = {};\n"
         "eoNPOIs@NRA\n";
}

ChildSetup Command(std::vector<std::string> arguments) {
  ChildSetup setup;
  setup.arguments = std::move(arguments);
  return setup;
}

std::string Repeat(const std::string& text, int count) {
  std::string all;
  for (int i = 0; i < count; ++i) all += text;
  return all;
}

class CliProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::unique_ptr<Child> Start(ChildSetup setup) {
    if (setup.workingFolder.empty()) setup.workingFolder = folder_.PathOf("");
    auto child = std::make_unique<Child>(VELORIN_CLI, setup);
    EXPECT_TRUE(child->started());
    return child;
  }
  std::vector<std::string> Names() const { return folder_.Names(); }
  /// The size of the run's temporary output file, once there is one.
  std::uintmax_t TemporarySize() const {
    for (const std::string& name : Names()) {
      if (name.rfind(".out.nvi.velorin-", 0) == 0) {
        std::error_code ec;
        return std::filesystem::file_size(folder_.PathOf(name), ec);
      }
    }
    return 0;
  }
  bool WaitForTemporarySize(std::uintmax_t size) const {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
      if (TemporarySize() >= size) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  TempFolder folder_;
};

struct SignalCase {
  const char* name;
  int signal;
  int exitCode;
};

void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class QuietPipeSignalTest : public CliProcessTest,
                            public ::testing::WithParamInterface<SignalCase> {};

// A signal while the input pipe is quiet ends the run at once, as cancelled:
// the whole blocks so far become the output; a line cut short does not count.
TEST_P(QuietPipeSignalTest, EndsTheRunWithTheWholeBlocks) {
  const SignalCase& c = GetParam();
  WriteBytes(folder_.PathOf("out.nvi"), "old");
  auto child = Start(Command({"convert", "--force", kStamp, "-", "out.nvi"}));
  child->WriteStdin(PointLine("A") + PointLine("B") + "ORD=POI/tex=C/kei=135'0");
  ASSERT_TRUE(WaitForTemporarySize(Block("A").size() * 2)) << "the blocks never came";
  child->Signal(c.signal);
  ASSERT_TRUE(child->Wait(kPatience)) << "the run did not end while the pipe stayed open";
  EXPECT_EQ(child->ExitCode(), c.exitCode);
  EXPECT_EQ(child->Stderr(), "interrupted: 2 records written to out.nvi\n");
  EXPECT_EQ(ReadBytes(folder_.PathOf("out.nvi")), Block("A") + Block("B"));
  EXPECT_EQ(Names(), std::vector<std::string>{"out.nvi"});
}

INSTANTIATE_TEST_SUITE_P(Signals, QuietPipeSignalTest,
                         ::testing::Values(SignalCase{"Interrupt", SIGINT, 130},
                                           SignalCase{"Terminate", SIGTERM, 143},
                                           SignalCase{"HangUp", SIGHUP, 129}),
                         [](const auto& info) { return std::string(info.param.name); });

// A run stuck where it cannot look at the flag (here: opening a log that is a
// pipe nobody reads) is ended by a second Ctrl-C, without a trace.
TEST_F(CliProcessTest, SecondInterruptEndsTheProgramAndKeepsTheOldOutput) {
  WriteBytes(folder_.PathOf("in.pot"), PointLine("A"));
  WriteBytes(folder_.PathOf("out.nvi"), "old");
  ASSERT_EQ(::mkfifo((folder_.PathOf("log.fifo")).c_str(), 0600), 0);
  auto child =
      Start(Command({"convert", "--force", "--log=log.fifo", kStamp, "in.pot", "out.nvi"}));
  // The temporary output exists once the log is being opened.
  const auto end = std::chrono::steady_clock::now() + kPatience;
  while (Names().size() < 4 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_EQ(Names().size(), 4u) << "no temporary output appeared";
  child->Signal(SIGINT);
  EXPECT_FALSE(child->Wait(300ms)) << "a run waiting to open its log cannot stop by itself";
  child->Signal(SIGINT);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->EndingSignal(), SIGINT);
  EXPECT_EQ(ReadBytes(folder_.PathOf("out.nvi")), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"in.pot", "log.fifo", "out.nvi"}));
}

// Lines that come through a pipe are converted and passed on as they come.
TEST_F(CliProcessTest, BlocksStreamAsLinesArrive) {
  auto child = Start(Command({"convert", kStamp, "-", "-"}));
  for (const char* title : {"A", "B"}) {
    child->WriteStdin(PointLine(title));
    EXPECT_EQ(child->ReadStdout(Block(title).size(), kPatience), Block(title));
  }
  child->CloseStdin();
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 0);
}

// Two runs on one output: each writes a whole file of its own; the last to
// finish wins, and nothing is torn.
TEST_F(CliProcessTest, ConcurrentRunsNeverTearTheOutput) {
  const int lines = 30'000;
  WriteBytes(folder_.PathOf("a.pot"), Repeat(PointLine("A"), lines));
  WriteBytes(folder_.PathOf("b.pot"), Repeat(PointLine("B"), lines));
  const std::string a = Repeat(Block("A"), lines);
  const std::string b = Repeat(Block("B"), lines);
  for (int round = 0; round < 3; ++round) {
    auto first = Start(Command({"convert", "--force", kStamp, "a.pot", "out.nvi"}));
    auto second = Start(Command({"convert", "--force", kStamp, "b.pot", "out.nvi"}));
    ASSERT_TRUE(first->Wait(kPatience) && second->Wait(kPatience));
    EXPECT_EQ(first->ExitCode(), 0) << first->Stderr();
    EXPECT_EQ(second->ExitCode(), 0) << second->Stderr();
    const std::string out = ReadBytes(folder_.PathOf("out.nvi"));
    EXPECT_TRUE(out == a || out == b) << "round " << round << ": " << out.size() << " bytes";
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.pot", "b.pot", "out.nvi"}));
  }
}

struct FaultCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<rlim_t> fileSizeLimit;
  const char* stderrEnd;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class OutputFaultTest : public CliProcessTest, public ::testing::WithParamInterface<FaultCase> {};

// A run that fails costs no file: the output is as it was, and says so;
// a log that fails does the same (ConvertInMemory's FormatCommand table).
TEST_P(OutputFaultTest, ExistingOutputStaysAsItWas) {
  const FaultCase& c = GetParam();
  WriteBytes(folder_.PathOf("in.pot"), Repeat(PointLine("A"), 20'000));
  WriteBytes(folder_.PathOf("out.nvi"), "old");
  ChildSetup setup = Command({"convert", "--force", kStamp});
  setup.arguments.insert(setup.arguments.end(), c.arguments.begin(), c.arguments.end());
  setup.fileSizeLimit = c.fileSizeLimit;
  auto child = Start(setup);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 1);
  const std::string err = child->Stderr();
  EXPECT_EQ(err.substr(err.size() - std::min(err.size(), std::strlen(c.stderrEnd))), c.stderrEnd)
      << err;
  EXPECT_EQ(ReadBytes(folder_.PathOf("out.nvi")), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"in.pot", "out.nvi"}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OutputFaultTest,
    ::testing::Values(FaultCase{
        "FileSizeLimit",
        {"in.pot", "out.nvi"},
        256 * 1024,
        ": File too large\nvelorin-cli: output file 'out.nvi' left unchanged\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files that would be one: refused before anything is opened for writing.
TEST_F(CliProcessTest, ClashesAreRefusedBeforeAnythingIsWritten) {
  WriteBytes(folder_.PathOf("in.pot"), PointLine("A"));
  {
    // "convert in.pot - 1<>in.pot": standard output opened onto the input.
    ChildSetup setup = Command({"convert", kStamp, "in.pot", "-"});
    setup.stdoutFile = folder_.PathOf("in.pot");
    auto child = Start(setup);
    ASSERT_TRUE(child->Wait(kPatience));
    EXPECT_EQ(child->ExitCode(), 3) << child->Stderr();
  }
  {
    // A log that will be the output, neither there yet.
    auto child = Start(Command({"convert", kStamp, "--log", "./out.nvi", "in.pot", "out.nvi"}));
    ASSERT_TRUE(child->Wait(kPatience));
    EXPECT_EQ(child->ExitCode(), 3) << child->Stderr();
  }
  EXPECT_EQ(ReadBytes(folder_.PathOf("in.pot")), PointLine("A"));
  EXPECT_EQ(Names(), std::vector<std::string>{"in.pot"});
}

// The record limit never passes in silence: exit 4 and the first line left.
TEST_F(CliProcessTest, RecordLimitCuttingTheInputShortExitsWithFour) {
  const std::string limit = Repeat(PointLine("A"), 1'000'000);
  WriteBytes(folder_.PathOf("exact.pot"), limit);
  WriteBytes(folder_.PathOf("more.pot"), limit + "\r\n" + PointLine("B"));
  struct Case {
    const char* input;
    int exitCode;
    const char* lastLine;
  };
  const Case cases[] = {
      {"exact.pot", 0, "1000000 records written to standard output\n"},
      {"more.pot", 4,
       "velorin-cli: the limit of 1000000 records was reached; input lines from line 1000001 on "
       "were not converted\n"},
  };
  for (const Case& c : cases) {
    ChildSetup setup = Command({"convert", kStamp, c.input, "-"});
    setup.stdoutFile = "/dev/null";
    auto child = Start(setup);
    ASSERT_TRUE(child->Wait(120s));
    EXPECT_EQ(child->ExitCode(), c.exitCode) << c.input;
    const std::string err = child->Stderr();
    EXPECT_EQ(err.substr(err.rfind('\n', err.size() - 2) + 1), c.lastLine) << err;
  }
}

}  // namespace
}  // namespace velorin
