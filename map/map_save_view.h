#pragma once
// What a toolkit does for a save from the map (MapSaveFlow): it shows the
// boxes the save words, asks for the file, looks up message texts, and
// handles its events while the points are written. The boxes of the run
// itself (the replacement question, the refusal and the failure) are the
// window's table of them (window/run_boxes.h: SaveEndBox), which the
// toolkit shows when asked here.
#include <optional>
#include <string>
#include <vector>

#include "convert/run_outcome.h"
#include "formats/format_table.h"

namespace velorin {

/// A box of the save's own: its title and text (lines joined by "\n"),
/// and whether it asks (Yes and No, No the default) or tells (OK alone).
struct SaveBox {
  std::string title;
  std::string text;
  bool question = false;

  friend bool operator==(const SaveBox&, const SaveBox&) = default;
};

/// The save dialog of Save As.
struct SavePathRequest {
  /// The formats offered, in the dialog's order: every format Velorin writes.
  std::vector<PointFormat> formats;
  /// The one chosen when the dialog opens, and whose extension a name
  /// typed without one gets.
  PointFormat format = PointFormat::kNvi;
  /// Its place among `formats`, from 1 (0: none).
  int formatIndex = 0;
  /// The name the dialog offers.
  std::string fileName;
};

class MapSaveView {
 public:
  virtual ~MapSaveView() = default;

  /// The message table's text by number, in UTF-8.
  virtual std::string MessageText(int number) = 0;
  /// Shows `box` modally; true when a question was answered Yes.
  virtual bool ShowBox(const SaveBox& box) = 0;
  /// The run's question whether an existing file may be replaced; true
  /// for Yes.
  virtual bool AskToReplace() = 0;
  /// A run that did not finish: shows the box the window's table has for
  /// how it ended (the refusal of one file named twice, a failure), if any.
  virtual void ShowRunEnd(const RunOutcome& outcome) = 0;
  /// The save dialog; nothing when it was cancelled.
  virtual std::optional<std::string> AskSavePath(const SavePathRequest& request) = 0;
  /// Handles the events that wait, a few times a second at most and no
  /// input, so that the points stay as they are while they are written.
  /// Called for every point: it must cost next to nothing in between. True
  /// when the person asked to cancel the save.
  virtual bool HandleEvents() = 0;
};

}  // namespace velorin
