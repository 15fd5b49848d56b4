#include "cli/convert_command.h"

#include <ostream>
#include <tuple>

#include "cli/exit_codes.h"
#include "cli/option_misfit.h"
#include "cli/printable_text.h"
#include "cli/stdio_file_system.h"
#include "formats/format_sniff.h"

namespace velorin {

namespace {

std::string FileSystemPath(std::string_view path, std::string_view stream) {
  return std::string(path == "-" ? stream : path);
}

std::optional<PointFormat> NamedFormat(const std::optional<std::string>& name) {
  return name ? FormatNamed(*name) : std::nullopt;
}

/// The two-name form whose OUTPUT is an existing point file of the input's
/// format: the shape a pattern like *.gpx gives for two inputs, so that file
/// is never overwritten, whatever --force says.
std::optional<int> RefuseGlobbedOutput(FileSystem& files, const ConvertOptions& options,
                                       const FormatChoice& choice, const RunOptions& run,
                                       ConvertConsole& console) {
  if (!options.outputNamedSecond || options.input == "-" || choice.outputPath == "-") return {};
  const std::string& input = run.inputs.front().path;
  if (!files.IsNormalFile(run.outputPath) || files.NameSameFile(input, run.outputPath)) return {};
  if (SniffFileFormat(files, run.outputPath) != choice.input) return {};
  console.err << "velorin-cli: " << DescribeFile("output file", run.outputPath) << " is a "
              << DisplayName(choice.input) << " file like the input, as when a pattern such as *"
              << InfoOf(choice.input).extension
              << " names two inputs: left unchanged, whatever --force says\n"
              << "velorin-cli: to merge files into one, name the output with -o OUTPUT; to "
                 "replace this file on purpose, name it with -o too\n";
  return kExitRefused;
}

}  // namespace

std::unique_ptr<Clock> ClockForTimestamp(const std::optional<std::string>& timestamp,
                                         std::ostream& err) {
  if (!timestamp) return std::make_unique<LocalClock>();
  const std::optional<ClockReading> reading = ParseTimestamp(*timestamp);
  if (!reading) {
    err << "velorin-cli: --timestamp must be a real date and time as 'YYYY/MM/DD HH:MM:SS', not '"
        << PrintableText(*timestamp) << "'\n";
    return nullptr;
  }
  return std::make_unique<FixedClock>(*reading);
}

std::pair<PointFormat, FormatBasis> ChooseInputFormat(FileSystem& files, const std::string& input,
                                                      const std::optional<std::string>& from) {
  return velorin::ChooseInputFormat(files, input, input == "-", NamedFormat(from));
}

FormatChoice ChooseFormats(FileSystem& files, const ConvertOptions& options) {
  FormatChoice choice;
  std::tie(choice.input, choice.inputBasis) = ChooseInputFormat(files, options.input, options.from);
  for (const std::string& input : options.moreInputs) {
    const auto [format, basis] = ChooseInputFormat(files, input, options.from);
    choice.moreInputs.push_back(format);
    choice.moreInputBases.push_back(basis);
  }
  // Without a name, the output is named after the format it is written in.
  const std::optional<PointFormat> to = NamedFormat(options.to);
  const PointFormat named = to.value_or(DefaultOutputFormat(choice.input));
  if (options.output) {
    choice.outputPath = *options.output;
  } else {
    choice.outputPath =
        options.input == "-" ? std::string("-") : DefaultOutputPath(options.input, named);
  }
  if (to) {
    choice.output = *to;
  } else if (choice.outputPath == "-") {
    choice.output = DefaultOutputFormat(choice.input);
  } else {
    choice.output = OutputFormatOfPath(choice.outputPath);
  }
  std::vector<PointFormat> inputs{choice.input};
  inputs.insert(inputs.end(), choice.moreInputs.begin(), choice.moreInputs.end());
  const GivenOptions given{options.timestamp.has_value(),
                           options.csvEncoding.has_value(),
                           options.inputEncoding.has_value(),
                           options.inputDatum,
                           options.outputDatum,
                           options.nviFields.has_value(),
                           !options.osm.tags.Empty(),
                           options.osmNameGiven};
  choice.usageError = OptionMisfit(given, inputs, choice.output);
  return choice;
}

RunOptions RunOptionsOf(const ConvertOptions& options, const FormatChoice& choice) {
  RunOptions run;
  // An input whose format nothing chose (a pipe) is told by its first
  // bytes as the run reads them.
  run.inputs.push_back({FileSystemPath(options.input, StdioFileSystem::kStandardInput),
                        choice.input, choice.inputBasis});
  for (std::size_t i = 0; i < options.moreInputs.size(); ++i) {
    run.inputs.push_back({FileSystemPath(options.moreInputs[i], StdioFileSystem::kStandardInput),
                          choice.moreInputs[i], choice.moreInputBases[i]});
  }
  run.outputPath = FileSystemPath(choice.outputPath, StdioFileSystem::kStandardOutput);
  run.outputFormat = choice.output;
  run.untitled = options.untitled;
  run.logPath = options.logPath;
  run.inputEncoding = options.inputEncoding;
  run.dedupeMetres = options.dedupeMetres;
  run.filters = options.filters;
  run.sort = options.sort;
  run.writer.csvEncoding = options.csvEncoding.value_or(CsvEncoding::kUtf8);
  run.nviFields = options.nviFields.value_or(NviFieldSet());
  run.points = options.points;
  run.thinMetres = options.thinMetres;
  run.inputDatum = options.inputDatum;
  run.outputDatum = options.outputDatum;
  run.osm = options.osm;
  // The log names the options, as the report does.
  run.summarize = CommandLineSummary;
  return run;
}

std::optional<int> RefuseBeforeTheRun(FileSystem& files, const ConvertOptions& options,
                                      const FormatChoice& choice, const RunOptions& run,
                                      ConvertConsole& console) {
  if (!choice.usageError.empty()) {
    // One file named twice is refused as such, whatever the options.
    const std::string& input = run.inputs.front().path;
    if (!files.NameSameFile(input, run.outputPath)) {
      console.err << "velorin-cli: " << choice.usageError << "\n";
      return kExitUsage;
    }
    RunOutcome refused;
    refused.result = RunResult::kRefusedSamePath;
    refused.clash = PathClash{FileRole::kInput, input, FileRole::kOutput, run.outputPath};
    const RunReport report = ReportRunOutcome(refused, PathsOf(run), {});
    console.err << report.text;
    return report.exitCode;
  }
  return RefuseGlobbedOutput(files, options, choice, run, console);
}

int RunConvertCommand(const ConvertOptions& options, FileSystem& files, ConvertConsole& console) {
  const FormatChoice choice = ChooseFormats(files, options);
  CommandRun command;
  command.options = RunOptionsOf(options, choice);
  if (const auto refused = RefuseBeforeTheRun(files, options, choice, command.options, console)) {
    return *refused;
  }
  std::unique_ptr<Clock> clock = ClockForTimestamp(options.timestamp, console.err);
  if (!clock) return kExitUsage;
  command.context.input = choice.input;
  command.context.inputBasis = choice.inputBasis;
  command.context.output = choice.output;
  command.force = options.force;
  command.explain = options.explain;
  return RunOnCommandLine(std::move(command), files, *clock, console);
}

}  // namespace velorin
