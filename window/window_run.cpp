#include "window/window_run.h"

#include <utility>

#include "convert/counting_text.h"
#include "convert/run_summary.h"
#include "formats/output_path.h"

namespace velorin {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Message numbers of the run.
constexpr int kProgressLabel = 5;
constexpr int kQuestionTitle = 90;
constexpr int kErrorTitle = 91;
// The third line of a finished message that the record limit cut short.
constexpr int kLimitReachedText = 112;
// The points skipped, and why, on a line of their own (input other than POT).
constexpr int kSkippedText = 113;
constexpr int kSkippedUntitledText = 114;
constexpr int kSkippedOutOfRangeText = 115;
constexpr int kSkippedUnreadableText = 116;
// The input held routes or tracks alone, which velorin-cli reads on request.
constexpr int kOnlyLinesText = 117;
// Positions could not be moved between datums (PROJ could not be set up);
// the next message is the second line.
constexpr int kShiftFailedText = 172;

/// One box of the run: its title, its two texts, its buttons.
struct BoxText {
  RunMessage kind;
  int title;
  int first;
  int second;
  MessageButtons buttons;
  MessageAnswer defaultAnswer;
};

constexpr BoxText kSamePathBox{RunMessage::kSamePath, kErrorTitle,       120, 121,
                               MessageButtons::kOk,   MessageAnswer::kOk};
constexpr BoxText kStartBox{RunMessage::kStartQuestion, kQuestionTitle,     100, 101,
                            MessageButtons::kYesNo,     MessageAnswer::kYes};
constexpr BoxText kOverwriteBox{RunMessage::kOverwriteQuestion, kQuestionTitle,    102, 103,
                                MessageButtons::kYesNo,         MessageAnswer::kNo};
constexpr BoxText kFinishedBox{RunMessage::kFinished, kQuestionTitle,    106, 107,
                               MessageButtons::kOk,   MessageAnswer::kOk};
constexpr BoxText kCancelQuestionBox{RunMessage::kCancelQuestion, kQuestionTitle,    108, 109,
                                     MessageButtons::kYesNo,      MessageAnswer::kNo};
constexpr BoxText kCancelledBox{RunMessage::kCancelled, kQuestionTitle,    110, 111,
                                MessageButtons::kOk,    MessageAnswer::kOk};

/// The failure message of each stage.
BoxText FailureBox(RunStage stage) {
  int first = 134;
  switch (stage) {
    case RunStage::kOpenInput:
      first = 122;
      break;
    case RunStage::kOpenOutput:
      first = 124;
      break;
    case RunStage::kReadLine:
      first = 126;
      break;
    case RunStage::kWriteRecord:
      first = 128;
      break;
    case RunStage::kOpenLog:
      first = 132;
      break;
    case RunStage::kShiftDatum:
      first = kShiftFailedText;
      break;
    case RunStage::kWriteLog:
    case RunStage::kNone:
      break;
  }
  return {RunMessage::kFailure, kErrorTitle,       first, first + 1,
          MessageButtons::kOk,  MessageAnswer::kOk};
}

/// The failure message of a save from the map, which may write any format:
/// the second lines that speak of the NVI file speak of the file.
BoxText SaveFailureBox(RunStage stage) {
  BoxText box = FailureBox(stage);
  switch (box.second) {
    case 127:
    case 135:
      box.second = 72;
      break;
    case 129:
      box.second = 73;
      break;
    case kShiftFailedText + 1:
      box.second = 74;
      break;
    default:
      break;
  }
  return box;
}

/// Failures of the output file send the user to the output browse command,
/// all others to the input browse command.
RunPath PathOfFailure(RunStage stage) {
  return stage == RunStage::kOpenOutput || stage == RunStage::kWriteRecord ? RunPath::kOutput
                                                                           : RunPath::kInput;
}

MessageAnswer ShowBox(RunWindow& window, const BoxText& box, std::string_view more = {}) {
  MessageBoxRequest request{box.kind, window.MessageText(box.title), window.MessageText(box.first),
                            box.buttons, box.defaultAnswer};
  request.text += kLineBreak;
  request.text += window.MessageText(box.second);
  request.text += more;
  return window.ShowMessageBox(request);
}

/// The window as the engine's host: questions become boxes, the running
/// panel shows once every file is open, the progress label follows the
/// records.
class WindowHost : public RunHost {
 public:
  explicit WindowHost(RunWindow& window)
      : window_(window), progress_(window.MessageText(kProgressLabel) + " ") {}

  bool MayStart() override { return ShowBox(window_, kStartBox) == MessageAnswer::kYes; }
  bool MayReplace(std::string_view) override {
    return ShowBox(window_, kOverwriteBox) == MessageAnswer::kYes;
  }
  void OnRunning() override {
    window_.ShowExecutionPanel(1);
    window_.SetProgressText(progress_.text());
    window_.cancelRequested = false;
  }
  bool EventStep() override {
    window_.ProcessEvents();
    return !window_.cancelRequested;
  }
  void OnRecordWritten(std::int32_t) override {
    // The label follows the count by adding one to its digits.
    progress_.Increment();
    window_.SetProgressText(progress_.text());
  }

 private:
  RunWindow& window_;
  CountingText progress_;
};

/// For input other than POT: CR LF and the points skipped, with why in
/// short ("Points skipped: 3 (no title: 2, unreadable: 1)"); empty when
/// none was.
std::string SkippedLine(RunWindow& window, const RunOutcome& outcome, PointFormat input) {
  const SkipCounts& skipped = outcome.skipped;
  if (InfoOf(input).readByTheLine || skipped.total() == 0) return {};
  std::string line(kLineBreak);
  line += window.MessageText(kSkippedText);
  line += CountText(skipped.total());
  const char* separator = " (";
  for (const auto& [count, text] : {std::pair{skipped.untitled, kSkippedUntitledText},
                                    std::pair{skipped.outOfRange, kSkippedOutOfRangeText},
                                    std::pair{skipped.malformed, kSkippedUnreadableText}}) {
    if (count == 0) continue;
    line += separator;
    line += window.MessageText(text);
    line += CountText(count);
    separator = ", ";
  }
  return line + ")";
}

/// The count, and for a run that ended normally what more there is to say:
/// where the record limit stopped it, the points skipped, an input of
/// routes or tracks alone.
std::string FinishedText(RunWindow& window, const RunOutcome& outcome, PointFormat input) {
  std::string text = CountText(outcome.records);
  if (outcome.result == RunResult::kCancelled) return text;
  if (outcome.firstLineNotConverted > 0) {
    text += kLineBreak;
    text += window.MessageText(kLimitReachedText);
    text += CountText(outcome.firstLineNotConverted);
  }
  text += SkippedLine(window, outcome, input);
  if (HeldOnlyLines(outcome)) {
    text += kLineBreak;
    text += window.MessageText(kOnlyLinesText);
  }
  return text;
}

/// The last message of the run, the layout and the focus it leaves.
void ShowEnd(RunWindow& window, const RunOutcome& outcome, const RunOptions& run) {
  switch (outcome.result) {
    case RunResult::kRefusedSamePath: {
      ShowBox(window, kSamePathBox);
      // An output name without the output's extension is the likelier mistake.
      const bool outputNamedRight =
          HasExtension(run.outputPath, InfoOf(run.outputFormat).extension);
      window.PointAtPath(outputNamedRight ? RunPath::kInput : RunPath::kOutput);
      return;
    }
    case RunResult::kDeclinedStart:
    case RunResult::kDeclinedOverwrite:
      return;
    case RunResult::kFinished:
    case RunResult::kCancelled:
      window.ShowExecutionPanel(0);
      ShowBox(window, outcome.result == RunResult::kCancelled ? kCancelledBox : kFinishedBox,
              FinishedText(window, outcome, run.inputs.front().format));
      return;
    case RunResult::kFailed:
      ShowBox(window, FailureBox(outcome.failedStage));
      window.ShowExecutionPanel(0);
      window.PointAtPath(PathOfFailure(outcome.failedStage));
      return;
  }
}

}  // namespace

RunOutcome RunInWindow(RunWindow& window, FileSystem& files, Clock& clock,
                       WindowRunOptions options) {
  window.SetDropTargetsEnabled(false);
  RunOptions run = std::move(options.run);
  run.inputs.insert(run.inputs.begin(),
                    options.input ? std::move(*options.input)
                                  : RunInput{window.InputPathText(), options.inputFormat});
  // The map's edited points are held in WGS 84, moved there when read.
  if (options.input) run.inputDatum = Datum::kWgs84;
  run.outputPath = window.OutputPathText();
  if (options.log) run.logPath = window.LogFilePath();
  WindowHost host(window);
  ConversionRun conversion(host, files, clock, run);
  const RunOutcome outcome = conversion.Execute();
  ShowEnd(window, outcome, run);
  window.SetDropTargetsEnabled(true);
  return outcome;
}

namespace {

/// The window as the host of a save: it asks only whether a file may be
/// replaced.
class SaveHost : public RunHost {
 public:
  SaveHost(RunWindow& window, bool askToReplace) : window_(window), ask_(askToReplace) {}
  bool MayReplace(std::string_view) override {
    return !ask_ || ShowBox(window_, kOverwriteBox) == MessageAnswer::kYes;
  }
  bool EventStep() override {
    window_.ProcessEvents();
    return !window_.cancelRequested;
  }

 private:
  RunWindow& window_;
  bool ask_;
};

}  // namespace

RunOutcome SaveInWindow(RunWindow& window, FileSystem& files, Clock& clock, RunOptions run,
                        bool askToReplace) {
  SaveHost host(window, askToReplace);
  window.cancelRequested = false;
  const RunOutcome outcome = ConversionRun(host, files, clock, std::move(run)).Execute();
  if (outcome.result == RunResult::kRefusedSamePath) ShowBox(window, kSamePathBox);
  if (outcome.result == RunResult::kFailed) ShowBox(window, SaveFailureBox(outcome.failedStage));
  return outcome;
}

void RequestCancel(RunWindow& window) {
  if (ShowBox(window, kCancelQuestionBox) == MessageAnswer::kYes) window.cancelRequested = true;
}

}  // namespace velorin
