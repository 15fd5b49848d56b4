#include "cli/convert_command.h"

#include <functional>
#include <istream>
#include <memory>
#include <ostream>

#include "cli/cli_host.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/printable_text.h"
#include "cli/progress.h"
#include "cli/run_report.h"
#include "cli/stdio_file_system.h"
#include "convert/conversion_run.h"
#include "formats/format_sniff.h"
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
    const std::string title =
        point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(point.title) : point.title;
    Say(point.line, std::string(WhatBecameOfTitle(change)) + PrintableText(title));
  }

 private:
  void Say(std::int64_t lineNumber, const std::string& what) {
    if (what.empty()) return;
    if (progress_ != nullptr) progress_->Clear();
    err_ << (std::to_string(lineNumber) + ": " + what + "\n");
  }

  std::ostream& err_;
  ProgressLine* progress_;
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
  if (options.inputEncoding && choice.input != PointFormat::kPot &&
      choice.input != PointFormat::kCsv) {
    return "--input-encoding applies to POT and CSV input only (the input is " +
           UpperName(choice.input) + ")";
  }
  if (InfoOf(choice.input).makeReader == nullptr) {
    // A build without an XML reader (Windows).
    return UpperName(choice.input) + " files are not read by this build of velorin-cli";
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

FormatChoice ChooseFormats(const ConvertOptions& options) {
  FormatChoice choice;
  if (options.from) {
    choice.input = *FormatNamed(*options.from);
    choice.inputBasis = FormatBasis::kOption;
  } else if (options.input != "-") {
    const bool open = ExtensionLeavesFormatOpen(options.input);
    const std::optional<PointFormat> sniffed = open ? SniffFileFormat(options.input) : std::nullopt;
    choice.input = sniffed.value_or(InputFormatOfPath(options.input));
    choice.inputBasis =
        sniffed ? FormatBasis::kContent : (open ? FormatBasis::kNothing : FormatBasis::kExtension);
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
  runOptions.points = options.points;
  runOptions.thinMetres = options.thinMetres;
  return runOptions;
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
  if (console.answers != nullptr && paths.input != StdioFileSystem::kStandardInput) {
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
