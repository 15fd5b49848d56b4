#include "cli/format_command.h"

#include <istream>
#include <memory>
#include <ostream>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/format_report.h"
#include "cli/interrupt.h"
#include "cli/skip_reason_text.h"
#include "cli/stdio_file_system.h"
#include "formats/point_run.h"
#include "platform/buffered_writer.h"
#include "text/cp932.h"

namespace velorin {

namespace {

std::string FileSystemPath(std::string_view path, std::string_view stream) {
  return std::string(path == "-" ? stream : path);
}

std::string UpperName(PointFormat format) {
  std::string name(InfoOf(format).name);
  for (char& c : name) c = static_cast<char>(c - 32);
  return name;
}

std::optional<TextEncoding> TextEncodingOf(InputEncodingChoice choice) {
  switch (choice) {
    case InputEncodingChoice::kCp932:
      return TextEncoding::kCp932;
    case InputEncodingChoice::kUtf8:
      return TextEncoding::kUtf8;
    case InputEncodingChoice::kAuto:
      break;
  }
  return std::nullopt;
}

/// The overwrite question on the terminal; false when nobody can answer.
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

}  // namespace

FormatChoice ChooseFormats(const ConvertOptions& options) {
  FormatChoice choice;
  if (options.from) {
    choice.input = *FormatNamed(*options.from);
  } else if (options.input != "-") {
    choice.input = InputFormatOfPath(options.input);
  }
  if (options.output) {
    choice.outputPath = *options.output;
  } else {
    choice.outputPath =
        options.input == "-" ? std::string("-") : DefaultOutputPathFor(options.input, choice.input);
  }
  if (options.to) {
    choice.output = *FormatNamed(*options.to);
  } else if (choice.outputPath == "-") {
    choice.output = choice.input == PointFormat::kNvi ? PointFormat::kGpx : PointFormat::kNvi;
  } else {
    choice.output = OutputFormatOfPath(choice.outputPath);
  }

  if (InfoOf(choice.output).makeWriter == nullptr) {
    const bool readable = InfoOf(choice.output).makeReader != nullptr;
    choice.usageError =
        UpperName(choice.output) +
        (readable ? " can only be read" : " is neither read nor written by this build") +
        "; write " + (choice.output == PointFormat::kKmz ? "KML" : "another format") + " instead";
  } else if (options.logPath && choice.input != PointFormat::kPot) {
    choice.usageError =
        "--log applies to POT input only (the input is " + UpperName(choice.input) + ")";
  } else if (options.timestamp && choice.output != PointFormat::kNvi) {
    choice.usageError =
        "--timestamp applies to NVI output only (the output is " + UpperName(choice.output) + ")";
  } else if (options.inputEncoding != InputEncodingChoice::kAuto &&
             choice.input != PointFormat::kPot && choice.input != PointFormat::kCsv) {
    choice.usageError = "--input-encoding applies to POT and CSV input only (the input is " +
                        UpperName(choice.input) + ")";
  } else if (InfoOf(choice.input).makeReader == nullptr) {
    // A build without an XML reader (Windows).
    choice.usageError =
        UpperName(choice.input) + " files are not read by this build of velorin-cli";
  }
  return choice;
}

int RunConvertBetweenFormats(const ConvertOptions& options, ConvertConsole& console) {
  const FormatChoice choice = ChooseFormats(options);
  if (!choice.usageError.empty()) {
    // One file named twice is refused as such, whatever the options.
    RunPaths paths;
    paths.input = FileSystemPath(options.input, StdioFileSystem::kStandardInput);
    paths.output = FileSystemPath(choice.outputPath, StdioFileSystem::kStandardOutput);
    if (StdioFileSystem().NameSameFile(paths.input, paths.output)) {
      RunOutcome refused;
      refused.result = RunResult::kRefusedSamePath;
      return Report(console, ReportRunOutcome(refused, paths));
    }
    console.err << "velorin-cli: " << choice.usageError << "\n";
    return kExitUsage;
  }
  if (choice.input == PointFormat::kPot && choice.output == PointFormat::kNvi) {
    // The conversion run, byte for byte and at its own speed.
    ConvertOptions potOptions = options;
    potOptions.output = choice.outputPath;
    return RunConvertCommand(potOptions, console);
  }

  FormatRunContext context;
  RunPaths& paths = context.files;
  paths.input = FileSystemPath(options.input, StdioFileSystem::kStandardInput);
  paths.output = FileSystemPath(choice.outputPath, StdioFileSystem::kStandardOutput);
  context.output = choice.output;
  context.explained = options.explain;

  const std::unique_ptr<Clock> clock = ClockForTimestamp(options.timestamp, console.err);
  if (!clock) return kExitUsage;

  // The refusals and failures before the run read as they do for POT input.
  StdioFileSystem files;
  RunOutcome early;
  if (files.NameSameFile(paths.input, paths.output)) {
    early.result = RunResult::kRefusedSamePath;
    return Report(console, ReportRunOutcome(early, paths));
  }
  context.outputExisted = files.IsNormalFile(paths.output);
  bool asked = false;
  if (context.outputExisted && !options.force) {
    const bool canAsk =
        console.answers != nullptr && paths.input != StdioFileSystem::kStandardInput;
    asked = canAsk;
    if (!canAsk || !AskOverwrite(console, paths.output)) {
      early.result = RunResult::kDeclinedOverwrite;
      return Report(
          console, ReportRunOutcome(early, paths, {.refusedExistingOutput = true, .asked = asked}));
    }
  }

  // From here on a signal cancels the run (and a second one ends the
  // program without leaving the temporary output behind).
  if (console.catchInterrupt) InstallInterruptHandler();
  std::error_code error;
  const std::unique_ptr<ByteSource> source = files.OpenForReading(paths.input, error);
  if (!source || error) {
    early.result = RunResult::kFailed;
    early.failedStage = RunStage::kOpenInput;
    early.error = error;
    return Report(console, ReportRunOutcome(early, paths, {.asked = asked}));
  }
  const std::unique_ptr<ReplacingSink> sink = files.OpenForReplacing(paths.output, error);
  if (!sink || error) {
    early.result = RunResult::kFailed;
    early.failedStage = RunStage::kOpenOutput;
    early.error = error;
    return Report(console, ReportRunOutcome(early, paths, {.asked = asked}));
  }

  BufferedWriter out(*sink);
  ReaderOptions readerOptions;
  readerOptions.textEncoding = TextEncodingOf(options.inputEncoding);
  const std::unique_ptr<PointReader> reader =
      InfoOf(choice.input).makeReader(*source, readerOptions);
  const std::unique_ptr<PointWriter> writer = InfoOf(choice.output).makeWriter(out, *clock);

  PointRunOptions runOptions;
  runOptions.untitled = options.keepUntitled ? UntitledRule::kKeep : UntitledRule::kSkip;
  if (choice.output == PointFormat::kNvi) runOptions.recordLimit = kRecordLimit;
  if (console.catchInterrupt) runOptions.cancelRequested = [] { return InterruptRequested(); };
  if (options.explain) {
    runOptions.onSkipped = [&](std::int64_t line, std::string_view reason) {
      console.err << (std::to_string(line) + ": " + PrintableText(reason) + "\n");
    };
    runOptions.onTitleApproximated = [&](const Point& point) {
      console.err << (std::to_string(point.line) + ": title changed to fit CP932: " +
                      PrintableText(Cp932ToUtf8(point.title)) + "\n");
    };
  }

  PointRunOutcome outcome = RunPoints(*reader, *writer, out, runOptions);
  if (outcome.end == PointRunEnd::kReadFailed && console.catchInterrupt && InterruptRequested()) {
    // The wait for a quiet input was given up: a cancel, not a failure.
    writer->End();
    outcome.end = PointRunEnd::kCancelled;
  }
  const bool keep = outcome.end == PointRunEnd::kFinished ||
                    outcome.end == PointRunEnd::kCancelled ||
                    outcome.end == PointRunEnd::kLimitReached;
  // Output goes through a buffer, so a full disk may show only now; the
  // output takes its place last, once nothing else can fail.
  if (keep && (!out.Close() || !sink->Commit())) outcome.end = PointRunEnd::kWriteFailed;
  if (outcome.end == PointRunEnd::kWriteFailed) context.writeError = sink->error();
  if (!keep || outcome.end == PointRunEnd::kWriteFailed) sink->Discard();
  if (console.catchInterrupt) context.interruptSignal = InterruptSignal();
  return Report(console, ReportFormatRun(outcome, context));
}

}  // namespace velorin
