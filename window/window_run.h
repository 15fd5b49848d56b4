#pragma once
// What a run of the main window reads besides the window itself: the input
// format, the log switch and the rest of the engine's options as the
// settings file sets them (run_settings.h), or the map's edited points in
// place of the input path box's file.
#include <optional>

#include "convert/conversion_run.h"

namespace velorin {

struct WindowRunOptions {
  /// The format of the input path box's file.
  PointFormat inputFormat = PointFormat::kPot;
  /// The log switch: the window's log file gets what became of every entry.
  bool log = false;
  /// The rest: untitled rule, output format, limits. Its inputs are read
  /// after the window's own; its output path and log path are the window's.
  RunOptions run = {};
  /// Read in place of the input path box's file: the map's edited points.
  std::optional<RunInput> input = std::nullopt;
};

}  // namespace velorin
