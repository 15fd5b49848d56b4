#pragma once
// One conversion run, whatever the formats and whichever face starts it:
// sources (one file or several, chained) -> the title rule -> the filters
// -> the check against what the output holds -> dedupe -> the sort -> a sink (a file behind the one
// safe output, or the caller's own). It asks its host only what a person
// must decide and reports in its own terms (run_outcome.h).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/point_selection.h"
#include "convert/run_host.h"
#include "convert/run_observer.h"
#include "convert/run_outcome.h"
#include "convert/run_summary.h"
#include "formats/format_choice.h"
#include "formats/format_table.h"
#include "formats/nvi_fields.h"
#include "formats/point_reader.h"
#include "formats/untitled_rule.h"
#include "geo/datum.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "text/text_encoding.h"

namespace velorin {

/// Makes the reader of an input that is no file (the map's edited points).
using ReaderFactory = std::function<std::unique_ptr<PointReader>()>;

/// One input of a run.
struct RunInput {
  std::string path;  ///< as the file system is to see it
  PointFormat format = PointFormat::kPot;
  /// What chose `format`. kNothing leaves it open: the run reads the input's
  /// first bytes (a pipe's too, held for the reader) and takes the format
  /// they show, else `format`.
  FormatBasis basis = FormatBasis::kExtension;
  /// An input held in memory: its entries come from the reader this makes,
  /// read as entries of a `format` file would be; `path` only names it in
  /// the log and reports, and is never opened or compared with the output.
  ReaderFactory makeReader = nullptr;
};

inline constexpr std::int32_t kRecordLimit = 1'000'000;

/// Makes the writer of an output file in place of its format's own (the
/// SVG map): the output format still decides what is checked and counted.
using WriterFactory = std::function<std::unique_ptr<PointWriter>(BufferedWriter&, Clock&)>;

struct RunOptions {
  /// The inputs, read one after another into the one output; the record
  /// limit, the counts and the log cover them all.
  std::vector<RunInput> inputs = {};
  /// The file written; unused when `sink` takes the points.
  std::string outputPath = {};
  /// The format written (or, for a sink, the one whose range and record
  /// limit the points are checked against).
  PointFormat outputFormat = PointFormat::kNvi;
  UntitledRule untitled = UntitledRule::kSkip;
  /// What became of every input entry goes to this file: logging is on.
  std::optional<std::string> logPath = std::nullopt;
  /// Most records in an output format that has a limit (NVI).
  std::int32_t recordLimit = kRecordLimit;
  RunObserver* observer = nullptr;
  /// The encoding of a text input; chosen from its bytes when absent.
  std::optional<TextEncoding> inputEncoding = std::nullopt;
  /// The points read of an input that has routes and tracks, and the
  /// thinning of its tracks (see ReaderOptions).
  PointKinds points = {};
  double thinMetres = kDefaultThinMetres;
  /// Bytes read and written at a time (the input's and each output's
  /// buffer). Small ones let tests and fuzzing reach every buffer edge.
  std::size_t bufferSize = 1 << 20;
  /// Drop a point whose title a point written before has within this many
  /// metres (0: at the very same position); nothing keeps every point.
  std::optional<double> dedupeMetres = std::nullopt;
  /// The points kept: each filter in turn, after the title rule and before
  /// the check; a point one of them leaves out is counted under it.
  std::vector<PointFilter> filters = {};
  /// Every point is held until the input has ended, then all are written
  /// in this order; the input's order when absent.
  std::optional<PointSort> sort = std::nullopt;
  /// How the writer writes (CSV's encoding).
  WriterOptions writer = {};
  /// The datum the positions of an input are in, for the formats whose
  /// files do not say (FormatOption::kInputDatum: POT, NVI, CSV); every
  /// other input is WGS 84.
  Datum inputDatum = Datum::kWgs84;
  /// The datum positions are written in, for an output format that takes
  /// one (FormatOption::kOutputDatum); every other output is WGS 84. A
  /// position is moved between the two once, after it is read.
  Datum outputDatum = Datum::kWgs84;
  /// The objects kept of an OpenStreetMap input and their titles
  /// (--osm-tags, --osm-name).
  OsmReadOptions osm = {};
  /// The NVI block's own fields filled from the points' texts (ADDR with
  /// the address ...); none keeps every block as it always was.
  NviFieldSet nviFields = {};
  /// A GPX, KML, KMZ or GeoJSON file is parsed on a second thread while the
  /// entries before are written.
  bool readAhead = true;
  /// Writes the output file in place of the output format's writer.
  WriterFactory makeWriter = nullptr;
  /// Takes the points in place of an output file: no file is written.
  PointWriter* sink = nullptr;
  /// The summary a log ends with, in the host's words (naming its own
  /// options); SummarizeRun's, which name none, when absent.
  Summarizer summarize = nullptr;
};

class ConversionRun {
 public:
  ConversionRun(RunHost& host, FileSystem& files, Clock& clock, RunOptions options);

  /// Runs the whole conversion; every end, failures included, has closed
  /// every file, and an output that existed is as it was unless the run
  /// ended normally.
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

}  // namespace velorin
