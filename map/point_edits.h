#pragma once
// The edits of the map's points: a list of steps over the items read, each
// recording for every item it touched what the item was before and after
// (there or deleted, its own title or a new one, its own position or a new
// one). Undo walks the list back and redo forth; an edit made after an undo
// drops the steps undone, and the titles and positions they held with them,
// so that moving a million points and undoing it, again and again, holds
// the memory of one move. Every item holds one small state, set aside once,
// so that an edit costs a step for each item it touches and never a copy of
// the points.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "map/web_mercator.h"

namespace velorin {

/// What an edit made of an item.
struct ItemState {
  std::uint32_t title = 0;     ///< 0: the item's own; n: the edits' title n - 1
  std::uint32_t position = 0;  ///< 0: the item's own; n: the edits' position n - 1
  bool deleted = false;

  friend bool operator==(const ItemState&, const ItemState&) = default;
};

/// One item a step touched.
struct ItemChange {
  std::uint32_t item = 0;
  ItemState before;
  ItemState after;
};

enum class EditKind { kDelete, kRename, kMove, kAdd };

/// The changes of a step as just applied: made or redone (before, then
/// after), or undone (after, then before).
struct AppliedStep {
  EditKind kind = EditKind::kDelete;
  std::span<const ItemChange> changes;
  bool undone = false;

  const ItemState& From(const ItemChange& change) const {
    return undone ? change.after : change.before;
  }
  const ItemState& To(const ItemChange& change) const {
    return undone ? change.before : change.after;
  }
};

class PointEdits {
 public:
  /// Over `items` items read, none edited.
  explicit PointEdits(std::size_t items) : states_(items) {}

  /// The items, those added by edits included.
  std::size_t size() const { return states_.size(); }
  const ItemState& State(std::uint32_t item) const { return states_[item]; }
  /// The title and position a state gives its item, when an edit gave them.
  std::optional<std::string_view> TitleOf(const ItemState& state) const;
  std::optional<LonLat> PositionOf(const ItemState& state) const;

  /// Deletes the items not deleted yet: one step (none when there are none).
  AppliedStep Delete(std::span<const std::uint32_t> items);
  AppliedStep Rename(std::uint32_t item, std::string title);
  /// Moves each item to its position: one step.
  AppliedStep Move(std::span<const std::pair<std::uint32_t, LonLat>> moves);
  /// A new item, numbered size() - 1 afterwards.
  AppliedStep Add(std::string title, LonLat position);

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  /// Undoes the last step done (nothing when none is).
  AppliedStep Undo();
  AppliedStep Redo();

  /// Some step is done: the points differ from the file read.
  bool HoldsEdits() const { return done_ > 0; }
  /// The points as they are now have been saved.
  void MarkSaved() { saved_ = done_; }
  /// The points differ from those last saved (from the file read, before
  /// any save).
  bool Unsaved() const { return saved_ != done_; }

  /// The titles and positions the steps hold, undone ones included.
  std::size_t HeldTitles() const { return titles_.size(); }
  std::size_t HeldPositions() const { return positions_.size(); }

 private:
  struct Step {
    EditKind kind;
    std::vector<ItemChange> changes;
    /// The titles and positions held before the step: what it added lies
    /// beyond.
    std::size_t titlesBefore = 0;
    std::size_t positionsBefore = 0;
  };
  /// Drops the steps undone, which no redo can reach once an edit is made,
  /// with the titles and positions they added.
  void DropUndone();
  AppliedStep Make(EditKind kind, std::vector<ItemChange> changes, std::size_t titlesBefore,
                   std::size_t positionsBefore);
  void Set(const ItemChange& change, bool undo) {
    states_[change.item] = undo ? change.before : change.after;
  }

  std::vector<ItemState> states_;
  std::vector<std::string> titles_;
  std::vector<LonLat> positions_;
  std::vector<Step> steps_;
  std::size_t done_ = 0;
  /// The steps done when last saved; nothing once those steps are gone.
  std::optional<std::size_t> saved_ = 0;
};

}  // namespace velorin
