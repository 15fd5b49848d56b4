#pragma once
// The files of a run compared before any is opened: an output or a log
// that is one of the inputs (or each other) would destroy what is read, so
// such a run is refused; an input named twice is read once.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "convert/run_outcome.h"
#include "platform/file_system.h"

namespace velorin {

/// The first two files of the run that are one: an input and the output,
/// the log and the output, the log and an input. `output` is null when the
/// run writes no file.
std::optional<PathClash> FindPathClash(FileSystem& files, const std::vector<RunInput>& inputs,
                                       const std::string* output,
                                       const std::optional<std::string>& log);

/// An output of a batch, where each input is converted on its own, that is
/// an input of the batch: `outputOf` is the input whose run writes it.
struct BatchClash {
  PathClash clash;  ///< the input that is the output, and that output
  std::size_t outputOf = 0;
};

/// The first output of `outputs` (the output of `inputs[i]` at index i)
/// that names a file one of `inputs` names (by identity), so that a run of
/// the batch would replace an input before, or after, it is read.
std::optional<BatchClash> FindBatchClash(FileSystem& files, const std::vector<std::string>& inputs,
                                         const std::vector<std::string>& outputs);

/// Removes every input that names a file an input before it names (by
/// identity: "a.gpx", "./a.gpx" and a link to it are one); the names
/// removed, in order.
std::vector<std::string> DropRepeatedInputs(FileSystem& files, std::vector<RunInput>& inputs);

}  // namespace velorin
