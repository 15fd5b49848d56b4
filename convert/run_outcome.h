#pragma once
// How a conversion run ended and what became of its input, in the run's own
// terms: the hosts turn it into a message box, a report on standard error,
// a map's legend.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "convert/point_selection.h"
#include "formats/format_choice.h"
#include "formats/format_table.h"
#include "formats/point_kinds.h"
#include "formats/point_reader.h"
#include "geo/datum.h"
#include "text/text_encoding.h"

namespace velorin {

/// What the run was doing when it failed.
enum class RunStage : std::int16_t {
  kNone = 0,
  kOpenInput = 1,
  kOpenOutput = 2,
  kReadLine = 3,
  kWriteRecord = 4,
  kOpenLog = 5,
  kWriteLog = 6,
  /// The positions could not be moved between datums at all (PROJ could
  /// not be set up): see RunOutcome::shiftFailure.
  kShiftDatum = 7,
};

enum class RunResult {
  kRefusedSamePath,    ///< two of the run's files are one (see RunOutcome::clash)
  kDeclinedStart,      ///< the host did not let the run start
  kDeclinedOverwrite,  ///< the host did not let the run replace the output
  kFinished,
  kCancelled,
  kFailed,
};

/// The roles of the files of a run.
enum class FileRole { kInput, kOutput, kLog };

/// An input as it was read: the format its reader took, and what chose it.
struct InputRead {
  std::string path;
  PointFormat format = PointFormat::kPot;
  FormatBasis basis = FormatBasis::kExtension;
};

/// Two files of a run that are one.
struct PathClash {
  FileRole firstRole = FileRole::kInput;
  std::string first;
  FileRole secondRole = FileRole::kOutput;
  std::string second;
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

/// The titles the run changed on their way into the output, by how.
struct TitleCounts {
  /// Characters CP932 does not hold, replaced by the closest ones.
  std::int64_t replaced = 0;
  /// Titles CP932 could show none of ("?" alone is left).
  std::int64_t unshowable = 0;
  /// Written as UTF-8 text that holds their CP932 bytes only as other codes.
  std::int64_t recoded = 0;
  /// CP932 bytes that are no whole character replaced ("?", U+FFFD).
  std::int64_t brokenBytes = 0;
  /// Inner white space made single blanks.
  std::int64_t tidied = 0;
  /// Characters no text should hold replaced.
  std::int64_t controls = 0;
  /// Changed by the output format's own syntax (a "/" in a POT line).
  std::int64_t adjusted = 0;
};

/// The points one filter of the run left out.
struct LeftOutCount {
  FilterKind kind = FilterKind::kNear;
  std::string filter;  ///< its name in reports ("--near")
  std::int64_t points = 0;
};

/// Positions written after a move from one datum to another.
struct DatumMoves {
  Datum from = Datum::kWgs84;
  Datum to = Datum::kWgs84;
  /// The operation that moved them ("EPSG:15484 \"Tokyo to WGS 84 (108)\"").
  std::string operation;
  std::int64_t points = 0;
  /// Points skipped since no move between the two datums takes them (they
  /// count among the skipped ones out of range), and of those the ones
  /// whose latitude lies beyond 90 degrees (an NVI or POT file holds up to
  /// 180).
  std::int64_t unmovable = 0;
  std::int64_t beyondThePoles = 0;
};

/// "cannot be moved from the Tokyo datum to WGS 84": the words for a point
/// no move takes, the same in the summary as for each point.
std::string UnmovableWords(const DatumMoves& moves);
/// Said after UnmovableWords of a point whose latitude is beyond 90 degrees.
inline constexpr std::string_view kBeyondThePolesWords = ": latitude beyond 90 degrees";

/// What became of the points' further texts (descriptions, addresses ...).
struct FieldCounts {
  /// Texts the output format has no place for, by field.
  std::array<std::int64_t, kPointFieldCount> notKept{};
  /// Texts left out since the writer had fixed its room before they came
  /// (a CSV's columns), by field.
  std::array<std::int64_t, kPointFieldCount> leftOut{};
  /// Texts written as the reader cut them at kMaxTextBytes, by field.
  std::array<std::int64_t, kPointFieldCount> cut{};
  /// Texts whose characters the title rule replaced, and a bit for each
  /// kind of change it made (see TextChanges).
  std::int64_t replaced = 0;
  unsigned replacedKinds = 0;
  /// NVI blocks whose fields were made to fit (braces, semicolons, line
  /// breaks replaced; cut at a limit).
  std::int64_t fitted = 0;
  /// The NVI fields were asked for (so a text not kept was not asked for).
  bool nviAsked = false;
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
  /// The two files that are one, when the run refused them.
  std::optional<PathClash> clash;
  /// The output file existed before the run (and, unless the run ended
  /// normally, still holds what it held).
  bool outputExisted = false;
  /// When the record limit stopped the run with input left unread: the
  /// number (from 1) of the line where the first entry not converted
  /// begins; 0 otherwise.
  std::int64_t firstLineNotConverted = 0;
  /// With several inputs, the one the record limit stopped in (see
  /// firstLineNotConverted); empty otherwise.
  std::string inputNotConverted;
  /// The encoding a text input was read in.
  TextEncoding inputEncoding = TextEncoding::kCp932;
  /// Any byte was read from the input.
  bool inputHeldBytes = false;
  /// The input held more than ASCII, so its encoding is said in the summary.
  bool encodingWorthSaying = false;
  /// How a text input's fields were laid out, when worth saying ("fields
  /// separated by \";\" with decimal commas"); empty otherwise.
  std::string inputLayout;
  /// What the readers said of how they read their inputs (see
  /// PointReader::headNote), each after its input's path when there are
  /// several.
  std::vector<std::string> inputNotes;
  TitleCounts titles;
  FieldCounts fields;
  /// The output's texts are UTF-8: what the rule put in for a character
  /// is U+FFFD there, "?" in CP932.
  bool textsInUtf8 = false;
  /// Point entries that gave no record (no title, a rejected coordinate, not
  /// UTF-8 ...); lines that hold no point at all do not count.
  SkipCounts skipped;
  /// Lines of a line-based input that hold no point at all (a POT file's
  /// comments, its blank lines): neither skipped points nor told, but what
  /// a file written in the input's place would no longer hold.
  std::int64_t linesWithoutPoints = 0;
  /// What the input held that is no point of interest (routes, tracks ...),
  /// and points of kinds not read.
  IgnoredItems ignored;
  /// The kinds of points read of an input that has routes and tracks.
  PointKinds points;
  /// Points dropped as duplicates of one written before (--dedupe).
  std::int64_t duplicatesDropped = 0;
  /// The points each filter left out, one count for every filter, in the
  /// run's order.
  std::vector<LeftOutCount> leftOut;
  std::int64_t leftOutTotal() const {
    std::int64_t total = 0;
    for (const LeftOutCount& count : leftOut) total += count.points;
    return total;
  }
  /// The first input as it was read, once it was opened (its format the
  /// one its first bytes show when it was left open).
  std::optional<InputRead> firstInput;
  /// Inputs of several that gave no point at all.
  std::vector<InputRead> inputsWithoutPoints;
  /// Inputs named more than once (the same file, by any name): read once.
  std::vector<std::string> inputsNamedTwice;
  /// The points moved between datums on their way, for each pair of datums
  /// (--input-datum, --output-datum); empty when none was asked for.
  std::vector<DatumMoves> datumMoves;
  /// Why positions could not be moved between datums (stage kShiftDatum).
  std::string shiftFailure;
};

}  // namespace velorin
