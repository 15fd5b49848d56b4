#pragma once
// A conversion run hosted by the main window: the window's Convert and
// Cancel commands. The engine's questions and events become exactly the
// window's message-table texts, boxes and their buttons, the running panel,
// the drop switches and the focus on a failure.
#include <optional>

#include "convert/conversion_run.h"
#include "window/run_window.h"

namespace velorin {

/// What a run of the window needs beyond the window itself.
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

/// Runs the Convert command; every end, failures included, leaves the
/// window in the idle layout with drops switched on.
RunOutcome RunInWindow(RunWindow& window, FileSystem& files, Clock& clock,
                       WindowRunOptions options);

/// Saves the map's edited points by `run` (its inputs, output and format
/// set): a run without the start question, the running panel or the
/// finished box, which asks before it replaces an existing file when
/// `askToReplace` (not for the file last saved from the same window) and
/// shows the refusal or failure box Convert would show, its second line
/// speaking of the file rather than of an NVI file.
RunOutcome SaveInWindow(RunWindow& window, FileSystem& files, Clock& clock, RunOptions run,
                        bool askToReplace);

/// The Cancel command: asks the cancel question and sets
/// window.cancelRequested when the answer is Yes.
void RequestCancel(RunWindow& window);

}  // namespace velorin
