#pragma once
// The file names of `velorin-cli convert`: which are inputs and which is the
// output, in the three forms the command takes (INPUT [OUTPUT], INPUT... -o
// OUTPUT, INPUT... --output-dir DIR), and each input converted on its own
// into a folder.
#include <optional>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "platform/file_system.h"

namespace velorin {

/// The names and output options as the command line gave them.
struct ConvertNames {
  std::vector<std::string> names;        ///< INPUT... (and OUTPUT in the two-name form)
  std::optional<std::string> output;     ///< -o
  std::optional<std::string> outputDir;  ///< --output-dir
};

/// Sets the inputs and the output of `options` from the names: with -o or
/// --output-dir every name is an input; without them one name is the input
/// and two are INPUT OUTPUT. Returns the usage error in words (without the
/// program's name) when the names do not fit; empty when they do.
std::string ArrangeNames(const ConvertNames& names, ConvertOptions& options);

/// Where --output-dir puts the output of `input`: its name by the default
/// rule (the extension of the format written) in `folder`; the input's
/// first bytes are read through `files` when its extension names no format.
std::string OutputInFolder(FileSystem& files, const std::string& folder, const std::string& input,
                           const ConvertOptions& options);

/// --output-dir: each input of `options` converted on its own into
/// `folder` (a folder of `files`), each reported as it ends. The exit code of
/// the first that did not finish well (an interrupt ends the whole), else 0.
int RunConvertEach(const ConvertOptions& options, const std::string& folder,
                   ConvertConsole& console, FileSystem& files);

}  // namespace velorin
