#pragma once
// `velorin-cli convert`: the options, the formats chosen from the format
// table, the checks before the run, then one conversion run hosted on the
// command line, for every pair of formats.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_run.h"
#include "cli/run_report.h"
#include "convert/conversion_run.h"
#include "formats/format_choice.h"
#include "formats/format_table.h"
#include "platform/clock.h"

namespace velorin {

struct ConvertOptions {
  /// Untitled points become "no title", as the shipped velorin.ini has it.
  UntitledRule untitled = UntitledRule::kKeep;
  std::optional<std::string> logPath;
  /// Fixed time stamp "DATE TIME"; the local clock when absent.
  std::optional<std::string> timestamp;
  bool force = false;
  bool explain = false;
  /// The encoding of a POT or CSV input; chosen from its bytes when absent.
  std::optional<TextEncoding> inputEncoding;
  /// The points read of a GPX, KML, KMZ or GeoJSON input (--points) and
  /// how far apart the track points kept lie (--thin).
  PointKinds points = {};
  double thinMetres = kDefaultThinMetres;
  std::optional<std::string> from;    ///< input format name (--from)
  std::optional<std::string> to;      ///< output format name (--to)
  std::string input;                  ///< "-" is standard input
  std::optional<std::string> output;  ///< "-" is standard output
  /// Inputs merged after `input`, in this order, into the one output.
  std::vector<std::string> moreInputs;
  /// OUTPUT was the second of two names rather than given with -o: an
  /// existing point file of the input's format there is taken for a second
  /// input (what a pattern like *.gpx gives) and never overwritten.
  bool outputNamedSecond = false;
  /// Drop points whose title a point written before has within this many
  /// metres (--dedupe).
  std::optional<double> dedupeMetres;
  std::optional<CsvEncoding> csvEncoding;  ///< --csv-encoding
  /// --near, --within, --match and --exclude, in the order given.
  std::vector<PointFilter> filters;
  std::optional<PointSort> sort;  ///< --sort
  /// The datum of a POT, NVI or CSV input's positions (--input-datum) and
  /// the one to write into such an output (--output-datum); positions move
  /// only between two different ones.
  Datum inputDatum = Datum::kWgs84;
  Datum outputDatum = Datum::kWgs84;
  std::optional<NviFieldSet> nviFields;  ///< --nvi-fields
  /// The objects kept of an OSM input and their titles' language
  /// (--osm-tags, --osm-name).
  OsmReadOptions osm;
  bool osmNameGiven = false;
};

/// The fixed clock of --timestamp, or the local clock without one. Null,
/// with the reason told on `err`, when the text is no real date and time.
std::unique_ptr<Clock> ClockForTimestamp(const std::optional<std::string>& timestamp,
                                         std::ostream& err);

struct FormatChoice {
  PointFormat input = PointFormat::kPot;
  FormatBasis inputBasis = FormatBasis::kNothing;
  std::vector<PointFormat> moreInputs;      ///< the formats of ConvertOptions::moreInputs
  std::vector<FormatBasis> moreInputBases;  ///< what chose each of them
  PointFormat output = PointFormat::kNvi;
  std::string outputPath;  ///< as given, or the default for the input ("-": standard output)
  /// An option that does not apply to these formats: one line, without the
  /// program's name; empty when all is well.
  std::string usageError;
};

/// The format an input is read as (--from, else its extension, else its
/// first bytes, else POT; standard input POT) and what chose it.
/// The first bytes are read through `files`.
std::pair<PointFormat, FormatBasis> ChooseInputFormat(FileSystem& files, const std::string& input,
                                                      const std::optional<std::string>& from);

/// The formats of a command: --from and --to when given, else the paths'
/// extensions (standard input counts as POT, standard output as NVI, or as
/// GPX when the input is NVI), and whether every option applies to them.
FormatChoice ChooseFormats(FileSystem& files, const ConvertOptions& options);

/// The run's options of a command: its inputs, output, log and what
/// becomes of the points (the paths as StdioFileSystem sees them).
RunOptions RunOptionsOf(const ConvertOptions& options, const FormatChoice& choice);

/// The refusals of a command before any file is opened (options that do
/// not apply, a globbed output), its files looked at through `files`: the
/// exit code, with the reason told on `console.err`; nothing when the run
/// may start.
std::optional<int> RefuseBeforeTheRun(FileSystem& files, const ConvertOptions& options,
                                      const FormatChoice& choice, const RunOptions& run,
                                      ConvertConsole& console);

/// Runs the command on the files of `files` and returns the exit code.
int RunConvertCommand(const ConvertOptions& options, FileSystem& files, ConvertConsole& console);

}  // namespace velorin
