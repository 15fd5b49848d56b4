#include "window/run_boxes.h"

#include <utility>

#include "convert/run_summary.h"
#include "formats/output_path.h"

namespace velorin {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

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

constexpr RunBox kFinishedBox{RunMessage::kFinished, kQuestionTitleMessage, 106, 107,
                              MessageButtons::kOk,   MessageAnswer::kOk};
constexpr RunBox kCancelledBox{RunMessage::kCancelled, kQuestionTitleMessage, 110, 111,
                               MessageButtons::kOk,    MessageAnswer::kOk};

/// For input other than POT: CR LF and the points skipped, with why in
/// short ("Points skipped: 3 (no title: 2, unreadable: 1)"); empty when
/// none was.
std::string SkippedLine(const RunOutcome& outcome, PointFormat input,
                        const MessageLookup& message) {
  const SkipCounts& skipped = outcome.skipped;
  if (InfoOf(input).readByTheLine || skipped.total() == 0) return {};
  std::string line(kLineBreak);
  line += message(kSkippedText);
  line += CountText(skipped.total());
  const char* separator = " (";
  for (const auto& [count, text] : {std::pair{skipped.untitled, kSkippedUntitledText},
                                    std::pair{skipped.outOfRange, kSkippedOutOfRangeText},
                                    std::pair{skipped.malformed, kSkippedUnreadableText}}) {
    if (count == 0) continue;
    line += separator;
    line += message(text);
    line += CountText(count);
    separator = ", ";
  }
  return line + ")";
}

/// The count, and for a run that ended normally what more there is to say.
std::string EndText(const RunOutcome& outcome, PointFormat input, const MessageLookup& message) {
  std::string text = CountText(outcome.records);
  if (outcome.result == RunResult::kCancelled) return text;
  if (outcome.firstLineNotConverted > 0) {
    text += kLineBreak;
    text += message(kLimitReachedText);
    text += CountText(outcome.firstLineNotConverted);
  }
  text += SkippedLine(outcome, input, message);
  if (HeldOnlyLines(outcome)) {
    text += kLineBreak;
    text += message(kOnlyLinesText);
  }
  return text;
}

}  // namespace

RunBox FailureBox(RunStage stage) {
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
  return {RunMessage::kFailure, kErrorTitleMessage, first, first + 1,
          MessageButtons::kOk,  MessageAnswer::kOk};
}

RunBox SaveFailureBox(RunStage stage) {
  RunBox box = FailureBox(stage);
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

std::optional<RunBox> SaveEndBox(const RunOutcome& outcome) {
  if (outcome.result == RunResult::kRefusedSamePath) return kSamePathBox;
  if (outcome.result == RunResult::kFailed) return SaveFailureBox(outcome.failedStage);
  return std::nullopt;
}

RunPath PathOfFailure(RunStage stage) {
  return stage == RunStage::kOpenOutput || stage == RunStage::kWriteRecord ? RunPath::kOutput
                                                                           : RunPath::kInput;
}

RunPath PathOfSamePath(const std::string& outputPath, PointFormat output) {
  return HasExtension(outputPath, InfoOf(output).extension) ? RunPath::kInput : RunPath::kOutput;
}

MessageBoxRequest BoxRequest(const RunBox& box, const MessageLookup& message,
                             const std::string& more) {
  MessageBoxRequest request{box.kind, message(box.title), message(box.first), box.buttons,
                            box.defaultAnswer};
  request.text += kLineBreak;
  request.text += message(box.second);
  request.text += more;
  return request;
}

MessageBoxRequest EndBox(const RunOutcome& outcome, PointFormat input,
                         const MessageLookup& message) {
  const RunBox& box = outcome.result == RunResult::kCancelled ? kCancelledBox : kFinishedBox;
  return BoxRequest(box, message, EndText(outcome, input, message));
}

std::string CountText(std::int64_t count) { return " " + std::to_string(count); }

}  // namespace velorin
