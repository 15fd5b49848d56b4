#pragma once
// What velorin-cli says, and with which exit code, once a conversion run has
// ended.
#include <string>
#include <string_view>

#include "convert/run_outcome.h"
#include "convert/run_summary.h"
#include "formats/format_choice.h"
#include "formats/format_table.h"

namespace velorin {

struct RunReport {
  int exitCode = 0;
  std::string text;  ///< lines for standard error, each ending in "\n"
};

/// The files of the run as the file system saw them (the standard streams
/// under their reserved names).
struct RunPaths {
  std::string input;
  std::string output;
  std::string log;
};

/// "input file 'a.pot'", or "standard input" for the stream.
std::string DescribeFile(std::string_view role, std::string_view path);

/// What the report needs to know besides the outcome.
struct ReportContext {
  PointFormat input = PointFormat::kPot;
  FormatBasis inputBasis = FormatBasis::kExtension;
  PointFormat output = PointFormat::kNvi;
  /// The overwrite question was answered No (or could not be asked).
  bool refusedExistingOutput = false;
  /// A person answered the overwrite question.
  bool asked = false;
  /// The skipped points were already named (--explain).
  bool explained = false;
  /// The points were drawn on a map, not written: "12 points drawn in map.svg".
  bool mapped = false;
  /// The signal that cancelled the run (its exit code is 128 + the number).
  int interruptSignal = 0;
};

/// The summary of a run in velorin-cli's words: where reading or keeping
/// more takes an option, the option that does (--points, --nvi-fields). Its
/// report and its --log end with it.
RunSummary CommandLineSummary(const RunOutcome& outcome, PointFormat input, PointFormat output);

/// "12 records written to a.nvi" (points for other formats), then a line
/// each for skipped points, ignored routes and tracks and changed titles;
/// or the refusal; or the failure and what became of the output file.
RunReport ReportRunOutcome(const RunOutcome& outcome, const RunPaths& files,
                           const ReportContext& context = {});

}  // namespace velorin
