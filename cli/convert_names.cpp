#include "cli/convert_names.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "convert/run_paths.h"
#include "formats/output_path.h"

namespace velorin {

namespace {

std::string MoreThanTwoNames(std::size_t count) {
  return std::to_string(count) +
         " file names given: to merge the inputs into one file name it with -o OUTPUT, to "
         "convert each into its own file name a folder with --output-dir DIR";
}

/// A usage error of the inputs themselves; empty when there is none.
std::string InputsMisfit(const std::vector<std::string>& inputs, const ConvertNames& names) {
  if (std::count(inputs.begin(), inputs.end(), "-") > 1) {
    return "standard input (\"-\") can be read only once";
  }
  if (names.outputDir && std::find(inputs.begin(), inputs.end(), "-") != inputs.end()) {
    return "--output-dir names each output after its input file: standard input (\"-\") has no "
           "name; convert it with -o OUTPUT";
  }
  return {};
}

bool EndsBatch(int exitCode) { return exitCode >= kExitSignalBase; }

/// An output of the batch that is one of its inputs: one run would replace
/// what another is still to read (or has read). Refused, naming the pair,
/// before anything is written; the exit code then.
std::optional<int> RefuseBatchClash(const std::vector<std::string>& inputs,
                                    const std::vector<std::string>& outputs,
                                    ConvertConsole& console, FileSystem& files) {
  const std::optional<BatchClash> found = FindBatchClash(files, inputs, outputs);
  if (!found) return std::nullopt;
  RunOutcome refused;
  refused.result = RunResult::kRefusedSamePath;
  refused.clash = found->clash;
  const RunReport report = ReportRunOutcome(refused, {}, {});
  console.err << report.text << "velorin-cli: --output-dir puts the output of "
              << DescribeFile("input file", inputs[found->outputOf])
              << " there: nothing converted\n";
  return report.exitCode;
}

}  // namespace

std::string ArrangeNames(const ConvertNames& names, ConvertOptions& options) {
  std::vector<std::string> inputs = names.names;
  options.outputNamedSecond = false;
  if (names.output) {
    options.output = names.output;
  } else if (!names.outputDir) {
    if (inputs.size() > 2) return MoreThanTwoNames(inputs.size());
    if (inputs.size() == 2) {
      options.output = inputs.back();
      options.outputNamedSecond = true;
      inputs.pop_back();
    }
  }
  if (inputs.empty()) return "INPUT is required";
  if (std::string misfit = InputsMisfit(inputs, names); !misfit.empty()) return misfit;
  options.input = inputs.front();
  options.moreInputs.assign(inputs.begin() + 1, inputs.end());
  return {};
}

std::string OutputInFolder(FileSystem& files, const std::string& folder, const std::string& input,
                           const ConvertOptions& options) {
  const PointFormat written =
      options.to ? *FormatNamed(*options.to)
                 : DefaultOutputFormat(ChooseInputFormat(files, input, options.from).first);
  return PathInFolder(folder, DefaultOutputPath(input, written));
}

int RunConvertEach(const ConvertOptions& options, const std::string& folder,
                   ConvertConsole& console, FileSystem& files) {
  if (!files.IsFolder(folder)) {
    console.err << "velorin-cli: output folder '" << PrintableText(folder)
                << "' does not exist or is no folder\n";
    return kExitUsage;
  }
  if (options.logPath) {
    console.err << "velorin-cli: --log names one file: with --output-dir, convert the inputs "
                   "one at a time to log each\n";
    return kExitUsage;
  }
  std::vector<std::string> inputs{options.input};
  inputs.insert(inputs.end(), options.moreInputs.begin(), options.moreInputs.end());
  std::vector<std::string> outputs;
  outputs.reserve(inputs.size());
  for (const std::string& input : inputs)
    outputs.push_back(OutputInFolder(files, folder, input, options));
  if (const auto refused = RefuseBatchClash(inputs, outputs, console, files)) return *refused;
  std::set<std::string> written;
  int exitCode = kExitDone;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string& input = inputs[i];
    ConvertOptions single = options;
    single.input = input;
    single.moreInputs.clear();
    single.output = outputs[i];
    int code = kExitRefused;
    if (!written.insert(*single.output).second) {
      // Two inputs of one name in different folders: the second would
      // replace what the first gave.
      console.err << "velorin-cli: '" << PrintableText(*single.output)
                  << "' is the output of an earlier input too; '" << PrintableText(input)
                  << "' not converted\n";
    } else {
      code = RunConvertCommand(single, files, console);
    }
    if (exitCode == kExitDone) exitCode = code;
    if (EndsBatch(code)) return code;
  }
  return exitCode;
}

}  // namespace velorin
