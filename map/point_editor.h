#pragma once
// The map window's editing, without a toolkit: the edited points, their
// list, the items chosen, and the spatial indexes kept in step with the
// edits (a point deleted leaves its index and its clusters' counts at
// once, a point moved or added joins them), so that an edit of a few
// points costs a few steps and no new index; an edit of a good part of
// them (every point moved) has the indexes made anew, in one pass.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "map/editable_map.h"
#include "map/edited_points.h"
#include "map/map_view.h"
#include "map/point_list.h"
#include "map/point_selection.h"

namespace velorin {

class PointEditor {
 public:
  /// Over `map`, which must outlive the editor; its indexes change with
  /// the edits.
  PointEditor(EditableMap& map, UntitledRule untitled);

  const EditableMap& map() const { return map_; }
  const EditedPoints& points() const { return points_; }
  PointList& list() { return list_; }
  const PointList& list() const { return list_; }
  PointSelection& selection() { return selection_; }
  const PointSelection& selection() const { return selection_; }

  // The edits. Each is one step of the edit list (none when it would change
  // nothing) and leaves the items it touched chosen, if they are there.
  /// Deletes the items chosen.
  SettledStep DeleteChosen();
  /// Titles typed or pasted are kept as a title holds them (TypedTitle):
  /// what would break a file's line never reaches one.
  SettledStep Rename(std::uint32_t item, std::string_view typed);
  /// Moves one item to `position`.
  SettledStep MoveTo(std::uint32_t item, LonLat position);
  /// Moves the items chosen that have a position by `dx`, `dy` pixels of
  /// `view`.
  SettledStep MoveChosenBy(const MapView& view, double dx, double dy);
  SettledStep Add(std::string_view typed, LonLat position);
  SettledStep Undo();
  SettledStep Redo();
  /// The points as they are now have been saved.
  void MarkSaved() { points_.MarkSaved(); }

  /// Chooses every item listed now.
  void ChooseListed();
  /// The items listed now whose positions lie in the screen rectangle
  /// (corners `a` and `b`) of `view`: points and skipped points alike.
  std::vector<std::uint32_t> ItemsIn(const MapView& view, PixelPoint a, PixelPoint b) const;
  /// The item nearest a screen pixel within `radius`: a point before a
  /// skipped one.
  std::optional<std::uint32_t> ItemAt(const MapView& view, PixelPoint at, double radius) const;
  /// The smallest box holding the positions of `items` (of the points now,
  /// or the skipped ones when there are none, when `items` is empty).
  FitBounds Bounds(std::span<const std::uint32_t> items = {}) const;

 private:
  SettledStep Settled(SettledStep step);
  /// Takes each changed item out of the index it was in and puts it in the
  /// one it belongs to now; a step that changed a good part of the items
  /// has the indexes made anew instead (IndexAnew).
  void Reindex(const SettledStep& step);
  /// The indexes and clusters made anew from the items as they are now:
  /// for a step over many items, far quicker than a step of the tree's
  /// depth for each, and as small as the first ones.
  void IndexAnew();

  EditableMap& map_;
  EditedPoints points_;
  PointList list_;
  PointSelection selection_;
};

/// A title typed or pasted, as the editor keeps it: one line, nothing no
/// text should hold (TidyTypedTitle).
std::string TypedTitle(std::string_view typed);

/// `position` moved by `dx`, `dy` pixels of `view`, on the globe (longitude
/// wrapped, latitude within the map) and to 1e-7 degree.
LonLat MovedBy(const MapView& view, LonLat position, double dx, double dy);

}  // namespace velorin
