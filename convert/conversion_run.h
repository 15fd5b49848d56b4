#pragma once
// One execution of the Convert command, for any pair of point formats:
// checks, questions, the entry loop, the log, cancelling, the record limit,
// the safe output and the stage-keyed failure branch.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "convert/run_host.h"
#include "formats/format_table.h"
#include "formats/point_reader.h"
#include "formats/untitled_rule.h"
#include "platform/clock.h"
#include "platform/file_system.h"
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

/// Entries of the input that gave no record, by why.
struct SkipCounts {
  std::int64_t untitled = 0;
  std::int64_t outOfRange = 0;
  std::int64_t malformed = 0;  ///< unreadable: no position, a bad number, not UTF-8 ...
  std::int64_t total() const { return untitled + outOfRange + malformed; }
  /// Counts one skipped entry under its kind (a line that is no point counts
  /// as unreadable).
  void Count(SkipKind kind) {
    switch (kind) {
      case SkipKind::kUntitled:
        ++untitled;
        break;
      case SkipKind::kOutOfRange:
        ++outOfRange;
        break;
      case SkipKind::kMalformed:
      case SkipKind::kNotPointLine:
        ++malformed;
        break;
    }
  }
};

struct RunOutcome {
  RunResult result = RunResult::kFinished;
  RunStage failedStage = RunStage::kNone;
  std::int32_t records = 0;
  std::string failedPath;  ///< the file of the failed stage
  std::error_code error;   ///< the system's reason, when it gave one
  /// The reader's own words when the input could not be read on (a file
  /// that is not well-formed, a line too long); the stage is kReadLine.
  std::optional<ReadFailure> readFailure;
  /// The output file existed before the run (and, unless the run ended
  /// normally, still holds what it held).
  bool outputExisted = false;
  /// When the record limit stopped the run with input left unread: the
  /// number (from 1) of the line where the first entry not converted
  /// begins; 0 otherwise.
  std::int64_t firstLineNotConverted = 0;
  /// The encoding a text input was read in.
  TextEncoding inputEncoding = TextEncoding::kCp932;
  /// Any byte was read from the input.
  bool inputHeldBytes = false;
  /// The input held more than ASCII, so its encoding is said in the summary.
  bool encodingWorthSaying = false;
  /// How a table input laid out its fields, when worth saying (the
  /// reader's layoutNote()); empty otherwise.
  std::string inputLayout;
  /// Records whose title had characters CP932 does not hold, replaced by
  /// the closest ones.
  std::int32_t titlesReplaced = 0;
  /// Records whose title CP932 could show none of ("?" alone is left).
  std::int32_t titlesUnshowable = 0;
  /// Titles written as UTF-8 text that holds their CP932 bytes only as
  /// other codes (duplicate codes, bytes that are no character).
  std::int64_t titlesRecoded = 0;
  /// Titles whose inner white space the reader tidied into single blanks.
  std::int64_t titlesTidied = 0;
  /// Point entries that gave no record (no title, a rejected coordinate, not
  /// UTF-8 ...); lines that hold no point at all do not count.
  SkipCounts skipped;
  /// Titles the output format made change.
  std::int64_t titlesAdjusted = 0;
  /// What the input held that is no point of interest (routes, tracks ...).
  IgnoredItems ignored;
  /// Points dropped as duplicates of one written before (--dedupe).
  std::int64_t duplicatesDropped = 0;
  /// With several inputs, the one the record limit stopped in (see
  /// firstLineNotConverted); empty otherwise.
  std::string inputNotConverted;
};

/// Told about what a person may want to know of single entries.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  /// A point entry gave no record. `line` counts physical input lines from
  /// 1 (0 when unknown); `reason` is UTF-8.
  virtual void OnSkipped(std::int64_t line, SkipKind kind, std::string_view reason) = 0;
  /// A record was written with its title changed on the way (see
  /// TitleChange): characters CP932 lacks replaced, CP932 codes UTF-8 holds
  /// only as others, white space tidied by the reader.
  virtual void OnTitleChanged(const Point& /*point*/, TitleChange /*change*/) {}
  /// A run of several inputs begins to read `path`; the lines told from
  /// here on are its lines.
  virtual void OnInputStarted(std::string_view /*path*/) {}
  /// A point was dropped as a duplicate; `reason` names the point kept.
  virtual void OnDuplicate(const Point& /*point*/, std::string_view /*reason*/) {}
};

/// One more input of a run that merges several into one output.
struct RunInput {
  std::string path;  ///< as the file system is to see it
  PointFormat format = PointFormat::kPot;
};

inline constexpr std::int32_t kRecordLimit = 1'000'000;

struct RunOptions {
  PointFormat inputFormat = PointFormat::kPot;
  PointFormat outputFormat = PointFormat::kNvi;
  UntitledRule untitled = UntitledRule::kSkip;
  /// The log switch: what became of every input entry goes to the host's
  /// log file.
  bool log = false;
  /// Most records in an output format that has a limit (NVI).
  std::int32_t recordLimit = kRecordLimit;
  RunObserver* observer = nullptr;
  /// The encoding of a text input; chosen from its first bytes when absent.
  std::optional<TextEncoding> inputEncoding = std::nullopt;
  /// The points read of an input that has routes and tracks, and the
  /// thinning of its tracks (see ReaderOptions).
  PointKinds points = {};
  double thinMetres = kDefaultThinMetres;
  /// Bytes read and written at a time (the input's and each output's
  /// buffer). Small ones let tests and fuzzing reach every buffer edge.
  std::size_t bufferSize = 1 << 20;
  /// Inputs read after the host's one, in this order, into the same output;
  /// the record limit, the counts and the log cover them all.
  std::vector<RunInput> moreInputs = {};
  /// Drop a point whose title a point written before has within this many
  /// metres (0: at the very same position); nothing keeps every point.
  std::optional<double> dedupeMetres = std::nullopt;
  /// How the writer writes (CSV's encoding).
  WriterOptions writer = {};
  /// A GPX, KML, KMZ or GeoJSON file is parsed on a second thread while the
  /// entries before are written.
  bool readAhead = true;
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
/// host.cancelRequested unless the answer is No.
void RequestCancel(RunHost& host);

/// " " followed by the decimal digits: how every count is shown.
std::string CountText(std::int64_t count);

}  // namespace velorin
