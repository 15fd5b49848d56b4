#include "convert/conversion_run.h"

#include <array>
#include <charconv>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "convert/datum_stage.h"
#include "convert/entry_stage.h"
#include "convert/run_files.h"
#include "convert/run_inputs.h"
#include "convert/run_log.h"
#include "convert/run_paths.h"
#include "formats/point_writer.h"
#include "platform/buffered_writer.h"

namespace velorin {
namespace {

/// What went wrong, for the outcome.
struct Failure {
  RunStage stage;
  std::string path;
  std::error_code error;
};

/// One execution of a conversion, from the checks of its paths to its last
/// file closed.
class Conversion {
 public:
  Conversion(RunHost& host, FileSystem& files, Clock& clock, RunOptions& options,
             std::int32_t& recordCount)
      : host_(host), files_(files), clock_(clock), options_(options), records_(recordCount) {}

  RunOutcome Execute();

 private:
  bool WritesFile() const { return options_.sink == nullptr; }
  /// The clash refusal and the two questions: the result when the run ends
  /// there.
  std::optional<RunResult> AskFirst();
  std::optional<Failure> OpenFiles();
  void MakeWriter();
  /// The entry loop, up to the end, the record limit, a cancel or a
  /// failure; the output's last part (a closing tag) is written at every
  /// end but a failure.
  std::optional<Failure> ConvertEntries();
  /// What the reader of the input begun says of how it reads it.
  void TellHeadNote(const PointReader& reader);
  /// The input holds no further entry, or could not be read on.
  std::optional<Failure> InputEnded();
  /// The entry stage stopped the run: a write failed, or the host cancelled.
  std::optional<Failure> Stopped(EntryStage::Taken taken);
  std::optional<Failure> EndOutput();
  /// After the record limit: the line of the first entry left unread, or 0
  /// when the input has ended.
  std::int64_t FirstLineLeft(ReadEntry& entry);
  /// Notes what the readers and the writer counted, then lets them go.
  void Release();
  /// Closes the files and puts the output in its place.
  RunOutcome Finish();
  RunOutcome Fail(const Failure& failure);
  RunOutcome Leave(RunResult result);
  Failure OutputFailure() const {
    return {RunStage::kWriteRecord, options_.outputPath,
            open_.outputSink ? open_.outputSink->error() : std::error_code()};
  }
  Failure LogFailure() const {
    return {RunStage::kWriteLog, *options_.logPath, open_.logSink->error()};
  }

  RunHost& host_;
  FileSystem& files_;
  Clock& clock_;
  RunOptions& options_;
  std::int32_t& records_;

  RunFiles open_;
  DatumStage datum_;
  std::optional<RunLog> log_;
  std::optional<RunInputs> inputs_;
  std::unique_ptr<PointWriter> ownWriter_;
  PointWriter* writer_ = nullptr;
  bool writerBegun_ = false;  ///< what it holds back may go out
  std::optional<EntryStage> stage_;
  bool cancelled_ = false;
  bool readToTheEnd_ = false;
  RunOutcome outcome_;
};

RunOutcome Conversion::Execute() {
  records_ = 0;
  outcome_.points = options_.points;
  if (options_.inputs.empty()) return Fail({RunStage::kOpenInput, {}, {}});
  outcome_.inputsNamedTwice = DropRepeatedInputs(files_, options_.inputs);
  if (const auto refused = AskFirst()) return Leave(*refused);
  if (!datum_.Prepare(options_, outcome_.shiftFailure)) {
    return Fail({RunStage::kShiftDatum, {}, {}});
  }
  if (const auto failure = OpenFiles()) return Fail(*failure);
  host_.OnRunning();
  std::optional<Failure> failure;
  try {
    failure = ConvertEntries();
  } catch (const std::bad_alloc&) {
    // An entry too large for memory fails like a read error instead of
    // ending the program.
    failure = Failure{RunStage::kReadLine, inputs_->current().path,
                      std::make_error_code(std::errc::not_enough_memory)};
  }
  Release();
  if (failure) return Fail(*failure);
  return Finish();
}

std::optional<RunResult> Conversion::AskFirst() {
  const std::string* output = WritesFile() ? &options_.outputPath : nullptr;
  if (auto clash = FindPathClash(files_, options_.inputs, output, options_.logPath)) {
    outcome_.clash = std::move(clash);
    return RunResult::kRefusedSamePath;
  }
  if (!host_.MayStart()) return RunResult::kDeclinedStart;
  if (!WritesFile()) return std::nullopt;
  outcome_.outputExisted = files_.IsNormalFile(options_.outputPath);
  if (outcome_.outputExisted && !host_.MayReplace(options_.outputPath)) {
    return RunResult::kDeclinedOverwrite;
  }
  return std::nullopt;
}

std::optional<Failure> Conversion::OpenFiles() {
  std::error_code error;
  bool everyLine = true;
  for (const RunInput& input : options_.inputs) {
    everyLine = everyLine && InfoOf(input.format).readByTheLine;
  }
  // While the input waits for more (a quiet pipe), what is converted so far
  // goes on to whoever reads the output.
  inputs_.emplace(
      files_, options_, open_,
      [this] {
        if (writerBegun_) writer_->InputWaits();
        if (open_.output) open_.output->Flush();
        if (open_.log) open_.log->Flush();
      },
      [this] {
        if (host_.EventStep()) return true;
        cancelled_ = true;
        return false;
      });
  if (!inputs_->OpenFirst(error))
    return Failure{RunStage::kOpenInput, options_.inputs[0].path, error};
  if (WritesFile()) {
    open_.outputSink = files_.OpenForReplacing(options_.outputPath, error);
    if (!open_.outputSink || error)
      return Failure{RunStage::kOpenOutput, options_.outputPath, error};
    open_.output.emplace(*open_.outputSink, options_.bufferSize);
  }
  if (options_.logPath) {
    open_.logSink = files_.OpenForWriting(*options_.logPath, error);
    if (!open_.logSink || error) return Failure{RunStage::kOpenLog, *options_.logPath, error};
    open_.log.emplace(*open_.logSink, options_.bufferSize);
    log_.emplace(*open_.log, !everyLine);
  }
  return std::nullopt;
}

void Conversion::MakeWriter() {
  if (!WritesFile()) {
    writer_ = options_.sink;
    return;
  }
  ownWriter_ =
      options_.makeWriter
          ? options_.makeWriter(*open_.output, clock_)
          : InfoOf(options_.outputFormat).makeWriter(*open_.output, clock_, options_.writer);
  writer_ = ownWriter_.get();
}

std::optional<Failure> Conversion::ConvertEntries() {
  inputs_->SetLog(log_ ? &*log_ : nullptr);
  inputs_->StartReading();
  MakeWriter();
  EntryStage& stage =
      stage_.emplace(options_, host_, *writer_, open_.output ? &*open_.output : nullptr,
                     log_ ? &*log_ : nullptr, outcome_, records_, datum_);
  const FormatInfo& output = InfoOf(options_.outputFormat);
  const std::int32_t limit = output.limitsRecords ? options_.recordLimit : 0;
  PointReader& reader = inputs_->reader();
  std::size_t input = 0;
  stage.StartInput(input);
  writer_->Begin();
  writerBegun_ = true;
  ReadEntry entry;
  bool fieldsTold = false;
  while (true) {
    if (reader.AtEnd()) return InputEnded();
    if (limit > 0 && records_ >= limit) {
      outcome_.firstLineNotConverted = FirstLineLeft(entry);
      return EndOutput();
    }
    if (!host_.EventStep()) {
      cancelled_ = true;
      return EndOutput();
    }
    if (!reader.Next(entry)) return InputEnded();
    if (!fieldsTold) {
      // Known once the reader has begun (a CSV's header read).
      if (const std::optional<PointFieldSet> fields = reader.fieldsGiven()) {
        writer_->FieldsToCome(*fields);
      }
      fieldsTold = true;
      TellHeadNote(reader);
    }
    if (inputs_->index() != input) {
      stage.StartInput(input = inputs_->index());
      TellHeadNote(reader);
    }
    if (entry.isPoint || entry.skip != SkipKind::kNotPointLine) inputs_->NotePoint();
    const EntryStage::Taken taken = stage.Take(entry);
    if (EntryStage::Stops(taken)) return Stopped(taken);
  }
}

std::optional<Failure> Conversion::Stopped(EntryStage::Taken taken) {
  switch (taken) {
    case EntryStage::Taken::kWriteFailed:
      return OutputFailure();
    case EntryStage::Taken::kLogFailed:
      return LogFailure();
    default:
      break;
  }
  cancelled_ = true;
  return EndOutput();
}

void Conversion::TellHeadNote(const PointReader& reader) {
  std::string note = reader.headNote();
  if (note.empty()) return;
  const std::string& path = inputs_->current().path;
  if (options_.observer != nullptr) options_.observer->OnInputNote(path, note);
  outcome_.inputNotes.push_back(inputs_->several() ? path + ": " + note : std::move(note));
}

std::optional<Failure> Conversion::InputEnded() {
  if (host_.CancelWaiting()) {
    // The cancel came with the end, or cut the input short: it wins over
    // both, as it would a moment earlier.
    cancelled_ = true;
    return EndOutput();
  }
  if (inputs_->openFailed()) {
    return Failure{RunStage::kOpenInput, inputs_->current().path, inputs_->openError()};
  }
  const auto& failure = inputs_->reader().failure();
  if (!failure) {
    readToTheEnd_ = true;
    return EndOutput();
  }
  const std::string& path = inputs_->current().path;
  const std::error_code error = inputs_->readError();
  if (error == std::errc::operation_canceled) {
    // The person running the program cancelled while the input was quiet.
    cancelled_ = true;
    return EndOutput();
  }
  outcome_.readFailure = failure;
  return Failure{RunStage::kReadLine, path, error};
}

std::optional<Failure> Conversion::EndOutput() {
  if (!stage_->WriteHeld()) return OutputFailure();
  writer_->End();
  if (open_.output && !open_.output->ok()) return OutputFailure();
  if (const std::error_code error = writer_->error()) {
    return Failure{RunStage::kWriteRecord, options_.outputPath, error};
  }
  return std::nullopt;
}

std::int64_t Conversion::FirstLineLeft(ReadEntry& entry) {
  // Only where the rest begins is looked for; nothing further is converted
  // or logged. A read error here says nothing about the entries converted,
  // but the rest was not read: it begins after the last line read (or at
  // the line the failure names, a line too long).
  PointReader& reader = inputs_->reader();
  if (!reader.AtEnd() && reader.Next(entry)) {
    if (inputs_->several()) outcome_.inputNotConverted = inputs_->current().path;
    return entry.point.line;
  }
  const auto& failure = reader.failure();
  if (!failure) {
    readToTheEnd_ = true;
    return 0;
  }
  if (inputs_->several()) outcome_.inputNotConverted = inputs_->current().path;
  return failure->line > 0 ? failure->line : entry.point.line + 1;
}

void Conversion::Release() {
  if (inputs_) inputs_->Release(outcome_, readToTheEnd_);
  if (writer_ != nullptr) {
    outcome_.titles.adjusted = writer_->titlesAdjusted();
    outcome_.fields.leftOut = writer_->fieldsLeftOut();
  }
  outcome_.datumMoves = datum_.Moved();
  outcome_.records = records_;
  stage_.reset();
  ownWriter_.reset();
  writer_ = nullptr;
}

RunOutcome Conversion::Finish() {
  // Output goes through a buffer, so a full disk may show only now: closing
  // is checked, and a failure is reported under its stage, never as success.
  // The output takes its place last, once nothing else can fail.
  std::error_code error;
  open_.CloseInput();
  if (log_) {
    log_->Finish(outcome_, options_.inputs.front().format, options_.outputFormat,
                 options_.summarize);
    if (!log_->ok()) return Fail(LogFailure());
  }
  if (!open_.CloseOutput(error)) return Fail({RunStage::kWriteRecord, options_.outputPath, error});
  if (!open_.CloseLog(error)) return Fail({RunStage::kWriteLog, *options_.logPath, error});
  if (WritesFile() && !open_.CommitOutput(error)) {
    return Fail({RunStage::kWriteRecord, options_.outputPath, error});
  }
  // A cancel that came after the last entry, while the files were closed,
  // still ends the run as one: the output is what a cancel keeps.
  cancelled_ = cancelled_ || host_.CancelWaiting();
  return Leave(cancelled_ ? RunResult::kCancelled : RunResult::kFinished);
}

RunOutcome Conversion::Fail(const Failure& failure) {
  // The output written so far is dropped: an existing output stays as it
  // was, a new one is not created. The log keeps what it got.
  Release();
  log_.reset();
  open_.CloseAllQuietly();
  RunOutcome outcome = Leave(RunResult::kFailed);
  outcome.failedStage = failure.stage;
  outcome.failedPath = failure.path;
  outcome.error = failure.error;
  return outcome;
}

RunOutcome Conversion::Leave(RunResult result) {
  RunOutcome outcome = outcome_;
  outcome.result = result;
  outcome.records = records_;
  return outcome;
}

}  // namespace

ConversionRun::ConversionRun(RunHost& host, FileSystem& files, Clock& clock, RunOptions options)
    : host_(host), files_(files), clock_(clock), options_(std::move(options)) {}

RunOutcome ConversionRun::Execute() {
  RunOptions options = options_;
  Conversion conversion(host_, files_, clock_, options, recordCount_);
  return conversion.Execute();
}

}  // namespace velorin
