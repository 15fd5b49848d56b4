#pragma once
// The items of an editable map as its edits make them: each item's title,
// position and status now, and the entry a reader of the edited file would
// give for it. An edited item's status is decided as a run decides it (the
// one title rule, then the check against what the input's and the output's
// formats hold), so that the map counts as points exactly what a
// conversion of the edited file would write.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/title_rule.h"
#include "formats/point_check.h"
#include "map/editable_map.h"
#include "map/point_edits.h"

namespace velorin {

/// What an item is now.
enum class ItemStatus : std::uint8_t {
  kGone,   ///< deleted, or added and undone
  kPoint,  ///< it would become a record
  kUntitled,
  kOutOfRange,
  kUnreadable,
};

ItemStatus StatusOf(SkipKind kind);
bool IsSkipped(ItemStatus status);

/// The statuses an applied step left, beside the step.
struct SettledStep {
  AppliedStep step;
  /// The status of each changed item before the step, in its order.
  std::vector<ItemStatus> before;
};

class EditedPoints {
 public:
  /// Over `map` (which must outlive it and never move); items are checked
  /// under `untitled`, against the map's output format.
  EditedPoints(const EditableMap& map, UntitledRule untitled);

  const EditableMap& map() const { return map_; }
  const PointEdits& edits() const { return edits_; }
  UntitledRule untitled() const { return untitled_; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(edits_.size()); }
  /// The first item added by an edit.
  std::uint32_t firstAdded() const { return map_.pointCount() + map_.skipCount(); }
  bool IsAdded(std::uint32_t item) const { return item >= firstAdded(); }
  /// A skipped entry of the file (edited or not).
  bool IsReadSkip(std::uint32_t item) const {
    return item >= map_.pointCount() && item < firstAdded();
  }
  ItemStatus Status(std::uint32_t item) const { return status_[item]; }

  /// The title the list shows (UTF-8): an edit's, else the map's (as the
  /// output holds it), else the one the file gave a skipped point; empty
  /// when none is known. Valid while the item's title stays.
  std::string_view Title(std::uint32_t item) const;
  /// Where the item lies now; nothing when no position is known.
  std::optional<LonLat> Position(std::uint32_t item) const;
  /// Where it lay under `state`.
  std::optional<LonLat> PositionUnder(std::uint32_t item, const ItemState& state) const;
  /// The texts of where it lies now (empty when nowhere): those of the
  /// file's own code while it stays where the file put it.
  MapPointTexts Texts(std::uint32_t item) const;
  std::int64_t Line(std::uint32_t item) const;
  /// Its place in the file; added items follow the file's, in the order added.
  std::uint64_t Order(std::uint32_t item) const;
  /// What the engine said of a skipped entry of the file (English); empty
  /// for other items.
  std::string_view Reason(std::uint32_t item) const;
  /// The entry a reader of the edited file gives for `item`; false when
  /// the item is gone.
  bool Entry(std::uint32_t item, ReadEntry& entry) const;

  // The edits, each one step; the items' statuses follow.
  SettledStep Delete(std::span<const std::uint32_t> items) { return Settle(edits_.Delete(items)); }
  SettledStep Rename(std::uint32_t item, std::string title) {
    return Settle(edits_.Rename(item, std::move(title)));
  }
  SettledStep Move(std::span<const std::pair<std::uint32_t, LonLat>> moves) {
    return Settle(edits_.Move(moves));
  }
  SettledStep Add(std::string title, LonLat position);
  SettledStep Undo() { return Settle(edits_.Undo()); }
  SettledStep Redo() { return Settle(edits_.Redo()); }
  void MarkSaved() { edits_.MarkSaved(); }

 private:
  SettledStep Settle(AppliedStep step);
  ItemStatus StatusNow(std::uint32_t item) const;
  std::string_view ReadTitle(std::uint32_t item, TitleEncoding& encoding, bool& approximated) const;

  const EditableMap& map_;
  UntitledRule untitled_;
  PointEdits edits_;
  std::vector<ItemStatus> status_;
  TitleSource source_;
  PointRanges ranges_;
  mutable TitleRule rule_;
  /// The titles of skipped points given in CP932, once shown in UTF-8.
  mutable std::unordered_map<std::uint32_t, std::string> decoded_;
};

}  // namespace velorin
