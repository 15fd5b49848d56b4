#include "cli/map_command.h"

#include <charconv>
#include <ostream>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/run_report.h"
#include "cli/standard_streams.h"
#include "cli/stdio_file_system.h"
#include "map/spilled_points.h"
#include "map/svg_map.h"
#include "startup/data_folder.h"

namespace velorin {
namespace {

constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 20000;

std::optional<int> ParseSide(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < kSmallestSide || value > kLargestSide) return std::nullopt;
  return value;
}

/// The formats as `convert INPUT -` would choose them.
FormatChoice MapFormats(const MapCommandOptions& options) {
  ConvertOptions convert;
  convert.input = options.input;
  convert.output = "-";
  convert.from = options.from;
  convert.to = options.to;
  convert.inputEncoding = options.inputEncoding;
  return ChooseFormats(convert);
}

/// Writes the picture; the stage that failed (with the reason in `error`)
/// when it could not be.
std::optional<RunStage> WriteMap(const MapCommandOptions& options, const SpilledMapPoints& points,
                                 const SvgMapOptions& svgOptions, std::ostream& err,
                                 std::error_code& error) {
  std::error_code landError;
  const std::string landPath = options.landPath.empty() ? DefaultLandPath() : options.landPath;
  const LandMap land = LandMap::Load(landPath, landError);
  if (landError) {
    err << "velorin-cli: no land drawn: cannot read " << DescribeFile("land file", landPath)
        << "\n";
  }
  std::unique_ptr<ReplacingSink> sink = options.output == "-"
                                            ? WriteInPlace(StandardOutputSink())
                                            : OpenReplacingFile(options.output, error);
  if (!sink || error) return RunStage::kOpenOutput;
  if (points.error()) {
    error = points.error();  // the temporary file of the points failed
    return RunStage::kWriteRecord;
  }
  BufferedWriter out(*sink);
  if (!WriteSvgMap(out, points, land, svgOptions)) {
    error = points.error();
    return RunStage::kWriteRecord;
  }
  if (!out.Close() || !sink->Commit()) {
    error = sink->error();
    return RunStage::kWriteRecord;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::pair<int, int>> ParseMapSize(std::string_view text) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return std::nullopt;
  const auto width = ParseSide(text.substr(0, x));
  const auto height = ParseSide(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return std::pair{*width, *height};
}

std::string DefaultLandPath() { return DataFolderHolding(kLandFileName) + kLandFileName; }

int RunMapCommand(const MapCommandOptions& options, std::ostream& err) {
  const auto size = ParseMapSize(options.size);
  if (!size) {
    err << "velorin-cli: --size: '" << options.size
        << "' is no WIDTHxHEIGHT of 16 to 20000 pixels each\n";
    return kExitUsage;
  }
  const FormatChoice choice = MapFormats(options);
  if (!choice.usageError.empty()) {
    err << "velorin-cli: " << choice.usageError << "\n";
    return kExitUsage;
  }
  RunPaths paths;
  paths.input = options.input == "-" ? std::string(StdioFileSystem::kStandardInput) : options.input;
  paths.output =
      options.output == "-" ? std::string(StdioFileSystem::kStandardOutput) : options.output;
  MapReadOptions readOptions;
  readOptions.format = choice.input;
  readOptions.output = choice.output;
  readOptions.untitled = options.untitled;
  readOptions.encoding = options.inputEncoding;
  StdioFileSystem files;
  // One more point than a picture draws one by one stays in memory, the
  // rest waits in a temporary file: memory stays flat however many there are.
  SpilledMapPoints points(kMostSinglePoints + 1);
  MapReadResult read = ReadMapPointsInto(files, paths.input, readOptions, points);
  ReportContext context;
  context.input = choice.input;
  context.inputBasis = choice.inputBasis;
  context.output = choice.output;
  context.mapped = true;
  context.explained = true;  // no --explain to point at: the map shows where
  if (read.outcome.result == RunResult::kFinished) {
    SvgMapOptions svgOptions;
    svgOptions.width = size->first;
    svgOptions.height = size->second;
    svgOptions.labels = options.labels;
    std::error_code error;
    read.outcome.outputExisted = files.IsNormalFile(paths.output);
    if (const auto stage = WriteMap(options, points, svgOptions, err, error)) {
      read.outcome.result = RunResult::kFailed;
      read.outcome.failedStage = *stage;
      read.outcome.error = error;
    }
  }
  const RunReport report = ReportRunOutcome(read.outcome, paths, context);
  err << report.text;
  return report.exitCode;
}

}  // namespace velorin
