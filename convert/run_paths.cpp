#include "convert/run_paths.h"

#include <unordered_map>
#include <unordered_set>

namespace velorin {

std::optional<PathClash> FindPathClash(FileSystem& files, const std::vector<RunInput>& inputs,
                                       const std::string* output,
                                       const std::optional<std::string>& log) {
  if (output != nullptr) {
    for (const RunInput& input : inputs) {
      if (!input.makeReader && files.NameSameFile(input.path, *output)) {
        return PathClash{FileRole::kInput, input.path, FileRole::kOutput, *output};
      }
    }
  }
  if (!log) return std::nullopt;
  if (output != nullptr && files.NameSameFile(*log, *output)) {
    return PathClash{FileRole::kLog, *log, FileRole::kOutput, *output};
  }
  for (const RunInput& input : inputs) {
    if (!input.makeReader && files.NameSameFile(*log, input.path)) {
      return PathClash{FileRole::kLog, *log, FileRole::kInput, input.path};
    }
  }
  return std::nullopt;
}

std::optional<BatchClash> FindBatchClash(FileSystem& files, const std::vector<std::string>& inputs,
                                         const std::vector<std::string>& outputs) {
  // By identity, once per file: a batch of thousands is no pairwise test.
  std::unordered_map<std::string, std::size_t> inputOf;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (const std::optional<std::string> identity = files.IdentityOf(inputs[i])) {
      inputOf.emplace(*identity, i);
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::optional<std::string> identity = files.IdentityOf(outputs[i]);
    if (!identity) continue;  // not there yet: no input
    const auto found = inputOf.find(*identity);
    if (found == inputOf.end()) continue;
    return BatchClash{
        PathClash{FileRole::kInput, inputs[found->second], FileRole::kOutput, outputs[i]}, i};
  }
  return std::nullopt;
}

std::vector<std::string> DropRepeatedInputs(FileSystem& files, std::vector<RunInput>& inputs) {
  std::vector<std::string> repeated;
  if (inputs.size() < 2) return repeated;
  std::unordered_set<std::string> seen;
  std::vector<RunInput> kept;
  kept.reserve(inputs.size());
  for (RunInput& input : inputs) {
    // An input in memory is no file that could be named twice.
    const std::optional<std::string> identity =
        input.makeReader ? std::nullopt : files.IdentityOf(input.path);
    if (identity && !seen.insert(*identity).second) {
      repeated.push_back(std::move(input.path));
      continue;
    }
    kept.push_back(std::move(input));
  }
  inputs = std::move(kept);
  return repeated;
}

}  // namespace velorin
