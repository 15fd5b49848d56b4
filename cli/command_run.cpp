#include "cli/command_run.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>

#include "cli/cli_host.h"
#include "cli/explain_observer.h"
#include "cli/overwrite_prompt.h"
#include "cli/progress.h"
#include "cli/stdio_file_system.h"
#include "platform/interrupt.h"

namespace velorin {

namespace {

bool ReadsStandardInput(const RunOptions& options) {
  return std::any_of(options.inputs.begin(), options.inputs.end(), [](const RunInput& input) {
    return input.path == StdioFileSystem::kStandardInput;
  });
}

std::vector<std::string> InputPaths(const RunOptions& options) {
  std::vector<std::string> paths;
  for (const RunInput& input : options.inputs) paths.push_back(input.path);
  return paths;
}

}  // namespace

RunPaths PathsOf(const RunOptions& options) {
  RunPaths paths;
  paths.input = options.inputs.empty() ? std::string() : options.inputs.front().path;
  paths.output = options.outputPath;
  paths.log = options.logPath.value_or("");
  return paths;
}

int RunOnCommandLine(CommandRun command, FileSystem& files, Clock& clock, ConvertConsole& console) {
  RunOptions& options = command.options;
  // Asking on the terminal only makes sense when the input comes from a file.
  bool asked = false;
  std::function<bool()> askOverwrite;
  if (console.answers != nullptr && !ReadsStandardInput(options)) {
    askOverwrite = [&asked, &console, output = options.outputPath] {
      asked = true;
      return AskOverwrite(console.err, *console.answers, output, console.catchInterrupt);
    };
  }
  CliHost host(command.force, askOverwrite);
  std::optional<ProgressLine> progress;
  if (console.progressTerminal != nullptr) progress.emplace(console.progressTerminal);
  ExplainObserver explainer(console.err, progress ? &*progress : nullptr);
  if (command.explain) options.observer = &explainer;

  InputReadCount* const read = console.readCount;
  if (read != nullptr && options.inputs.size() > 1) read->ExpectInputs(InputPaths(options));
  const RunPaths paths = PathsOf(options);
  ConversionRun run(host, files, clock, std::move(options));
  if (progress) host.ShowProgressOn(&*progress, &run, read);
  // From here on a signal cancels the run (and a second one ends the
  // program without leaving the temporary output behind).
  if (console.catchInterrupt) InstallInterruptHandler();
  const RunOutcome outcome = run.Execute();
  if (progress) progress->Clear();

  ReportContext& context = command.context;
  if (outcome.firstInput) {
    // The run may have told the input's format by its first bytes.
    context.input = outcome.firstInput->format;
    context.inputBasis = outcome.firstInput->basis;
  }
  context.refusedExistingOutput = host.RefusedExistingOutput();
  context.asked = asked;
  context.explained = context.explained || command.explain;
  context.interruptSignal = console.catchInterrupt ? InterruptSignal() : 0;
  const RunReport report = ReportRunOutcome(outcome, paths, context);
  console.err << report.text;
  return report.exitCode;
}

}  // namespace velorin
