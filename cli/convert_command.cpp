#include "cli/convert_command.h"

#include <algorithm>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <tuple>

#include "cli/cli_host.h"
#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "cli/progress.h"
#include "cli/run_report.h"
#include "cli/stdio_file_system.h"
#include "convert/conversion_run.h"
#include "formats/format_sniff.h"
#include "formats/poi_record.h"
#include "platform/interrupt.h"
#include "text/ascii.h"
#include "text/cp932_decoder.h"

namespace velorin {

namespace {

/// The --explain words for a title changed on its way into the output.
std::string_view WhatBecameOfTitle(TitleChange change) {
  switch (change) {
    case TitleChange::kUnshowable:
      return "title CP932 cannot show at all: ";
    case TitleChange::kRecoded:
      return "title's CP932 codes written as their usual form or U+FFFD: ";
    case TitleChange::kTidied:
      return "title's blanks, TABs or line breaks made single blanks: ";
    case TitleChange::kClosest:
    case TitleChange::kNone:
      break;
  }
  return "title changed to fit CP932: ";
}

/// --explain: one "LINE: reason" line per skipped point.
class ExplainObserver : public RunObserver {
 public:
  ExplainObserver(std::ostream& err, ProgressLine* progress) : err_(err), progress_(progress) {}

  void OnSkipped(std::int64_t line, SkipKind, std::string_view reason) override {
    Say(line, PrintableText(reason));
  }
  void OnTitleChanged(const Point& point, TitleChange change) override {
    Say(point.line, std::string(WhatBecameOfTitle(change)) + TitleText(point));
  }
  void OnInputStarted(std::string_view path) override {
    file_ =
        (path == StdioFileSystem::kStandardInput ? std::string("-") : PrintableText(path)) + ":";
  }
  void OnDuplicate(const Point& point, std::string_view reason) override {
    Say(point.line, PrintableText(reason) + ": " + TitleText(point));
  }

 private:
  static std::string TitleText(const Point& point) {
    if (point.title.empty()) return std::string(kNoTitleText);
    return PrintableText(point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(point.title)
                                                                      : point.title);
  }
  /// "LINE: what", or "FILE:LINE: what" when several inputs are read.
  void Say(std::int64_t lineNumber, const std::string& what) {
    if (what.empty()) return;
    if (progress_ != nullptr) progress_->Clear();
    err_ << (file_ + std::to_string(lineNumber) + ": " + what + "\n");
  }

  std::ostream& err_;
  ProgressLine* progress_;
  std::string file_;  ///< "FILE:" of the input being read, when there are several
};

std::string FileSystemPath(std::string_view path, std::string_view stream) {
  return std::string(path == "-" ? stream : path);
}

/// A log that is the input or the output file would destroy it.
bool LogClashes(StdioFileSystem& files, const std::string& log, const RunPaths& paths) {
  return files.NameSameFile(log, paths.input) || files.NameSameFile(log, paths.output);
}

/// Reads exactly `digits` decimal digits at `at`.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

/// The overwrite question on the terminal; false when nobody answers yes.
bool AskOverwrite(ConvertConsole& console, const std::string& output) {
  console.err << PrintableText(output) << " exists. Overwrite? [y/N] " << std::flush;
  // While the question waits, Ctrl-C simply ends the program.
  if (console.catchInterrupt) RestoreOriginalInterrupt();
  std::string answer;
  const bool answered = static_cast<bool>(std::getline(*console.answers, answer));
  if (console.catchInterrupt) InstallInterruptHandler();
  return answered && IsYesAnswer(answer);
}

int Report(ConvertConsole& console, const RunReport& report) {
  console.err << report.text;
  return report.exitCode;
}

std::string UpperName(PointFormat format) {
  std::string name(InfoOf(format).name);
  for (char& c : name) c = static_cast<char>(c - 32);
  return name;
}

/// An option that does not apply to the chosen formats, in words; empty
/// when every one does.
std::string OptionMisfit(const ConvertOptions& options, const FormatChoice& choice) {
  const FormatInfo& output = InfoOf(choice.output);
  if (output.makeWriter == nullptr) {
    const bool readable = output.makeReader != nullptr;
    return UpperName(choice.output) +
           (readable ? " can only be read" : " is neither read nor written by this build") +
           "; write " + (choice.output == PointFormat::kKmz ? "KML" : "another format") +
           " instead";
  }
  if (options.timestamp && choice.output != PointFormat::kNvi) {
    return "--timestamp applies to NVI output only (the output is " + UpperName(choice.output) +
           ")";
  }
  if (options.csvEncoding && choice.output != PointFormat::kCsv) {
    return "--csv-encoding applies to CSV output only (the output is " + UpperName(choice.output) +
           ")";
  }
  std::vector<PointFormat> inputs{choice.input};
  inputs.insert(inputs.end(), choice.moreInputs.begin(), choice.moreInputs.end());
  const auto isText = [](PointFormat f) {
    return f == PointFormat::kPot || f == PointFormat::kCsv;
  };
  if (options.inputEncoding && std::none_of(inputs.begin(), inputs.end(), isText)) {
    return "--input-encoding applies to POT and CSV input only (the input is " +
           UpperName(choice.input) + ")";
  }
  for (const PointFormat input : inputs) {
    // A build without an XML reader (Windows).
    if (InfoOf(input).makeReader == nullptr) {
      return UpperName(input) + " files are not read by this build of velorin-cli";
    }
  }
  return {};
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<ClockReading> ParseTimestamp(std::string_view text) {
  // YYYY/MM/DD HH:MM:SS, the punctuation at fixed places.
  constexpr std::string_view kShape = "0000/00/00 00:00:00";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] != '0' && text[i] != kShape[i]) return std::nullopt;
  }
  const auto year = Digits(text, 0, 4);
  const auto month = Digits(text, 5, 2);
  const auto day = Digits(text, 8, 2);
  const auto hour = Digits(text, 11, 2);
  const auto minute = Digits(text, 14, 2);
  const auto second = Digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) ||
      *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return ClockReading{std::string(text.substr(0, 10)), std::string(text.substr(11))};
}

bool IsYesAnswer(std::string answer) {
  // A Windows console hands the line over with its CR.
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return EqualsIgnoringAsciiCase(answer, "y") || EqualsIgnoringAsciiCase(answer, "yes");
}

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

std::pair<PointFormat, FormatBasis> ChooseInputFormat(const std::string& input,
                                                      const std::optional<std::string>& from) {
  if (from) return {*FormatNamed(*from), FormatBasis::kOption};
  if (input == "-") return {PointFormat::kPot, FormatBasis::kNothing};
  const bool open = ExtensionLeavesFormatOpen(input);
  const std::optional<PointFormat> sniffed = open ? SniffFileFormat(input) : std::nullopt;
  return {
      sniffed.value_or(InputFormatOfPath(input)),
      sniffed ? FormatBasis::kContent : (open ? FormatBasis::kNothing : FormatBasis::kExtension)};
}

FormatChoice ChooseFormats(const ConvertOptions& options) {
  FormatChoice choice;
  std::tie(choice.input, choice.inputBasis) = ChooseInputFormat(options.input, options.from);
  for (const std::string& input : options.moreInputs) {
    choice.moreInputs.push_back(ChooseInputFormat(input, options.from).first);
  }
  // Without a name, the output is named after the format it is written in.
  const PointFormat named =
      options.to ? *FormatNamed(*options.to) : DefaultOutputFormat(choice.input);
  if (options.output) {
    choice.outputPath = *options.output;
  } else {
    choice.outputPath =
        options.input == "-" ? std::string("-") : DefaultOutputPath(options.input, named);
  }
  if (options.to) {
    choice.output = *FormatNamed(*options.to);
  } else if (choice.outputPath == "-") {
    choice.output = DefaultOutputFormat(choice.input);
  } else {
    choice.output = OutputFormatOfPath(choice.outputPath);
  }
  choice.usageError = OptionMisfit(options, choice);
  return choice;
}

namespace {

/// Every input, as the file system is to see it.
std::vector<std::string> InputPaths(const ConvertOptions& options) {
  std::vector<std::string> paths{FileSystemPath(options.input, StdioFileSystem::kStandardInput)};
  for (const std::string& input : options.moreInputs) {
    paths.push_back(FileSystemPath(input, StdioFileSystem::kStandardInput));
  }
  return paths;
}

/// The run's options from the command's.
RunOptions RunOptionsOf(const ConvertOptions& options, const FormatChoice& choice,
                        RunObserver& explainer) {
  RunOptions runOptions;
  runOptions.inputFormat = choice.input;
  runOptions.outputFormat = choice.output;
  runOptions.untitled = options.untitled;
  runOptions.log = options.logPath.has_value();
  if (options.explain) runOptions.observer = &explainer;
  runOptions.inputEncoding = options.inputEncoding;
  for (std::size_t i = 0; i < options.moreInputs.size(); ++i) {
    runOptions.moreInputs.push_back(
        {FileSystemPath(options.moreInputs[i], StdioFileSystem::kStandardInput),
         choice.moreInputs[i]});
  }
  runOptions.dedupeMetres = options.dedupeMetres;
  runOptions.writer.csvEncoding = options.csvEncoding.value_or(CsvEncoding::kUtf8);
  runOptions.points = options.points;
  runOptions.thinMetres = options.thinMetres;
  return runOptions;
}

/// The two-name form whose OUTPUT is an existing point file of the input's
/// format: the shape a pattern like *.gpx gives for two inputs, so that file
/// is never overwritten, whatever --force says.
std::optional<int> RefuseGlobbedOutput(const ConvertOptions& options, const FormatChoice& choice,
                                       const RunPaths& paths, ConvertConsole& console) {
  if (!options.outputNamedSecond || options.input == "-" || choice.outputPath == "-") return {};
  StdioFileSystem files;
  if (!files.IsNormalFile(paths.output) || files.NameSameFile(paths.input, paths.output)) return {};
  if (SniffFileFormat(paths.output) != choice.input) return {};
  const std::string format = UpperName(choice.input);
  console.err << "velorin-cli: " << DescribeFile("output file", paths.output) << " is a " << format
              << " file like the input, as when a pattern such as *"
              << InfoOf(choice.input).extension
              << " names two inputs: left unchanged, whatever --force says\n"
              << "velorin-cli: to merge files into one, name the output with -o OUTPUT; to "
                 "replace this file on purpose, name it with -o too\n";
  return kExitRefused;
}

/// The refusals before any file is opened (options that do not apply, one
/// file named twice, a log on the input or output): the exit code, or
/// nothing when the run may start.
std::optional<int> RefuseBeforeTheRun(const ConvertOptions& options, const FormatChoice& choice,
                                      const RunPaths& paths, const ReportContext& context,
                                      ConvertConsole& console) {
  StdioFileSystem files;
  if (!choice.usageError.empty()) {
    // One file named twice is refused as such, whatever the options.
    if (!files.NameSameFile(paths.input, paths.output)) {
      console.err << "velorin-cli: " << choice.usageError << "\n";
      return kExitUsage;
    }
    RunOutcome refused;
    refused.result = RunResult::kRefusedSamePath;
    return Report(console, ReportRunOutcome(refused, paths, context));
  }
  if (const auto refused = RefuseGlobbedOutput(options, choice, paths, console)) return refused;
  if (options.logPath && LogClashes(files, paths.log, paths)) {
    console.err << "velorin-cli: " << DescribeFile("log file", paths.log)
                << " must not be the input or the output file\n";
    return kExitRefused;
  }
  return std::nullopt;
}

}  // namespace

int RunConvertCommand(const ConvertOptions& options, ConvertConsole& console) {
  const FormatChoice choice = ChooseFormats(options);
  RunPaths paths;
  paths.input = FileSystemPath(options.input, StdioFileSystem::kStandardInput);
  paths.output = FileSystemPath(choice.outputPath, StdioFileSystem::kStandardOutput);
  paths.log = options.logPath.value_or("");
  ReportContext context;
  context.input = choice.input;
  context.inputBasis = choice.inputBasis;
  context.output = choice.output;
  if (const auto refused = RefuseBeforeTheRun(options, choice, paths, context, console)) {
    return *refused;
  }
  std::unique_ptr<Clock> clock = ClockForTimestamp(options.timestamp, console.err);
  if (!clock) return kExitUsage;

  // Asking on the terminal only makes sense when the input comes from a file.
  bool asked = false;
  std::function<bool()> askOverwrite;
  const bool readsStandardInput =
      options.input == "-" || std::find(options.moreInputs.begin(), options.moreInputs.end(),
                                        "-") != options.moreInputs.end();
  if (console.answers != nullptr && !readsStandardInput) {
    askOverwrite = [&] {
      asked = true;
      return AskOverwrite(console, paths.output);
    };
  }
  CliHost host({paths.input, paths.output, options.logPath, options.force}, askOverwrite);
  std::optional<ProgressLine> progress;
  if (console.progressTerminal != nullptr) progress.emplace(console.progressTerminal);
  ExplainObserver explainer(console.err, progress ? &*progress : nullptr);

  StdioFileSystem files;
  if (!options.moreInputs.empty()) files.ExpectInputs(InputPaths(options));
  ConversionRun run(host, files, *clock, RunOptionsOf(options, choice, explainer));
  if (progress) host.ShowProgressOn(&*progress, &run, &files);
  // From here on a signal cancels the run (and a second one ends the
  // program without leaving the temporary output behind).
  if (console.catchInterrupt) InstallInterruptHandler();
  const RunOutcome outcome = run.Execute();
  if (progress) progress->Clear();

  context.refusedExistingOutput = host.RefusedExistingOutput();
  context.asked = asked;
  context.explained = options.explain;
  context.interruptSignal = console.catchInterrupt ? InterruptSignal() : 0;
  return Report(console, ReportRunOutcome(outcome, paths, context));
}

}  // namespace velorin
