#include "convert/conversion_run.h"

#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "convert/counting_text.h"
#include "convert/duplicate_points.h"
#include "convert/run_files.h"
#include "convert/run_summary.h"
#include "formats/chained_point_reader.h"
#include "formats/output_path.h"
#include "formats/poi_record.h"
#include "formats/point_check.h"
#include "formats/point_writer.h"
#include "formats/read_ahead_point_reader.h"
#include "platform/buffered_writer.h"
#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"

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
// The points skipped, and why, on a line of their own (input other than POT).
constexpr int kSkippedText = 113;
constexpr int kSkippedUntitledText = 114;
constexpr int kSkippedOutOfRangeText = 115;
constexpr int kSkippedUnreadableText = 116;
// The input held routes or tracks alone, which velorin-cli reads on request.
constexpr int kOnlyLinesText = 117;

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
RunPath PathOfFailure(RunStage stage) {
  return stage == RunStage::kOpenOutput || stage == RunStage::kWriteRecord ? RunPath::kOutput
                                                                           : RunPath::kInput;
}

/// Room for " " and the digits of any 64-bit count.
using CountBuffer = std::array<char, 24>;

std::string_view FormatCountText(CountBuffer& buffer, std::int64_t count) {
  buffer[0] = ' ';
  const auto end = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), count).ptr;
  return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

/// "3", "2.5": metres to one decimal, without a needless ".0".
std::string MetresText(double metres) {
  const auto tenths = static_cast<std::int64_t>(std::llround(metres * 10));
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text + " m";
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

  /// The same-path refusal, the start and the overwrite questions: the
  /// result when the run ends there.
  std::optional<RunResult> AskFirst();
  /// Input, output and log names two of which are one file.
  bool PathsClash();
  bool PathsClashWith(const std::string& input);
  /// Closes the files, puts the output in place, shows the last message.
  RunOutcome Finish();
  /// For input other than POT: CR LF and the points skipped, with why in
  /// short ("Points skipped: 3 (no title: 2, unreadable: 1)"); empty when
  /// none was.
  std::string SkippedLine();
  std::optional<Failure> OpenFiles();
  /// Hands what is converted so far on before a read waits (a quiet pipe),
  /// and lets the host hear Cancel while it waits.
  void WrapInput();
  /// The reader of the first input, and of the others one after another.
  std::unique_ptr<PointReader> MakeReader(std::size_t index);
  std::unique_ptr<PointReader> OpenInput(std::size_t index);
  std::size_t InputIndex() const { return chain_ != nullptr ? chain_->inputIndex() : 0; }
  PointFormat InputFormat() const { return inputs_[InputIndex()].format; }
  /// A point with a title written before close by: dropped, counted and told.
  bool DropDuplicate(const Point& point);
  /// The entry loop, up to the end, the record limit, a cancel or a failure;
  /// the output's last part (a closing tag) is written at every end but a
  /// failure.
  std::optional<Failure> ConvertEntries();
  /// One entry: a record written, or a skip counted and told; then its log line.
  std::optional<Failure> Take(const ReadEntry& entry);
  void CountSkip(const ReadEntry& entry, SkipKind kind, std::string_view reason);
  void CountTitleChange(const Point& point, TitleChange change);
  /// The input holds no further entry, or could not be read on.
  std::optional<Failure> InputEnded();
  std::optional<Failure> EndOutput();
  /// Notes what the reader and the writer counted, then lets them go: they
  /// must not outlive the files they work on.
  void ReleaseReaderAndWriter();
  /// After the record limit: the line of the first entry left unread, or 0
  /// when the input has ended.
  std::int64_t FirstLineLeft(ReadEntry& entry);
  void WriteLogLine(const ReadEntry& entry, bool written);
  /// POT input alone: the log has a line for every input line, and no
  /// summary.
  bool LogsEveryLine() const;
  /// The log of a file that is not read by the line (anything but POT):
  /// a line for every skipped point, where it stands and why.
  void WriteSkipLogLine(std::int64_t line, std::string_view reason);
  /// Such a log ends with what the run did, in the summary's words.
  void WriteLogSummary();
  void AppendToLog(std::string_view utf8);
  RunOutcome Fail(const Failure& failure);
  /// Switches drops on again: every way out of the run ends here.
  RunOutcome Leave(RunResult result);

  RunHost& host_;
  FileSystem& files_;
  Clock& clock_;
  const RunOptions& options_;
  std::int32_t& recordCount_;

  std::string inputPath_;
  std::vector<RunInput> inputs_;  ///< the host's input first
  std::string outputPath_;
  std::string logPath_;
  RunFiles open_;
  std::unique_ptr<PointReader> reader_;
  ChainedPointReader* chain_ = nullptr;  ///< reader_ when there are several inputs
  std::error_code openError_;            ///< why an input after the first did not open
  bool inputHeldBytes_ = false;          ///< of the inputs closed before
  std::optional<DuplicatePoints> duplicates_;
  Cp932Decoder titleDecoder_;
  std::string titleUtf8_;
  std::unique_ptr<PointWriter> writer_;
  PositionRange outputRange_ = PositionRange::kNvi;  ///< what the output holds
  RunOutcome outcome_;
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
  inputs_.assign(1, RunInput{inputPath_, options_.inputFormat});
  inputs_.insert(inputs_.end(), options_.moreInputs.begin(), options_.moreInputs.end());
  outputPath_ = host_.OutputPathText();
  if (options_.dedupeMetres) duplicates_.emplace(*options_.dedupeMetres);
  recordCount_ = 0;
  if (options_.log) logPath_ = host_.LogFilePath();
  if (const auto refused = AskFirst()) return Leave(*refused);

  progressText_ = CountingText(host_.MessageText(kProgressLabel) + " ");
  if (const auto failure = OpenFiles()) return Fail(*failure);
  host_.ShowExecutionPanel(1);
  host_.SetProgressText(progressText_.text());
  host_.cancelRequested = false;
  std::optional<Failure> failure;
  try {
    failure = ConvertEntries();
  } catch (const std::bad_alloc&) {
    // An entry too large for memory fails like a read error instead of
    // ending the program.
    failure = Failure{RunStage::kReadLine, inputPath_,
                      std::make_error_code(std::errc::not_enough_memory)};
  }
  ReleaseReaderAndWriter();
  if (failure) return Fail(*failure);
  return Finish();
}

std::optional<RunResult> ConvertCommand::AskFirst() {
  if (PathsClash()) {
    ShowBox(RunMessage::kSamePath, kErrorTitle, kSamePathText, MessageButtons::kOk,
            MessageAnswer::kOk);
    // An output name without the output's extension is the likelier mistake.
    const bool outputNamedRight =
        HasExtension(outputPath_, InfoOf(options_.outputFormat).extension);
    host_.PointAtPath(outputNamedRight ? RunPath::kInput : RunPath::kOutput);
    return RunResult::kRefusedSamePath;
  }
  if (ShowBox(RunMessage::kStartQuestion, kQuestionTitle, kStartQuestionText,
              MessageButtons::kYesNo, MessageAnswer::kYes) == MessageAnswer::kNo) {
    return RunResult::kDeclinedStart;
  }
  outcome_.outputExisted = files_.IsNormalFile(outputPath_);
  if (outcome_.outputExisted &&
      ShowBox(RunMessage::kOverwriteQuestion, kQuestionTitle, kOverwriteQuestionText,
              MessageButtons::kYesNo, MessageAnswer::kNo) == MessageAnswer::kNo) {
    return RunResult::kDeclinedOverwrite;
  }
  return std::nullopt;
}

RunOutcome ConvertCommand::Finish() {
  // Output goes through a buffer, so a full disk may show only now: closing
  // is checked, and a failure is reported under its stage, never as success.
  // The output takes its place last, once nothing else can fail.
  std::error_code error;
  open_.CloseInput();
  if (options_.log && !LogsEveryLine()) {
    WriteLogSummary();
    if (!open_.log->ok()) return Fail({RunStage::kWriteLog, logPath_, open_.logSink->error()});
  }
  if (!open_.CloseOutput(error)) return Fail({RunStage::kWriteRecord, outputPath_, error});
  if (!open_.CloseLog(error)) return Fail({RunStage::kWriteLog, logPath_, error});
  if (!open_.CommitOutput(error)) return Fail({RunStage::kWriteRecord, outputPath_, error});

  host_.ShowExecutionPanel(0);
  const bool cancelled = host_.cancelRequested;
  std::string countText(FormatCountText(countBuffer_, recordCount_));
  if (!cancelled && outcome_.firstLineNotConverted > 0) {
    // The limit cut the input short: a third line says from where.
    countText += kLineBreak;
    countText += host_.MessageText(kLimitReachedText);
    countText += FormatCountText(countBuffer_, outcome_.firstLineNotConverted);
  }
  if (!cancelled) countText += SkippedLine();
  if (!cancelled && HeldOnlyLines(outcome_)) {
    countText += kLineBreak;
    countText += host_.MessageText(kOnlyLinesText);
  }
  ShowBox(cancelled ? RunMessage::kCancelled : RunMessage::kFinished, kQuestionTitle,
          cancelled ? kCancelledText : kFinishedText, MessageButtons::kOk, MessageAnswer::kOk,
          countText);
  return Leave(cancelled ? RunResult::kCancelled : RunResult::kFinished);
}

std::string ConvertCommand::SkippedLine() {
  const SkipCounts& skipped = outcome_.skipped;
  if (options_.inputFormat == PointFormat::kPot || skipped.total() == 0) return {};
  std::string line(kLineBreak);
  line += host_.MessageText(kSkippedText);
  line += FormatCountText(countBuffer_, skipped.total());
  const char* separator = " (";
  for (const auto& [count, text] : {std::pair{skipped.untitled, kSkippedUntitledText},
                                    std::pair{skipped.outOfRange, kSkippedOutOfRangeText},
                                    std::pair{skipped.malformed, kSkippedUnreadableText}}) {
    if (count == 0) continue;
    line += separator;
    line += host_.MessageText(text);
    line += FormatCountText(countBuffer_, count);
    separator = ", ";
  }
  return line + ")";
}

bool ConvertCommand::PathsClash() {
  for (const RunInput& input : inputs_) {
    if (PathsClashWith(input.path)) {
      if (inputs_.size() > 1) outcome_.failedPath = input.path;
      return true;
    }
  }
  return false;
}

bool ConvertCommand::PathsClashWith(const std::string& input) {
  if (files_.NameSameFile(input, outputPath_)) return true;
  // A log that is the output or the input would overwrite it.
  return options_.log &&
         (files_.NameSameFile(logPath_, outputPath_) || files_.NameSameFile(logPath_, input));
}

std::optional<ConvertCommand::Failure> ConvertCommand::OpenFiles() {
  std::error_code error;
  open_.inputSource = files_.OpenForReading(inputPath_, error);
  if (!open_.inputSource || error) return Failure{RunStage::kOpenInput, inputPath_, error};
  WrapInput();

  open_.outputSink = files_.OpenForReplacing(outputPath_, error);
  if (!open_.outputSink || error) return Failure{RunStage::kOpenOutput, outputPath_, error};
  open_.output.emplace(*open_.outputSink, options_.bufferSize);

  if (options_.log) {
    open_.logSink = files_.OpenForWriting(logPath_, error);
    if (!open_.logSink || error) return Failure{RunStage::kOpenLog, logPath_, error};
    open_.log.emplace(*open_.logSink, options_.bufferSize);
  }
  return std::nullopt;
}

void ConvertCommand::WrapInput() {
  // While the input waits for more (a quiet pipe), what is converted so far
  // goes on to whoever reads the output.
  open_.input.emplace(
      *open_.inputSource,
      [this] {
        if (open_.output) open_.output->Flush();
        if (open_.log) open_.log->Flush();
      },
      [this] {
        host_.ProcessEvents();
        return !host_.cancelRequested;
      });
}

std::unique_ptr<PointReader> ConvertCommand::MakeReader(std::size_t index) {
  ReaderOptions readerOptions;
  readerOptions.textEncoding = options_.inputEncoding;
  readerOptions.untitled = options_.untitled;
  readerOptions.bufferSize = options_.bufferSize;
  readerOptions.points = options_.points;
  readerOptions.thinMetres = options_.thinMetres;
  const RunInput& input = inputs_[index];
  if (inputs_.size() > 1) {
    if (options_.observer != nullptr) options_.observer->OnInputStarted(input.path);
    if (options_.log) AppendToLog("Input " + input.path);
  }
  std::unique_ptr<PointReader> reader =
      InfoOf(input.format).makeReader(*open_.input, readerOptions);
  // Parsed on a thread of its own while this one writes, but only from a
  // file: a pipe's reader may wait, and waiting repaints the window.
  if (ReadsAhead(input.format) && options_.readAhead && files_.IsNormalFile(input.path)) {
    reader = ReadAheadPointReader::Wrap(std::move(reader));
  }
  return reader;
}

std::unique_ptr<PointReader> ConvertCommand::OpenInput(std::size_t index) {
  inputHeldBytes_ = inputHeldBytes_ || open_.input->heldBytes();
  open_.CloseInput();
  open_.inputSource = files_.OpenForReading(inputs_[index].path, openError_);
  if (!open_.inputSource || openError_) return nullptr;
  WrapInput();
  return MakeReader(index);
}

std::optional<ConvertCommand::Failure> ConvertCommand::ConvertEntries() {
  reader_ = MakeReader(0);
  if (inputs_.size() > 1) {
    auto chain = std::make_unique<ChainedPointReader>(
        std::move(reader_), inputs_.size(), [this](std::size_t index) { return OpenInput(index); });
    chain_ = chain.get();
    reader_ = std::move(chain);
  }
  writer_ = InfoOf(options_.outputFormat).makeWriter(*open_.output, clock_, options_.writer);
  const FormatInfo& output = InfoOf(options_.outputFormat);
  const std::int32_t limit = output.limitsRecords ? options_.recordLimit : 0;
  outputRange_ = output.positions;
  writer_->Begin();
  ReadEntry entry;
  while (true) {
    if (reader_->AtEnd()) return InputEnded();
    if (limit > 0 && recordCount_ >= limit) {
      outcome_.firstLineNotConverted = FirstLineLeft(entry);
      return EndOutput();
    }
    host_.ProcessEvents();
    if (host_.cancelRequested) return EndOutput();
    if (!reader_->Next(entry)) return InputEnded();
    if (auto failure = Take(entry)) return failure;
  }
}

std::optional<ConvertCommand::Failure> ConvertCommand::Take(const ReadEntry& entry) {
  bool written = false;
  if (entry.isPoint) {
    const Point& point = entry.point;
    if (const auto problem = CheckPoint(point, options_.untitled, outputRange_)) {
      CountSkip(entry, problem->first, problem->second);
    } else if (duplicates_ && DropDuplicate(point)) {
      // Counted and told; the log says "was Skipped" for a POT line.
    } else {
      TitleChange change = writer_->Write(
          point.title.empty() ? TitleView{kNoTitleText} : TitleOf(point), point.position);
      if (!open_.output->ok()) {
        return Failure{RunStage::kWriteRecord, outputPath_, open_.outputSink->error()};
      }
      written = true;
      ++recordCount_;
      progressText_.Increment();
      countText_.Increment();
      host_.SetProgressText(progressText_.text());
      if (change == TitleChange::kNone && point.titleApproximated) {
        change = ChangeOfTitle(point.title, true);  // the reader's CP932
      }
      if (change == TitleChange::kNone && point.titleTidied) change = TitleChange::kTidied;
      if (change != TitleChange::kNone) CountTitleChange(point, change);
    }
  } else if (entry.skip != SkipKind::kNotPointLine) {
    CountSkip(entry, entry.skip, entry.reason);
  }
  if (options_.log) {
    if (InputFormat() == PointFormat::kPot) WriteLogLine(entry, written);
    if (!open_.log->ok()) return Failure{RunStage::kWriteLog, logPath_, open_.logSink->error()};
  }
  return std::nullopt;
}

void ConvertCommand::CountTitleChange(const Point& point, TitleChange change) {
  switch (change) {
    case TitleChange::kNone:
      return;
    case TitleChange::kClosest:
      ++outcome_.titlesReplaced;
      break;
    case TitleChange::kUnshowable:
      ++outcome_.titlesUnshowable;
      break;
    case TitleChange::kRecoded:
      ++outcome_.titlesRecoded;
      break;
    case TitleChange::kTidied:
      ++outcome_.titlesTidied;
      break;
  }
  if (options_.observer != nullptr) options_.observer->OnTitleChanged(point, change);
}

void ConvertCommand::CountSkip(const ReadEntry& entry, SkipKind kind, std::string_view reason) {
  outcome_.skipped.Count(kind);
  if (options_.observer != nullptr) options_.observer->OnSkipped(entry.point.line, kind, reason);
  if (options_.log && InputFormat() != PointFormat::kPot) {
    WriteSkipLogLine(entry.point.line, reason);
  }
}

bool ConvertCommand::DropDuplicate(const Point& point) {
  std::string_view title = point.title;
  if (point.titleEncoding == TitleEncoding::kCp932) {
    // One title from a POT file and from a GPX file is one title.
    titleDecoder_.Decode(point.title, titleUtf8_);
    title = titleUtf8_;
  }
  const Degrees degrees = DegreesOf(point.position);
  const auto input = static_cast<std::uint32_t>(InputIndex());
  const auto found =
      duplicates_->FindOrKeep(title, degrees.longitude, degrees.latitude, {input, point.line});
  if (!found) return false;
  ++outcome_.duplicatesDropped;
  std::string reason = "duplicate of the point of line " + std::to_string(found->origin.line);
  if (found->origin.input != input) reason += " of " + inputs_[found->origin.input].path;
  reason += found->metres > 0 ? " (same title, " + MetresText(found->metres) + " away)"
                              : " (same title and position)";
  if (options_.observer != nullptr) options_.observer->OnDuplicate(point, reason);
  if (options_.log && InputFormat() != PointFormat::kPot) WriteSkipLogLine(point.line, reason);
  return true;
}

std::optional<ConvertCommand::Failure> ConvertCommand::InputEnded() {
  const auto& failure = reader_->failure();
  if (!failure) return EndOutput();
  const std::string& path = inputs_[InputIndex()].path;
  if (chain_ != nullptr && chain_->openFailed()) {
    return Failure{RunStage::kOpenInput, path, openError_};
  }
  const std::error_code error = open_.input->error();
  if (error == std::errc::operation_canceled) {
    // The person running the program cancelled while the input was quiet.
    host_.cancelRequested = true;
    return EndOutput();
  }
  outcome_.readFailure = failure;
  return Failure{RunStage::kReadLine, path, error};
}

std::optional<ConvertCommand::Failure> ConvertCommand::EndOutput() {
  writer_->End();
  if (!open_.output->ok()) {
    return Failure{RunStage::kWriteRecord, outputPath_, open_.outputSink->error()};
  }
  return std::nullopt;
}

void ConvertCommand::ReleaseReaderAndWriter() {
  if (reader_) {
    outcome_.inputEncoding = reader_->textEncoding().value_or(TextEncoding::kCp932);
    outcome_.encodingWorthSaying = reader_->textBeyondAscii();
    outcome_.inputLayout = reader_->layoutNote();
    outcome_.ignored = reader_->ignored();
  }
  if (writer_) outcome_.titlesAdjusted = writer_->titlesAdjusted();
  outcome_.records = recordCount_;  // for the summary of the last message and the log
  writer_.reset();
  // A reader reading ahead stops here, before its input is looked at.
  reader_.reset();
  outcome_.inputHeldBytes = inputHeldBytes_ || (open_.input && open_.input->heldBytes());
}

std::int64_t ConvertCommand::FirstLineLeft(ReadEntry& entry) {
  // Only where the rest begins is looked for; nothing further is converted
  // or logged. A read error here says nothing about the entries converted,
  // but the rest was not read: it begins after the last line read (or at
  // the line the failure names, a line too long).
  if (!reader_->AtEnd() && reader_->Next(entry)) {
    if (inputs_.size() > 1) outcome_.inputNotConverted = inputs_[InputIndex()].path;
    return entry.point.line;
  }
  const auto& failure = reader_->failure();
  if (!failure) return 0;
  if (inputs_.size() > 1) outcome_.inputNotConverted = inputs_[InputIndex()].path;
  return failure->line > 0 ? failure->line : entry.point.line + 1;
}

/// "Line#", the record count after the entry, TAB and what became of it.
void ConvertCommand::WriteLogLine(const ReadEntry& entry, bool written) {
  BufferedWriter& log = *open_.log;
  log.Append("Line#");
  log.Append(countText_.text());
  log.Append('\t');
  if (written) {
    const Point& point = entry.point;
    log.Append(point.title.empty() ? kNoTitleText : std::string_view(point.title));
    log.Append('\t');
    log.Append(entry.longitudeText);
    log.Append('\t');
    log.Append(entry.latitudeText);
    log.Append('\t');
    log.Append(NviPositionOf(point.position).view());
  } else {
    log.Append(kSkippedRemark);
  }
  log.Append(kLineBreak);
}

bool ConvertCommand::LogsEveryLine() const {
  for (const RunInput& input : inputs_) {
    if (input.format != PointFormat::kPot) return false;
  }
  return true;
}

void ConvertCommand::AppendToLog(std::string_view utf8) {
  // The log is CP932 like every text file of the program.
  const std::optional<Cp932Title> text = TitleToCp932(utf8);
  open_.log->Append(text ? std::string_view(text->text) : utf8);
  open_.log->Append(kLineBreak);
}

/// "Line 12", TAB, why the point there was skipped.
void ConvertCommand::WriteSkipLogLine(std::int64_t line, std::string_view reason) {
  AppendToLog("Line " + std::to_string(line) + "\t" + std::string(reason));
}

void ConvertCommand::WriteLogSummary() {
  AppendToLog(WrittenCount(recordCount_, options_.outputFormat) + " written");
  const RunSummary summary = SummarizeRun(outcome_, options_.inputFormat, options_.outputFormat);
  for (const std::string* line :
       {&summary.encoding, &summary.skipped, &summary.duplicates, &summary.ignored,
        &summary.onlyLines, &summary.titlesChanged, &summary.titlesUnshowable,
        &summary.titlesRecoded, &summary.titlesTidied}) {
    if (!line->empty()) AppendToLog(*line);
  }
}

RunOutcome ConvertCommand::Fail(const Failure& failure) {
  ShowBox(RunMessage::kFailure, kErrorTitle, FailureText(failure.stage), MessageButtons::kOk,
          MessageAnswer::kOk);
  host_.ShowExecutionPanel(0);
  host_.PointAtPath(PathOfFailure(failure.stage));
  // The output written so far is dropped: an existing output stays as it
  // was, a new one is not created. The log keeps what it got.
  ReleaseReaderAndWriter();
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
  if (host.ShowMessageBox(request) != MessageAnswer::kNo) host.cancelRequested = true;
}

std::string CountText(std::int64_t count) {
  CountBuffer buffer;
  return std::string(FormatCountText(buffer, count));
}

}  // namespace velorin
