#include "cli/convert_command.h"

#include <istream>
#include <memory>
#include <ostream>

#include "cli/cli_host.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/progress.h"
#include "cli/run_report.h"
#include "cli/skip_reason_text.h"
#include "cli/stdio_file_system.h"
#include "convert/conversion_run.h"
#include "convert/output_path.h"

namespace velorin {

namespace {

/// --explain: one "LINE: reason" line per skipped point line.
class ExplainObserver : public RunObserver {
 public:
  ExplainObserver(std::ostream& err, ProgressLine* progress) : err_(err), progress_(progress) {}

  void OnPointLineSkipped(std::int64_t lineNumber, const PotLineOutcome& outcome) override {
    const std::string reason = SkipReasonText(outcome);
    if (reason.empty()) return;
    if (progress_ != nullptr) progress_->Clear();
    err_ << (std::to_string(lineNumber) + ": " + reason + "\n");
  }

 private:
  std::ostream& err_;
  ProgressLine* progress_;
};

std::string FileSystemPath(std::string_view path, std::string_view stream) {
  return std::string(path == "-" ? stream : path);
}

bool IsYes(std::string answer) {
  for (char& c : answer) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return answer == "y" || answer == "yes";
}

/// A log that is the input or the output file would destroy it.
bool LogClashes(StdioFileSystem& files, const std::string& log, const RunFiles& paths) {
  for (const std::string* other : {&paths.input, &paths.output}) {
    if (log == *other || files.AreSameExistingFile(log, *other)) return true;
  }
  return false;
}

}  // namespace

std::optional<ClockReading> SplitTimestamp(std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  return ClockReading{std::string(text.substr(0, blank)), std::string(text.substr(blank + 1))};
}

std::string DefaultOutputPath(std::string_view input) {
  return input == "-" ? std::string("-") : DeriveOutputPath(input);
}

int RunConvertCommand(const ConvertOptions& options, ConvertConsole& console) {
  RunFiles paths;
  paths.input = FileSystemPath(options.input, StdioFileSystem::kStandardInput);
  paths.output = FileSystemPath(options.output ? *options.output : DefaultOutputPath(options.input),
                                StdioFileSystem::kStandardOutput);
  paths.log = options.logPath.value_or("");

  StdioFileSystem files;
  if (options.logPath && LogClashes(files, paths.log, paths)) {
    console.err << "velorin-cli: " << DescribeFile("log file", paths.log)
                << " must not be the input or the output file\n";
    return kExitRefused;
  }

  std::unique_ptr<Clock> clock;
  if (options.timestamp) {
    const std::optional<ClockReading> reading = SplitTimestamp(*options.timestamp);
    if (!reading) {
      console.err << "velorin-cli: --timestamp needs a date and a time separated by a blank\n";
      return kExitUsage;
    }
    clock = std::make_unique<FixedClock>(*reading);
  } else {
    clock = std::make_unique<LocalClock>();
  }

  // Asking on the terminal only makes sense when the input comes from a file.
  bool asked = false;
  std::function<bool()> askOverwrite;
  if (console.answers != nullptr && paths.input != StdioFileSystem::kStandardInput) {
    askOverwrite = [&] {
      asked = true;
      console.err << PrintableText(paths.output) << " exists. Overwrite? [y/N] " << std::flush;
      // While the question waits, Ctrl-C simply ends the program.
      if (console.catchInterrupt) RestoreOriginalInterrupt();
      std::string answer;
      const bool answered = static_cast<bool>(std::getline(*console.answers, answer));
      if (console.catchInterrupt) InstallInterruptHandler();
      return answered && IsYes(answer);
    };
  }

  CliHostSettings settings;
  settings.inputPath = paths.input;
  settings.outputPath = paths.output;
  settings.keepUntitled = options.keepUntitled;
  settings.logPath = options.logPath;
  settings.force = options.force;
  CliHost host(settings, askOverwrite);

  std::optional<ProgressLine> progress;
  if (console.progressTerminal != nullptr) progress.emplace(console.progressTerminal);
  ExplainObserver explainer(console.err, progress ? &*progress : nullptr);
  RunOptions runOptions;
  if (options.explain) runOptions.observer = &explainer;

  ConversionRun run(host, files, *clock, runOptions);
  if (progress) host.ShowProgressOn(&*progress, &run, &files);
  if (console.catchInterrupt) InstallInterruptHandler();
  const RunOutcome outcome = run.Execute();
  if (progress) progress->Clear();

  const RunReport report = ReportRunOutcome(outcome, paths, host.RefusedExistingOutput(), asked);
  console.err << report.text;
  return report.exitCode;
}

}  // namespace velorin
