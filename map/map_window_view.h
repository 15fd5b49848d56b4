#pragma once
// What the map window's rules (MapWindowPresenter) need of a map window,
// whatever toolkit draws it: its caption, the count beside the buttons, the
// details below the list, the notice over the map, which commands may be
// used, the list's rows and choice, the map redrawn or moved to an item,
// the question about edits not saved, an error box, the reading of a file
// off the window's thread, and the save flow's two commands. A view only
// shows, asks and forwards; the presenter decides.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "map/map_load.h"
#include "map/point_list.h"

namespace velorin {

/// The commands whose use depends on the points shown and the choice.
enum class MapCommand { kSave, kSaveAs, kUndo, kRedo, kDelete, kRename, kMoveTo, kAdd, kSelectAll };

/// The keys held while the user clicks or draws a rectangle.
struct ClickKeys {
  bool control = false;
  bool shift = false;
  /// Any other (Alt, the system key).
  bool other = false;

  bool None() const { return !control && !shift && !other; }
};

/// The answer to the question about edits not saved.
enum class EditsAnswer { kSave, kDiscard, kCancel };

/// Rows of the list chosen or let go together, first and last included.
struct RowRange {
  std::size_t first = 0;
  std::size_t last = 0;
};

class MapWindowView {
 public:
  virtual ~MapWindowView() = default;

  /// A whole number in the user's way of writing numbers ("1,234").
  virtual std::string NumberText(std::uint64_t number) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  /// The count of points and of those chosen; empty: no points shown.
  virtual void SetCountText(const std::string& text) = 0;
  /// The details of the item chosen; empty: none.
  virtual void SetDetails(const std::string& text) = 0;
  /// The notice over the map; empty: none.
  virtual void SetNotice(const std::string& text) = 0;
  virtual void SetCommandEnabled(MapCommand command, bool enabled) = 0;

  /// Reads `path` off the window's thread; the presenter's Loaded follows
  /// on the window's thread, unless a newer reading began.
  virtual void ReadPoints(const std::string& path, const MapReadOptions& options) = 0;
  /// The points read are shown: the list and the map over `data`, the
  /// find box emptied.
  virtual void ShowData(const std::shared_ptr<MapData>& data) = 0;
  /// The list's rows were read anew: `headings` span the whole row; the
  /// `chosen` rows are chosen; the scroll stays where it was.
  virtual void ShowListRows(const std::vector<std::size_t>& headings,
                            const std::vector<std::size_t>& chosen) = 0;
  /// The `chosen` rows are the list's choice (nothing told back).
  virtual void ShowListChoice(const std::vector<std::size_t>& chosen) = 0;
  virtual void ScrollToRow(std::size_t row) = 0;
  /// The sort mark of the list's columns.
  virtual void ShowOrder(ListOrder order) = 0;
  /// The points are drawn anew (an edit, a choice, a find).
  virtual void RedrawPoints() = 0;
  /// The map moves to show `item`.
  virtual void ShowItem(std::uint32_t item) = 0;
  /// The map fits `items` found, and the list takes the focus.
  virtual void ShowFound(const std::vector<std::uint32_t>& items) = 0;

  /// Asks about edits not saved: Save, Discard or Cancel, Save the default.
  virtual EditsAnswer AskAboutEdits(const std::string& title, const std::string& text) = 0;
  /// An error box with OK alone.
  virtual void ShowError(const std::string& title, const std::string& text) = 0;

  /// Save and Save As of the save flow, and what they said shown; true
  /// when the points were saved.
  virtual bool SaveEdits() = 0;
  virtual bool SaveEditsAs() = 0;
  /// A new file: nothing of it is saved yet, and no save's words are shown.
  virtual void ForgetSaves() = 0;

  /// A file was read and is shown (or failed to be read).
  virtual void PointsShown() = 0;
  /// An edit was done, undone or saved.
  virtual void PointsEdited() = 0;
};

}  // namespace velorin
