// The checks before anything is opened: same path, start and overwrite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "run_fixture.h"
#include "tests/support/test_system.h"

namespace velorin::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(RunTest, StartAnsweredNoOpensNothing) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kNo);
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.result, RunResult::kDeclinedStart);
  EXPECT_EQ(outcome.records, 0);
  EXPECT_FALSE(Exists(host.outputPath));
  EXPECT_FALSE(Exists(LogPath()));
  EXPECT_THAT(host.calls, ElementsAre("drops off", "box start question", "drops on"));
}

TEST_F(RunTest, StartAnsweredNoLeavesAnExistingOutputAlone) {
  WriteBytes(host.outputPath, "old nvi");
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kNo);
  EXPECT_EQ(Run().result, RunResult::kDeclinedStart);
  EXPECT_EQ(Output(), "old nvi");
}

TEST_F(RunTest, OverwriteAnsweredNoLeavesTheOutputUnchanged) {
  host.settings[3] = "1";
  WriteBytes(host.outputPath, "old nvi");
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.Answer(RunMessage::kOverwriteQuestion, MessageAnswer::kNo);
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.result, RunResult::kDeclinedOverwrite);
  EXPECT_EQ(Output(), "old nvi");
  EXPECT_FALSE(Exists(LogPath()));
  EXPECT_THAT(host.calls,
              ElementsAre("drops off", "box start question", "box overwrite question", "drops on"));
  const MessageBoxRequest& box = host.boxes.back();
  EXPECT_EQ(box.title, "m90");
  EXPECT_EQ(box.text, "m102\r\nm103");
  EXPECT_EQ(box.buttons, MessageButtons::kYesNo);
  EXPECT_EQ(box.defaultAnswer, MessageAnswer::kNo);
}

TEST_F(RunTest, OverwriteAnsweredYesReplacesTheOutput) {
  WriteBytes(host.outputPath, std::string(5000, 'x'));
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.Answer(RunMessage::kOverwriteQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFinished);
  EXPECT_EQ(Run().result, RunResult::kFinished);
  EXPECT_EQ(Output(), NviBlock("A", kPosition135x35));
}

TEST_F(RunTest, OverwriteIsAskedThroughALinkToAFile) {
  WriteBytes(folder.PathOf("target.nvi"), "old nvi");
  if (!testutil::MakeSymbolicLink(folder.PathOf("target.nvi"), host.outputPath)) {
    GTEST_SKIP() << "no symbolic links here";
  }
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.Answer(RunMessage::kOverwriteQuestion, MessageAnswer::kNo);
  EXPECT_EQ(Run().result, RunResult::kDeclinedOverwrite);
  EXPECT_EQ(ReadBytes(folder.PathOf("target.nvi")), "old nvi");
}

struct SamePathCase {
  const char* input;
  const char* output;
  const char* focus;
};

// Equal texts are one file. Texts that differ only in letter case name two
// files on a case-sensitive disk, so those runs go on to the start question;
// on Windows they are one file, refused like equal texts.
TEST_F(RunTest, SamePathTextsAreRefusedWithoutTouchingFiles) {
  const bool ignoreCase = testutil::kNamesIgnoreCase;
  const SamePathCase cases[] = {
      {"x.nvi", "x.nvi", "focus input"},
      {"a.Nvi", "a.Nvi", "focus input"},
      {"nvi", "nvi", "focus output"},
      {"", "", "focus output"},
      {"C:\\data\\a.pot", "c:\\DATA\\A.POT", ignoreCase ? "focus output" : nullptr},
      {"X.NVI", "x.nvi", ignoreCase ? "focus input" : nullptr},
      {"nvi", "NVI", ignoreCase ? "focus output" : nullptr},
  };
  for (const SamePathCase& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " / " + c.output);
    ScriptedHost host;
    host.inputPath = c.input;
    host.outputPath = c.output;
    if (c.focus == nullptr) {
      host.Answer(RunMessage::kStartQuestion, MessageAnswer::kNo);
      const RunOutcome ran = host.Run(files, clock, host.Options());
      EXPECT_EQ(ran.result, RunResult::kDeclinedStart);
      continue;
    }
    host.ExpectBox(RunMessage::kSamePath);
    const RunOutcome ran = host.Run(files, clock, host.Options());
    EXPECT_EQ(ran.result, RunResult::kRefusedSamePath);
    EXPECT_THAT(host.calls, ElementsAre("drops off", "box same path", c.focus, "drops on"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "m91");
    EXPECT_EQ(host.boxes[0].text, "m120\r\nm121");
    EXPECT_EQ(host.boxes[0].buttons, MessageButtons::kOk);
  }
}

// On a case-sensitive disk "a.pot" and "A.POT" are two files; on Windows
// one, and the input must survive.
TEST_F(RunTest, NamesDifferingInCaseAreTwoFilesWhereTheDiskSaysSo) {
  host.inputPath = folder.PathOf("a.pot");
  host.outputPath = folder.PathOf("A.POT");
  WriteInput(PointLine("A") + "\r\n");
  if (testutil::kNamesIgnoreCase) {
    host.ExpectBox(RunMessage::kSamePath);
    EXPECT_EQ(Run().result, RunResult::kRefusedSamePath);
  } else {
    EXPECT_EQ(RunAnsweringYes().result, RunResult::kFinished);
    EXPECT_EQ(Output(), NviBlock("A", kPosition135x35));
  }
  EXPECT_EQ(ReadBytes(host.inputPath), PointLine("A") + "\r\n");
}

// The log is written while the run reads and writes: a log that is the
// output (or the input) would overwrite it. Refused like equal paths,
// whether the file exists yet or not.
TEST_F(RunTest, LogThatIsTheOutputOrTheInputIsRefused) {
  const SamePathCase cases[] = {
      {"in.pot", "velorin_log.txt", "focus output"},
      {"in.pot", "./velorin_log.txt", "focus output"},
      {"velorin_log.txt", "out.nvi", "focus input"},
  };
  for (const SamePathCase& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " / " + c.output);
    ScriptedHost host;
    host.settings[3] = "1";
    host.logPath = folder.PathOf("velorin_log.txt");
    host.inputPath = folder.PathOf(c.input);
    host.outputPath = folder.PathOf(c.output);
    host.ExpectBox(RunMessage::kSamePath);
    const RunOutcome ran = host.Run(files, clock, host.Options());
    EXPECT_EQ(ran.result, RunResult::kRefusedSamePath);
    EXPECT_THAT(host.calls, ElementsAre("drops off", "box same path", c.focus, "drops on"));
    EXPECT_FALSE(Exists(folder.PathOf("velorin_log.txt")));
  }
}

TEST_F(RunTest, TwoNamesOfOneFileAreRefused) {
  const std::string pot = PointLine("A") + "\r\n";
  WriteBytes(folder.PathOf("a.pot"), pot);
  std::filesystem::create_hard_link(folder.PathOf("a.pot"), folder.PathOf("hard.pot"));
  std::vector<SamePathCase> cases = {
      {"a.pot", "hard.pot", "focus output"},
      {"a.pot", "./a.pot", "focus output"},
      {"a.pot", "sub/../a.pot", "focus output"},
  };
  if (testutil::MakeSymbolicLink(folder.PathOf("a.pot"), folder.PathOf("link.nvi"))) {
    cases.push_back({"a.pot", "link.nvi", "focus input"});  // a link named like an output
    cases.push_back({"link.nvi", "a.pot", "focus output"});
  }
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("sub")));
  for (const SamePathCase& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " / " + c.output);
    ScriptedHost host;
    host.inputPath = folder.PathOf(c.input);
    host.outputPath = folder.PathOf(c.output);
    host.ExpectBox(RunMessage::kSamePath);
    const RunOutcome ran = host.Run(files, clock, host.Options());
    EXPECT_EQ(ran.result, RunResult::kRefusedSamePath);
    EXPECT_THAT(host.calls, ElementsAre("drops off", "box same path", c.focus, "drops on"));
    EXPECT_EQ(ReadBytes(folder.PathOf("a.pot")), pot);
  }
}

}  // namespace
}  // namespace velorin::testing
