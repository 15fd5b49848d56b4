#pragma once
// `velorin-cli map`: the points of point files, chosen as `convert` chooses
// them, drawn on the offline land as an SVG picture that is written through
// the run's one safe output.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cli/command_run.h"
#include "cli/convert_command.h"
#include "map/svg_map.h"

namespace velorin {

struct MapCommandOptions {
  /// The inputs, the output and the options that choose points, as for
  /// convert (--to names the format whose points a conversion would keep).
  ConvertOptions points;
  std::string size = "1024x768";  ///< WIDTHxHEIGHT
  LabelMode labels = LabelMode::kWhereRoom;
  /// The land file; found beside the program or in its data folder when empty.
  std::string landPath;
};

/// "800x600" as a size of at least 16 and at most 20000 pixels each way.
std::optional<std::pair<int, int>> ParseMapSize(std::string_view text);

/// The land file: beside the program (a build tree, an unpacked folder) or
/// in the installed data folder.
std::string DefaultLandPath();

/// Runs the command on the files of `files`; returns the exit code.
int RunMapCommand(const MapCommandOptions& options, FileSystem& files, ConvertConsole& console);

}  // namespace velorin
