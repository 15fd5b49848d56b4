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
#include "formats/nvi_writer.h"
#include "formats/poi_record.h"
#include "convert/run_files.h"
#include "formats/utf8_lines.h"
#include "text/sjis_scan.h"
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
constexpr int kLimitReachedText = 112;

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

PotLineOutcome NotUtf8() {
  PotLineOutcome outcome;
  outcome.reason = SkipReason::kNotUtf8;
  return outcome;
}

/// Room for " " and the digits of any 64-bit count.
using CountBuffer = std::array<char, 24>;

std::string_view FormatCountText(CountBuffer& buffer, std::int64_t count) {
  buffer[0] = ' ';
  const auto end = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), count).ptr;
  return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

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

  /// Input, output and log names two of which are one file.
  bool PathsClash();
  std::optional<Failure> OpenFiles();
  /// Chooses the input's encoding from its first bytes (or as told) and
  /// drops a UTF-8 byte-order mark.
  void ChooseInputEncoding();
  /// The line loop, up to the end, the record limit, a cancel or a failure.
  std::optional<Failure> ConvertLines();
  /// After the record limit: the number of the first line left unread, or 0
  /// when the input has ended.
  std::int64_t FirstLineLeft(std::int64_t linesRead);
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
  RunOutcome outcome_;
  std::optional<Utf8Lines> utf8_;  ///< set when the input is UTF-8
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
  // Settings and texts are fetched once, not for every line.
  untitledSetting_ = host_.SettingEntry(1);
  logging_ = host_.SettingEntry(3) == "1";
  if (logging_) logPath_ = host_.LogFilePath();

  if (PathsClash()) {
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
  outcome_.outputExisted = files_.IsNormalFile(outputPath_);
  if (outcome_.outputExisted &&
      ShowBox(RunMessage::kOverwriteQuestion, kQuestionTitle, kOverwriteQuestionText,
              MessageButtons::kYesNo, MessageAnswer::kNo) == MessageAnswer::kNo) {
    return Leave(RunResult::kDeclinedOverwrite);
  }

  progressText_ = CountingText(host_.MessageText(kProgressLabel) + " ");

  if (const auto failure = OpenFiles()) return Fail(*failure);
  host_.ShowExecutionPanel(1);
  host_.SetProgressText(progressText_.text());
  host_.CancelRequested = false;
  std::optional<Failure> failure;
  try {
    ChooseInputEncoding();
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
  // The output takes its place last, once nothing else can fail.
  std::error_code error;
  open_.CloseInput();
  if (!open_.CloseOutput(error)) return Fail({RunStage::kWriteRecord, outputPath_, error});
  if (!open_.CloseLog(error)) return Fail({RunStage::kWriteLog, logPath_, error});
  if (!open_.CommitOutput(error)) return Fail({RunStage::kWriteRecord, outputPath_, error});

  host_.ShowExecutionPanel(0);
  const bool cancelled = host_.CancelRequested;
  std::string countText(FormatCountText(countBuffer_, recordCount_));
  if (!cancelled && outcome_.firstLineNotConverted > 0) {
    // The limit cut the input short: a third line says from where.
    countText += kLineBreak;
    countText += host_.MessageText(kLimitReachedText);
    countText += FormatCountText(countBuffer_, outcome_.firstLineNotConverted);
  }
  ShowBox(cancelled ? RunMessage::kCancelled : RunMessage::kFinished, kQuestionTitle,
          cancelled ? kCancelledText : kFinishedText, MessageButtons::kOk, MessageAnswer::kOk,
          countText);
  return Leave(cancelled ? RunResult::kCancelled : RunResult::kFinished);
}

bool ConvertCommand::PathsClash() {
  if (files_.NameSameFile(inputPath_, outputPath_)) return true;
  // A log that is the output or the input would overwrite it.
  return logging_ &&
         (files_.NameSameFile(logPath_, outputPath_) || files_.NameSameFile(logPath_, inputPath_));
}

std::optional<ConvertCommand::Failure> ConvertCommand::OpenFiles() {
  std::error_code error;
  open_.inputSource = files_.OpenForReading(inputPath_, error);
  if (!open_.inputSource || error) return Failure{RunStage::kOpenInput, inputPath_, error};
  open_.input.emplace(*open_.inputSource, options_.bufferSize);

  open_.outputSink = files_.OpenForReplacing(outputPath_, error);
  if (!open_.outputSink || error) return Failure{RunStage::kOpenOutput, outputPath_, error};
  open_.output.emplace(*open_.outputSink, options_.bufferSize);

  if (logging_) {
    open_.logSink = files_.OpenForWriting(logPath_, error);
    if (!open_.logSink || error) return Failure{RunStage::kOpenLog, logPath_, error};
    open_.log.emplace(*open_.logSink, options_.bufferSize);
  }
  // While the input waits for more (a quiet pipe), what is converted so far
  // goes on to whoever reads the output.
  open_.input->OnWait([this] {
    if (open_.output) open_.output->Flush();
    if (open_.log) open_.log->Flush();
  });
  return std::nullopt;
}

void ConvertCommand::ChooseInputEncoding() {
  LineReader& input = *open_.input;
  DetectedEncoding detected;
  switch (options_.inputEncoding) {
    case InputEncodingChoice::kCp932:
      return;
    case InputEncodingChoice::kAuto:
      detected = DetectTextEncoding(input.Peek(kEncodingSniffBytes), input.SawEnd());
      break;
    case InputEncodingChoice::kUtf8: {
      const std::string_view head = input.Peek(kUtf8ByteOrderMark.size());
      detected.encoding = TextEncoding::kUtf8;
      detected.byteOrderMarkSize = head == kUtf8ByteOrderMark ? head.size() : 0;
      break;
    }
  }
  if (detected.encoding != TextEncoding::kUtf8) return;
  input.Skip(detected.byteOrderMarkSize);
  utf8_.emplace();
  outcome_.inputEncoding = TextEncoding::kUtf8;
}

std::optional<ConvertCommand::Failure> ConvertCommand::ConvertLines() {
  LineReader& input = *open_.input;
  BufferedWriter& output = *open_.output;
  NviRecordWriter records(output, clock_);
  std::int64_t lineNumber = 0;
  std::string_view line;
  const auto readFailure = [&]() -> std::optional<Failure> {
    const std::error_code error = open_.inputSource->error();
    if (error == std::errc::operation_canceled) {
      // The person running the program cancelled while the input was quiet.
      host_.CancelRequested = true;
      return std::nullopt;
    }
    return Failure{RunStage::kReadLine, inputPath_, error};
  };
  while (true) {
    if (input.AtEnd()) {
      // A read error also ends the data; it must not pass for the end.
      if (!input.failed()) return std::nullopt;
      return readFailure();
    }
    if (recordCount_ >= options_.recordLimit) {
      outcome_.firstLineNotConverted = FirstLineLeft(lineNumber);
      return std::nullopt;
    }
    host_.ProcessEvents();
    if (host_.CancelRequested) return std::nullopt;

    if (!input.ReadLine(line)) {
      if (!input.failed()) return std::nullopt;
      return readFailure();
    }
    ++lineNumber;
    // Built in place either way: the outcome is too large to copy per line.
    const bool notUtf8 = utf8_ && !utf8_->Convert(line, line);
    const PotLineOutcome parsed = notUtf8 ? NotUtf8() : ParsePotLine(line, untitledSetting_);
    if (parsed.accepted()) {
      records.Write(parsed.record);
      if (!output.ok()) {
        return Failure{RunStage::kWriteRecord, outputPath_, open_.outputSink->error()};
      }
      ++recordCount_;
      progressText_.Increment();
      countText_.Increment();
      host_.SetProgressText(progressText_.text());
      if (utf8_ && utf8_->HasReplacementIn(parsed.record.title)) {
        ++outcome_.titlesReplaced;
        if (options_.observer != nullptr)
          options_.observer->OnTitleReplaced(lineNumber, parsed.record);
      }
    } else if (parsed.reason != SkipReason::kNotPointLine) {
      ++outcome_.pointLinesSkipped;
      if (options_.observer != nullptr) options_.observer->OnPointLineSkipped(lineNumber, parsed);
    }

    if (logging_) {
      WriteLogLine(parsed);
      if (!open_.log->ok()) return Failure{RunStage::kWriteLog, logPath_, open_.logSink->error()};
    }
  }
}

std::int64_t ConvertCommand::FirstLineLeft(std::int64_t linesRead) {
  // Only the end of the data is looked for; nothing further is converted or
  // logged. A read error here says nothing about the lines converted.
  LineReader& input = *open_.input;
  return input.AtEnd() ? 0 : linesRead + 1;
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
  // The output written so far is dropped: an existing output stays as it
  // was, a new one is not created. The log keeps what it got.
  open_.CloseAllQuietly();
  RunOutcome outcome = Leave(RunResult::kFailed);
  outcome.failedStage = failure.stage;
  outcome.failedPath = std::string(failure.path);
  outcome.error = failure.error;
  return outcome;
}

RunOutcome ConvertCommand::Leave(RunResult result) {
  RunOutcome outcome = outcome_;
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

std::string CountText(std::int64_t count) {
  CountBuffer buffer;
  return std::string(FormatCountText(buffer, count));
}

}  // namespace velorin
