#pragma once
// One execution of the Convert command: checks, questions, the line loop,
// the log, cancelling, the record limit and the stage-keyed failure branch.
#include <cstdint>
#include <string>
#include <system_error>

#include "formats/poi_record.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "convert/run_host.h"
#include "text/text_encoding.h"

namespace velorin {

/// What the run was doing when it failed; the number selects the message.
enum class RunStage : std::int16_t {
  kNone = 0,
  kOpenInput = 1,
  kOpenOutput = 2,
  kReadLine = 3,
  kWriteRecord = 4,
  kOpenLog = 5,
  kWriteLog = 6,
};

enum class RunResult {
  kRefusedSamePath,    ///< input and output name the same file
  kDeclinedStart,      ///< the start question was answered No
  kDeclinedOverwrite,  ///< the overwrite question was answered No
  kFinished,
  kCancelled,
  kFailed,
};

struct RunOutcome {
  RunResult result = RunResult::kFinished;
  RunStage failedStage = RunStage::kNone;
  std::int32_t records = 0;
  std::string failedPath;  ///< the file of the failed stage
  std::error_code error;   ///< the system's reason, when it gave one
  /// The output file existed before the run (and, unless the run ended
  /// normally, still holds what it held).
  bool outputExisted = false;
  /// When the record limit stopped the run with input left unread: the
  /// number (from 1) of the first input line not converted; 0 otherwise.
  std::int64_t firstLineNotConverted = 0;
  /// The encoding the input was read in.
  TextEncoding inputEncoding = TextEncoding::kCp932;
  /// Records whose title had characters CP932 does not hold (UTF-8 input).
  std::int32_t titlesReplaced = 0;
  /// Point lines that gave no record (no title, a rejected coordinate, not
  /// UTF-8); lines that are not point lines do not count.
  std::int32_t pointLinesSkipped = 0;
};

/// Told about what a person may want to know of single lines (explanations).
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  /// A point line, or a line of a UTF-8 file that is not valid UTF-8, was
  /// skipped. `lineNumber` counts physical input lines from 1.
  virtual void OnPointLineSkipped(std::int64_t lineNumber, const PotLineOutcome& outcome) = 0;
  /// A record was written with a title whose characters CP932 does not hold
  /// all replaced by the closest ones it does.
  virtual void OnTitleReplaced(std::int64_t /*lineNumber*/, const PoiRecord& /*record*/) {}
};

/// How the input file is read: chosen from its first bytes, or as told.
enum class InputEncodingChoice { kAuto, kCp932, kUtf8 };

inline constexpr std::int32_t kRecordLimit = 1'000'000;

struct RunOptions {
  std::int32_t recordLimit = kRecordLimit;
  RunObserver* observer = nullptr;
  InputEncodingChoice inputEncoding = InputEncodingChoice::kAuto;
  /// Bytes read and written at a time (the input's and each output's
  /// buffer). Small ones let tests and fuzzing reach every buffer edge.
  std::size_t bufferSize = 1 << 20;
};

class ConversionRun {
 public:
  ConversionRun(RunHost& host, FileSystem& files, Clock& clock, RunOptions options = {});

  /// Runs the whole command; every end, failures included, leaves the host
  /// in the idle layout with drops switched on.
  RunOutcome Execute();

  /// Records written so far (readable from the host while the run works).
  std::int32_t RecordCount() const { return recordCount_; }

 private:
  RunHost& host_;
  FileSystem& files_;
  Clock& clock_;
  RunOptions options_;
  std::int32_t recordCount_ = 0;
};

/// The Cancel command: asks the cancel question and sets
/// host.CancelRequested unless the answer is No.
void RequestCancel(RunHost& host);

/// " " followed by the decimal digits: how every count is shown.
std::string CountText(std::int64_t count);

}  // namespace velorin
