#include "map/point_edits.h"

#include <algorithm>

namespace velorin {

std::optional<std::string_view> PointEdits::TitleOf(const ItemState& state) const {
  if (state.title == 0) return std::nullopt;
  return std::string_view(titles_[state.title - 1]);
}

std::optional<LonLat> PointEdits::PositionOf(const ItemState& state) const {
  if (state.position == 0) return std::nullopt;
  return positions_[state.position - 1];
}

void PointEdits::DropUndone() {
  if (done_ == steps_.size()) return;
  // The steps are a stack: what the first undone step added, and every one
  // after it, lies at the end of the titles and the positions.
  const Step& first = steps_[done_];
  titles_.resize(first.titlesBefore);
  positions_.resize(first.positionsBefore);
  steps_.resize(done_);
  if (saved_ && *saved_ > done_) saved_.reset();
}

AppliedStep PointEdits::Make(EditKind kind, std::vector<ItemChange> changes,
                             std::size_t titlesBefore, std::size_t positionsBefore) {
  if (changes.empty()) return {kind, {}, false};
  // The steps undone cannot be redone after a new one (each edit has
  // dropped them before it kept its titles and positions).
  DropUndone();
  steps_.push_back({kind, std::move(changes), titlesBefore, positionsBefore});
  ++done_;
  const Step& step = steps_.back();
  for (const ItemChange& change : step.changes) Set(change, false);
  return {kind, step.changes, false};
}

AppliedStep PointEdits::Delete(std::span<const std::uint32_t> items) {
  std::vector<ItemChange> changes;
  changes.reserve(items.size());
  for (const std::uint32_t item : items) {
    const ItemState& state = states_[item];
    if (state.deleted) continue;
    ItemState after = state;
    after.deleted = true;
    changes.push_back({item, state, after});
    // An item named twice is deleted once.
    states_[item].deleted = true;
  }
  for (const ItemChange& change : changes) states_[change.item] = change.before;
  if (!changes.empty()) DropUndone();
  return Make(EditKind::kDelete, std::move(changes), titles_.size(), positions_.size());
}

AppliedStep PointEdits::Rename(std::uint32_t item, std::string title) {
  const ItemState& state = states_[item];
  if (state.deleted || TitleOf(state) == std::string_view(title)) return {EditKind::kRename, {}};
  // Before the title is kept: it goes where the undone steps' titles were.
  DropUndone();
  titles_.push_back(std::move(title));
  ItemState after = state;
  after.title = static_cast<std::uint32_t>(titles_.size());
  return Make(EditKind::kRename, {{item, state, after}}, titles_.size() - 1, positions_.size());
}

AppliedStep PointEdits::Move(std::span<const std::pair<std::uint32_t, LonLat>> moves) {
  const bool movesAny = std::any_of(moves.begin(), moves.end(), [this](const auto& move) {
    return !states_[move.first].deleted;
  });
  if (!movesAny) return {EditKind::kMove, {}};
  DropUndone();
  const std::size_t positionsBefore = positions_.size();
  std::vector<ItemChange> changes;
  changes.reserve(moves.size());
  for (const auto& [item, position] : moves) {
    const ItemState& state = states_[item];
    if (state.deleted) continue;
    positions_.push_back(position);
    ItemState after = state;
    after.position = static_cast<std::uint32_t>(positions_.size());
    changes.push_back({item, state, after});
  }
  return Make(EditKind::kMove, std::move(changes), titles_.size(), positionsBefore);
}

AppliedStep PointEdits::Add(std::string title, LonLat position) {
  DropUndone();
  titles_.push_back(std::move(title));
  positions_.push_back(position);
  // Before the step the item is not there: undone, it is deleted.
  const ItemState before{0, 0, true};
  const ItemState after{static_cast<std::uint32_t>(titles_.size()),
                        static_cast<std::uint32_t>(positions_.size()), false};
  states_.push_back(before);
  return Make(EditKind::kAdd, {{static_cast<std::uint32_t>(states_.size() - 1), before, after}},
              titles_.size() - 1, positions_.size() - 1);
}

AppliedStep PointEdits::Undo() {
  if (!CanUndo()) return {};
  const Step& step = steps_[--done_];
  for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) Set(*it, true);
  return {step.kind, step.changes, true};
}

AppliedStep PointEdits::Redo() {
  if (!CanRedo()) return {};
  const Step& step = steps_[done_++];
  for (const ItemChange& change : step.changes) Set(change, false);
  return {step.kind, step.changes, false};
}

}  // namespace velorin
