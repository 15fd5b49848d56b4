#include "convert/conversion_run.h"

#include <array>
#include <charconv>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "convert/counting_text.h"
#include "convert/nvi_writer.h"
#include "convert/poi_record.h"
#include "geo/sjis_scan.h"
#include "platform/buffered_writer.h"
#include "platform/line_reader.h"

namespace velorin {
namespace {

// Message numbers of the run.
constexpr int kProgressLabel = 5;
constexpr int kQuestionTitle = 90;
constexpr int kErrorTitle = 91;
constexpr int kSamePathText = 120;
constexpr int kStartQuestionText = 100;
constexpr int kOverwriteQuestionText = 102;
constexpr int kFinishedText = 106;
constexpr int kCancelQuestionText = 108;
constexpr int kCancelledText = 110;

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSkippedRemark = "was Skipped";

/// The first of the two texts of the failure message of `stage`.
int FailureText(RunStage stage) {
  switch (stage) {
    case RunStage::kOpenInput:
      return 122;
    case RunStage::kOpenOutput:
      return 124;
    case RunStage::kReadLine:
      return 126;
    case RunStage::kWriteRecord:
      return 128;
    case RunStage::kOpenLog:
      return 132;
    case RunStage::kWriteLog:
    case RunStage::kNone:
      break;
  }
  return 134;
}

/// Failures of the output file send the user to the output browse command,
/// all others to the input browse command.
FocusTarget FailureFocus(RunStage stage) {
  return stage == RunStage::kOpenOutput || stage == RunStage::kWriteRecord
             ? FocusTarget::kOutputBrowse
             : FocusTarget::kInputBrowse;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool EndsWithNviExtension(std::string_view path) {
  return path.size() >= 4 && UpperAscii(path.substr(path.size() - 4)) == ".NVI";
}

/// Room for " " and the digits of any 32-bit count.
using CountBuffer = std::array<char, 16>;

std::string_view FormatCountText(CountBuffer& buffer, std::int32_t count) {
  buffer[0] = ' ';
  const auto end = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), count).ptr;
  return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

/// The three files of a run. Every way out of the run closes them in the
/// order input, output, log; closing one that was never opened does nothing.
class RunFiles {
 public:
  std::unique_ptr<ByteSource> inputSource;
  std::optional<LineReader> input;
  std::unique_ptr<ByteSink> outputSink;
  std::optional<BufferedWriter> output;
  std::unique_ptr<ByteSink> logSink;
  std::optional<BufferedWriter> log;

  void CloseInput() {
    input.reset();
    inputSource.reset();
  }
  /// False, with the sink's reason in `error`, when buffered bytes could not
  /// be written or the file could not be closed.
  bool CloseOutput(std::error_code& error) { return Close(output, outputSink, error); }
  bool CloseLog(std::error_code& error) { return Close(log, logSink, error); }
  void CloseAllQuietly() {
    std::error_code ignored;
    CloseInput();
    CloseOutput(ignored);
    CloseLog(ignored);
  }

 private:
  static bool Close(std::optional<BufferedWriter>& writer, std::unique_ptr<ByteSink>& sink,
                    std::error_code& error) {
    bool ok = true;
    if (writer) {
      ok = writer->Close();
      writer.reset();
    } else if (sink) {
      ok = sink->Close();
    }
    if (!ok && sink) error = sink->error();
    sink.reset();
    return ok;
  }
};

/// One execution of the Convert command, from its checks to its last message.
class ConvertCommand {
 public:
  ConvertCommand(RunHost& host, FileSystem& files, Clock& clock, const RunOptions& options,
                 std::int32_t& recordCount)
      : host_(host), files_(files), clock_(clock), options_(options), recordCount_(recordCount) {}

  RunOutcome Execute();

 private:
  MessageAnswer ShowBox(RunMessage kind, int title, int firstText, MessageButtons buttons,
                        MessageAnswer defaultAnswer, std::string_view countText = {});
  /// What went wrong, for the failure branch.
  struct Failure {
    RunStage stage;
    std::string_view path;  ///< one of the run's own paths
    std::error_code error;
  };

  std::optional<Failure> OpenFiles();
  /// The line loop, up to the end, the record limit, a cancel or a failure.
  std::optional<Failure> ConvertLines();
  void WriteLogLine(const PotLineOutcome& parsed);
  RunOutcome Fail(const Failure& failure);
  /// Switches drops on again: every way out of the run ends here.
  RunOutcome Leave(RunResult result);

  RunHost& host_;
  FileSystem& files_;
  Clock& clock_;
  const RunOptions& options_;
  std::int32_t& recordCount_;

  std::string inputPath_;
  std::string outputPath_;
  std::string logPath_;
  std::string untitledSetting_;
  bool logging_ = false;
  RunFiles open_;
  // The progress label (message 5 and the count text) and the log's count
  // text follow the record count by adding one to their digits, not by
  // writing the number anew for every record.
  CountingText progressText_;
  CountingText countText_{" "};
  CountBuffer countBuffer_{};
};

MessageAnswer ConvertCommand::ShowBox(RunMessage kind, int title, int firstText,
                                      MessageButtons buttons, MessageAnswer defaultAnswer,
                                      std::string_view countText) {
  MessageBoxRequest request{kind, host_.MessageText(title), host_.MessageText(firstText), buttons,
                            defaultAnswer};
  request.text += kLineBreak;
  request.text += host_.MessageText(firstText + 1);
  request.text += countText;
  return host_.ShowMessageBox(request);
}

RunOutcome ConvertCommand::Execute() {
  host_.SetDropTargetsEnabled(false);
  inputPath_ = host_.InputPathText();
  outputPath_ = host_.OutputPathText();
  recordCount_ = 0;

  // The same file named twice: equal texts regardless of ASCII letter case,
  // or two different texts that lead to one existing file (a link, "./a.pot"
  // and "a.pot"). Reading and emptying one file at once would destroy it.
  if (UpperAscii(inputPath_) == UpperAscii(outputPath_) ||
      files_.AreSameExistingFile(inputPath_, outputPath_)) {
    ShowBox(RunMessage::kSamePath, kErrorTitle, kSamePathText, MessageButtons::kOk,
            MessageAnswer::kOk);
    // An output name without the NVI extension is the likelier mistake.
    host_.MoveFocus(EndsWithNviExtension(outputPath_) ? FocusTarget::kInputBrowse
                                                      : FocusTarget::kOutputBrowse);
    return Leave(RunResult::kRefusedSamePath);
  }
  if (ShowBox(RunMessage::kStartQuestion, kQuestionTitle, kStartQuestionText,
              MessageButtons::kYesNo, MessageAnswer::kYes) == MessageAnswer::kNo) {
    return Leave(RunResult::kDeclinedStart);
  }
  if (files_.IsNormalFile(outputPath_) &&
      ShowBox(RunMessage::kOverwriteQuestion, kQuestionTitle, kOverwriteQuestionText,
              MessageButtons::kYesNo, MessageAnswer::kNo) == MessageAnswer::kNo) {
    return Leave(RunResult::kDeclinedOverwrite);
  }

  // Settings and texts are fetched once, not for every line.
  untitledSetting_ = host_.SettingEntry(1);
  logging_ = host_.SettingEntry(3) == "1";
  progressText_ = CountingText(host_.MessageText(kProgressLabel) + " ");

  if (const auto failure = OpenFiles()) return Fail(*failure);
  host_.ShowExecutionPanel(1);
  host_.SetProgressText(progressText_.text());
  host_.CancelRequested = false;
  std::optional<Failure> failure;
  try {
    failure = ConvertLines();
  } catch (const std::bad_alloc&) {
    // A line too long for memory (a file without line ends) fails like a
    // read error instead of ending the program.
    failure = Failure{RunStage::kReadLine, inputPath_,
                      std::make_error_code(std::errc::not_enough_memory)};
  }
  if (failure) return Fail(*failure);

  // Output goes through a buffer, so a full disk may show only now: closing
  // is checked, and a failure is reported under its stage, never as success.
  std::error_code error;
  open_.CloseInput();
  if (!open_.CloseOutput(error)) return Fail({RunStage::kWriteRecord, outputPath_, error});
  if (!open_.CloseLog(error)) return Fail({RunStage::kWriteLog, logPath_, error});

  host_.ShowExecutionPanel(0);
  const bool cancelled = host_.CancelRequested;
  ShowBox(cancelled ? RunMessage::kCancelled : RunMessage::kFinished, kQuestionTitle,
          cancelled ? kCancelledText : kFinishedText, MessageButtons::kOk, MessageAnswer::kOk,
          FormatCountText(countBuffer_, recordCount_));
  return Leave(cancelled ? RunResult::kCancelled : RunResult::kFinished);
}

std::optional<ConvertCommand::Failure> ConvertCommand::OpenFiles() {
  std::error_code error;
  open_.inputSource = files_.OpenForReading(inputPath_, error);
  if (!open_.inputSource || error) return Failure{RunStage::kOpenInput, inputPath_, error};
  open_.input.emplace(*open_.inputSource);

  open_.outputSink = files_.OpenForWriting(outputPath_, error);
  if (!open_.outputSink || error) return Failure{RunStage::kOpenOutput, outputPath_, error};
  open_.output.emplace(*open_.outputSink);

  if (logging_) {
    logPath_ = host_.LogFilePath();
    open_.logSink = files_.OpenForWriting(logPath_, error);
    if (!open_.logSink || error) return Failure{RunStage::kOpenLog, logPath_, error};
    open_.log.emplace(*open_.logSink);
  }
  return std::nullopt;
}

std::optional<ConvertCommand::Failure> ConvertCommand::ConvertLines() {
  LineReader& input = *open_.input;
  BufferedWriter& output = *open_.output;
  NviRecordWriter records(output, clock_);
  std::int64_t lineNumber = 0;
  std::string_view line;
  while (true) {
    if (input.AtEnd()) {
      // A read error also ends the data; it must not pass for the end.
      if (!input.failed()) return std::nullopt;
      return Failure{RunStage::kReadLine, inputPath_, open_.inputSource->error()};
    }
    if (recordCount_ >= options_.recordLimit) return std::nullopt;
    host_.ProcessEvents();
    if (host_.CancelRequested) return std::nullopt;

    if (!input.ReadLine(line)) {
      if (!input.failed()) return std::nullopt;
      return Failure{RunStage::kReadLine, inputPath_, open_.inputSource->error()};
    }
    ++lineNumber;
    const PotLineOutcome parsed = ParsePotLine(line, untitledSetting_);
    if (parsed.accepted()) {
      records.Write(parsed.record);
      if (!output.ok()) {
        return Failure{RunStage::kWriteRecord, outputPath_, open_.outputSink->error()};
      }
      ++recordCount_;
      progressText_.Increment();
      countText_.Increment();
      host_.SetProgressText(progressText_.text());
    } else if (options_.observer != nullptr && parsed.reason != SkipReason::kNotPointLine) {
      options_.observer->OnPointLineSkipped(lineNumber, parsed);
    }

    if (logging_) {
      WriteLogLine(parsed);
      if (!open_.log->ok()) return Failure{RunStage::kWriteLog, logPath_, open_.logSink->error()};
    }
  }
}

/// "Line#", the record count after the line, TAB and what became of the line.
void ConvertCommand::WriteLogLine(const PotLineOutcome& parsed) {
  BufferedWriter& log = *open_.log;
  log.Append("Line#");
  log.Append(countText_.text());
  log.Append('\t');
  if (parsed.accepted()) {
    const PoiRecord& record = parsed.record;
    log.Append(record.title);
    log.Append('\t');
    log.Append(record.longitudeText);
    log.Append('\t');
    log.Append(record.latitudeText);
    log.Append('\t');
    log.Append(record.position.view());
  } else {
    log.Append(kSkippedRemark);
  }
  log.Append(kLineBreak);
}

RunOutcome ConvertCommand::Fail(const Failure& failure) {
  ShowBox(RunMessage::kFailure, kErrorTitle, FailureText(failure.stage), MessageButtons::kOk,
          MessageAnswer::kOk);
  host_.ShowExecutionPanel(0);
  host_.MoveFocus(FailureFocus(failure.stage));
  // Nothing is deleted or rolled back: what was written stays.
  open_.CloseAllQuietly();
  RunOutcome outcome = Leave(RunResult::kFailed);
  outcome.failedStage = failure.stage;
  outcome.failedPath = std::string(failure.path);
  outcome.error = failure.error;
  return outcome;
}

RunOutcome ConvertCommand::Leave(RunResult result) {
  RunOutcome outcome;
  outcome.result = result;
  outcome.records = recordCount_;
  host_.SetDropTargetsEnabled(true);
  return outcome;
}

}  // namespace

ConversionRun::ConversionRun(RunHost& host, FileSystem& files, Clock& clock, RunOptions options)
    : host_(host), files_(files), clock_(clock), options_(options) {}

RunOutcome ConversionRun::Execute() {
  ConvertCommand command(host_, files_, clock_, options_, recordCount_);
  return command.Execute();
}

void RequestCancel(RunHost& host) {
  MessageBoxRequest request{RunMessage::kCancelQuestion, host.MessageText(kQuestionTitle),
                            host.MessageText(kCancelQuestionText), MessageButtons::kYesNo,
                            MessageAnswer::kNo};
  request.text += kLineBreak;
  request.text += host.MessageText(kCancelQuestionText + 1);
  if (host.ShowMessageBox(request) != MessageAnswer::kNo) host.CancelRequested = true;
}

std::string CountText(std::int32_t count) {
  CountBuffer buffer;
  return std::string(FormatCountText(buffer, count));
}

}  // namespace velorin
