#include "convert/conversion_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "run_fixture.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velorin::testing {
namespace {

using ::testing::ElementsAre;

TEST(CountText, IsABlankAndTheDigits) {
  EXPECT_EQ(CountText(0), " 0");
  EXPECT_EQ(CountText(7), " 7");
  EXPECT_EQ(CountText(1'000'000), " 1000000");
  EXPECT_EQ(CountText(2'147'483'647), " 2147483647");
}

TEST(RequestCancel, AsksWithNoAsTheDefault) {
  ScriptedHost host;
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kNo);
  RequestCancel(host);
  EXPECT_FALSE(host.Presenter().CancelRequested());
  ASSERT_EQ(host.boxes.size(), 1u);
  const MessageBoxRequest& box = host.boxes[0];
  EXPECT_EQ(box.kind, RunMessage::kCancelQuestion);
  EXPECT_EQ(box.title, "m90");
  EXPECT_EQ(box.text, "m108\r\nm109");
  EXPECT_EQ(box.buttons, MessageButtons::kYesNo);
  EXPECT_EQ(box.defaultAnswer, MessageAnswer::kNo);
}

// A box closed otherwise than by Yes (Escape, its close button: an answer
// that is neither Yes nor No) goes on with the run.
TEST(RequestCancel, SetsTheFlagOnlyWhenTheAnswerIsYes) {
  for (const auto& [answer, cancels] :
       {std::pair{MessageAnswer::kYes, true}, std::pair{MessageAnswer::kNo, false},
        std::pair{MessageAnswer::kOk, false}}) {
    ScriptedHost host;
    host.Answer(RunMessage::kCancelQuestion, answer);
    RequestCancel(host);
    EXPECT_EQ(host.Presenter().CancelRequested(), cancels) << static_cast<int>(answer);
  }
}

TEST_F(RunTest, WorkedExampleGivesTheReferenceFiles) {
  host.settings = {{1, "0"}, {3, "1"}};
  WriteInput(ReferenceFile("worked_example.pot"));
  const RunOutcome outcome = RunAnsweringYes();

  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.failedStage, RunStage::kNone);
  const std::string nvi = Output();
  EXPECT_EQ(nvi, ReferenceFile("worked_example.nvi"));
  EXPECT_EQ(std::count(nvi.begin(), nvi.end(), '\n'), 24);
  EXPECT_EQ(nvi.find('\r'), std::string::npos);
  EXPECT_EQ(nvi.substr(0, 17), "NPOIs100@NRA/R1;\n");
  EXPECT_EQ(ReadBytes(LogPath()), ReferenceFile("worked_example.log"));

  const MessageBoxRequest& box = LastBox();
  EXPECT_EQ(box.title, "m90");
  EXPECT_EQ(box.text, "m106\r\nm107 2");
  EXPECT_EQ(box.buttons, MessageButtons::kOk);
  EXPECT_EQ(box.defaultAnswer, MessageAnswer::kOk);
}

TEST_F(RunTest, CallsTheHostInOrder) {
  WriteInput(ReferenceFile("worked_example.pot"));
  host.settings = {{1, "0"}, {3, "1"}};
  RunAnsweringYes();
  EXPECT_THAT(host.calls,
              ElementsAre("drops off", "box start question", "panel 1", "progress m5 0",
                          "progress m5 1", "progress m5 2", "panel 0", "box finished", "drops on"));
  EXPECT_EQ(host.processEventsCalls, 3);
  const MessageBoxRequest& start = host.boxes.front();
  EXPECT_EQ(start.title, "m90");
  EXPECT_EQ(start.text, "m100\r\nm101");
  EXPECT_EQ(start.buttons, MessageButtons::kYesNo);
  EXPECT_EQ(start.defaultAnswer, MessageAnswer::kYes);
}

// The files of an empty input are the reference case empty_input's.
TEST_F(RunTest, EmptyInputFinishesWithACountOfZero) {
  WriteInput("");
  EXPECT_EQ(RunAnsweringYes().records, 0);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 0");
  EXPECT_EQ(host.processEventsCalls, 0);
}

TEST_F(RunTest, NoPointLineGivesAnEmptyNviAndSkippedLogLines) {
  host.settings[3] = "1";
  WriteInput("HEADER\r\nORD=POI/tex=A\r\n\r\n");
  EXPECT_EQ(RunAnsweringYes().records, 0);
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(ReadBytes(LogPath()),
            "Line# 0\twas Skipped\r\nLine# 0\twas Skipped\r\nLine# 0\twas Skipped\r\n");
}

TEST_F(RunTest, LoggingOffLeavesAnOldLogUntouched) {
  for (const char* setting : {"0", "", "1 ", " 1", "true"}) {
    SCOPED_TRACE(setting);
    WriteBytes(LogPath(), "old log\r\n");
    host.settings[3] = setting;
    WriteInput(PointLine("A") + "\r\n");
    EXPECT_EQ(RunAnsweringYes().records, 1);
    EXPECT_EQ(ReadBytes(LogPath()), "old log\r\n");
  }
}

TEST_F(RunTest, SecondRunReplacesTheLog) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\nskipped\r\n");
  RunAnsweringYes();
  const std::string first = ReadBytes(LogPath());
  EXPECT_EQ(first.substr(0, 9), "Line# 1\tA");
  RunAnsweringYes();
  EXPECT_EQ(ReadBytes(LogPath()), first);
}

TEST_F(RunTest, LogGoesWhereTheHostSays) {
  host.settings[3] = "1";
  host.logPath = folder.PathOf("elsewhere.txt");
  WriteInput("x\r\n");
  RunAnsweringYes();
  EXPECT_EQ(ReadBytes(folder.PathOf("elsewhere.txt")), "Line# 0\twas Skipped\r\n");
  EXPECT_FALSE(Exists(LogPath()));
}

#ifndef _WIN32
// A named pipe that goes quiet: the host keeps hearing its events while the
// run waits, and Cancel ends the run with what had come.
TEST_F(RunTest, QuietNamedPipeStillHearsCancel) {
  ASSERT_EQ(::mkfifo(host.inputPath.c_str(), 0600), 0);
  // Open for reading and writing: the run's open does not wait for a writer,
  // and the pipe never ends.
  const int pipe = ::open(host.inputPath.c_str(), O_RDWR);
  ASSERT_GE(pipe, 0);
  const std::string line = PointLine("A") + "\r\n";
  ASSERT_EQ(::write(pipe, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kYes);
  host.OnProcessEvents(5, [&] { RequestCancel(host); });
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kCancelled);
  ::close(pipe);
  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(Output(), NviBlock("A", kPosition135x35));
}
#endif

TEST_F(RunTest, CancelAnsweredNoThenYesStopsBeforeTheNextLine) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\n" + PointLine("B") + "\r\n" + PointLine("C") + "\r\n" +
             PointLine("D") + "\r\n");
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kNo);
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kYes);
  std::vector<std::string> countsSeen;
  host.OnProcessEvents(2, [&] {
    countsSeen.push_back(host.progressTexts.back());
    RequestCancel(host);
  });
  host.OnProcessEvents(3, [&] {
    countsSeen.push_back(host.progressTexts.back());
    RequestCancel(host);
  });
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kCancelled);
  const RunOutcome outcome = Run();

  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_THAT(countsSeen, ElementsAre("m5 1", "m5 2"));
  EXPECT_EQ(host.processEventsCalls, 3);
  EXPECT_EQ(Output(), NviBlock("A", kPosition135x35) + NviBlock("B", kPosition135x35));
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "box cancel question"), 2);
  const std::string log = ReadBytes(LogPath());
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
  EXPECT_EQ(LastBox().kind, RunMessage::kCancelled);
  EXPECT_EQ(LastBox().title, "m90");
  EXPECT_EQ(LastBox().text, "m110\r\nm111 2");
  EXPECT_EQ(host.calls.back(), "drops on");
}

TEST_F(RunTest, CancelBeforeTheFirstLineWritesNothing) {
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kYes);
  host.OnProcessEvents(1, [&] { RequestCancel(host); });
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kCancelled);
  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(LastBox().text, "m110\r\nm111 0");
}

TEST_F(RunTest, AnEarlierCancelIsClearedAtTheStart) {
  WriteInput(PointLine("A") + "\r\n");
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kYes);
  RequestCancel(host);
  EXPECT_EQ(RunAnsweringYes().result, RunResult::kFinished);
  EXPECT_EQ(Output(), NviBlock("A", kPosition135x35));
}

TEST_F(RunTest, RecordLimitLeavesTheRestUnreadAndUnlogged) {
  host.settings[3] = "1";
  WriteInput("x\r\n" + PointLine("A") + "\r\ny\r\n" + PointLine("B") + "\r\n" + PointLine("C") +
             "\r\nz\r\n");
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, {.run = {.recordLimit = 2}});
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(host.processEventsCalls, 4);
  EXPECT_EQ(Output(), NviBlock("A", kPosition135x35) + NviBlock("B", kPosition135x35));
  const std::string log = ReadBytes(LogPath());
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4);
  EXPECT_EQ(log.substr(log.rfind("Line#"), 9), "Line# 2\tB");
  // A third line says from which input line on nothing was converted.
  EXPECT_EQ(outcome.firstLineNotConverted, 5);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 2\r\nm112 5");
}

TEST_F(RunTest, InputEndingExactlyAtTheRecordLimitFinishesAsUsual) {
  WriteInput("x\r\n" + PointLine("A") + "\r\n" + PointLine("B") + "\r\n");
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, {.run = {.recordLimit = 2}});
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.firstLineNotConverted, 0);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 2");
}

TEST_F(RunTest, ProgressShowsOnlyWrittenRecords) {
  WriteInput("x\r\n" + PointLine("A") + "\r\ny\r\nz\r\n" + PointLine("B") + "\r\n");
  RunAnsweringYes();
  EXPECT_THAT(host.progressTexts, ElementsAre("m5 0", "m5 1", "m5 2"));
}

class RecordingObserver : public RunObserver {
 public:
  void OnSkipped(const ReadEntry& entry, SkipKind, std::string_view reason) override {
    const std::int64_t line = entry.point.line;
    seen.emplace_back(line, std::string(reason.substr(0, reason.find(':'))));
  }
  std::vector<std::pair<std::int64_t, std::string>> seen;
};

TEST_F(RunTest, ObserverHearsOfSkippedPointLinesOnly) {
  WriteInput("HEADER\r\nORD=POI/tex=A\r\n" + PointLine("B") +
             "\r\n\r\nord=poi/tex=C/kei=181'0'0'0/ido=1'0'0'0\r\nORD=TRK\r\n");
  RecordingObserver observer;
  EXPECT_EQ(RunAnsweringYes(RunMessage::kFinished, {.run = {.observer = &observer}}).records, 1);
  EXPECT_THAT(observer.seen,
              ElementsAre(std::pair<std::int64_t, std::string>(2, "no longitude"),
                          std::pair<std::int64_t, std::string>(5, "longitude text rejected")));
}

}  // namespace
}  // namespace velorin::testing
