#include "map/point_editor.h"

#include <algorithm>
#include <cmath>

namespace velorin {
namespace {

/// Which index an item is drawn from.
enum class Layer { kNone, kPoints, kSkipped };

Layer LayerOf(ItemStatus status, const std::optional<LonLat>& position) {
  if (!position || status == ItemStatus::kGone) return Layer::kNone;
  return status == ItemStatus::kPoint ? Layer::kPoints : Layer::kSkipped;
}

double Rounded(double degrees) { return std::round(degrees * 1e7) / 1e7; }

/// From this many items changed, and an eighth of all, a step has the
/// indexes made anew rather than changed an item at a time.
constexpr std::size_t kManyChanged = 4096;

}  // namespace

LonLat MovedBy(const MapView& view, LonLat position, double dx, double dy) {
  const PixelPoint at = view.ToScreen(position);
  LonLat moved = view.ToLonLat({at.x + dx, at.y + dy});
  moved.latitude = std::clamp(Rounded(moved.latitude), -kMaxMercatorLatitude, kMaxMercatorLatitude);
  moved.longitude = Rounded(moved.longitude);
  if (moved.longitude > 180.0) moved.longitude -= 360.0;
  if (moved.longitude < -180.0) moved.longitude += 360.0;
  return moved;
}

PointEditor::PointEditor(EditableMap& map, UntitledRule untitled)
    : map_(map), points_(map, untitled), list_(points_) {
  // The indexes find the items where the edits put them.
  auto positionOf = [this](std::uint32_t item) {
    return points_.Position(item).value_or(LonLat{});
  };
  if (map_.points) map_.points->SetPositions(positionOf);
  if (map_.skipped) map_.skipped->SetPositions(positionOf);
  selection_.Resize(points_.size());
}

SettledStep PointEditor::Settled(SettledStep step) {
  Reindex(step);
  list_.Update(step);
  selection_.Resize(points_.size());
  selection_.Clear();
  for (const ItemChange& change : step.step.changes) {
    if (points_.Status(change.item) != ItemStatus::kGone) selection_.Set(change.item, true);
  }
  return step;
}

void PointEditor::IndexAnew() {
  std::vector<std::uint32_t> pointIds;
  std::vector<LonLat> pointPositions;
  std::vector<std::uint32_t> skipIds;
  std::vector<LonLat> skipPositions;
  for (std::uint32_t item = 0; item < points_.size(); ++item) {
    const std::optional<LonLat> position = points_.Position(item);
    switch (LayerOf(points_.Status(item), position)) {
      case Layer::kPoints:
        pointIds.push_back(item);
        pointPositions.push_back(*position);
        break;
      case Layer::kSkipped:
        skipIds.push_back(item);
        skipPositions.push_back(*position);
        break;
      case Layer::kNone:
        break;
    }
  }
  auto positionOf = [this](std::uint32_t item) {
    return points_.Position(item).value_or(LonLat{});
  };
  // The old ones go first: their memory serves the new ones.
  map_.points.reset();
  map_.clusters.reset();
  map_.skipped.reset();
  map_.skippedClusters.reset();
  map_.points = std::make_unique<PointIndex>(pointIds, positionOf);
  map_.clusters = std::make_unique<ClusterPyramid>(pointIds, pointPositions);
  map_.skipped = std::make_unique<PointIndex>(skipIds, positionOf);
  map_.skippedClusters = std::make_unique<ClusterPyramid>(skipIds, skipPositions);
}

void PointEditor::Reindex(const SettledStep& settled) {
  const AppliedStep& step = settled.step;
  if (step.changes.size() >= kManyChanged && step.changes.size() * 8 >= points_.size()) {
    IndexAnew();
    return;
  }
  for (std::size_t i = 0; i < step.changes.size(); ++i) {
    const std::uint32_t item = step.changes[i].item;
    const std::optional<LonLat> was = points_.PositionUnder(item, step.From(step.changes[i]));
    const std::optional<LonLat> now = points_.Position(item);
    const Layer from = LayerOf(settled.before[i], was);
    const Layer to = LayerOf(points_.Status(item), now);
    if (from == to && (from == Layer::kNone ||
                       (was->longitude == now->longitude && was->latitude == now->latitude))) {
      continue;
    }
    // Out of the index first: a cluster that lost its first point asks
    // the index for another.
    if (from == Layer::kPoints && map_.points) {
      map_.points->Remove(item, *was);
      if (map_.clusters) {
        map_.clusters->Remove(item, *was,
                              [this](const UnitBox& box) { return map_.points->AnyIn(box); });
      }
    } else if (from == Layer::kSkipped && map_.skipped) {
      map_.skipped->Remove(item, *was);
      if (map_.skippedClusters) {
        map_.skippedClusters->Remove(
            item, *was, [this](const UnitBox& box) { return map_.skipped->AnyIn(box); });
      }
    }
    if (to == Layer::kPoints && map_.points) {
      map_.points->Insert(item, *now);
      if (map_.clusters) map_.clusters->Add(item, *now);
    } else if (to == Layer::kSkipped && map_.skipped) {
      map_.skipped->Insert(item, *now);
      if (map_.skippedClusters) map_.skippedClusters->Add(item, *now);
    }
  }
}

SettledStep PointEditor::DeleteChosen() {
  const std::vector<std::uint32_t> chosen = selection_.Items();
  return Settled(points_.Delete(chosen));
}

std::string TypedTitle(std::string_view typed) {
  std::string title;
  TidyTypedTitle(typed, title);
  return title;
}

SettledStep PointEditor::Rename(std::uint32_t item, std::string_view typed) {
  std::string title = TypedTitle(typed);
  if (item >= points_.size() || points_.Title(item) == title) return {};
  return Settled(points_.Rename(item, std::move(title)));
}

SettledStep PointEditor::MoveTo(std::uint32_t item, LonLat position) {
  if (item >= points_.size()) return {};
  const std::pair<std::uint32_t, LonLat> move{item, position};
  return Settled(points_.Move({&move, 1}));
}

SettledStep PointEditor::MoveChosenBy(const MapView& view, double dx, double dy) {
  std::vector<std::pair<std::uint32_t, LonLat>> moves;
  selection_.ForEach([&](std::uint32_t item) {
    if (const std::optional<LonLat> position = points_.Position(item)) {
      moves.emplace_back(item, MovedBy(view, *position, dx, dy));
    }
  });
  return Settled(points_.Move(moves));
}

SettledStep PointEditor::Add(std::string_view typed, LonLat position) {
  return Settled(points_.Add(TypedTitle(typed), position));
}

SettledStep PointEditor::Undo() { return Settled(points_.Undo()); }

SettledStep PointEditor::Redo() { return Settled(points_.Redo()); }

void PointEditor::ChooseListed() {
  selection_.Clear();
  for (const ListGroup group :
       {ListGroup::kPoints, ListGroup::kUntitled, ListGroup::kOutOfRange, ListGroup::kUnreadable}) {
    for (const std::uint32_t item : list_.Group(group)) selection_.Set(item, true);
  }
}

std::vector<std::uint32_t> PointEditor::ItemsIn(const MapView& view, PixelPoint a,
                                                PixelPoint b) const {
  // The rectangle as a view of its own: the index's boxes across 180
  // degrees serve it.
  MapView box = view;
  box.center = view.ToLonLat({(a.x + b.x) / 2, (a.y + b.y) / 2});
  box.width = std::max(1, static_cast<int>(std::ceil(std::abs(b.x - a.x))));
  box.height = std::max(1, static_cast<int>(std::ceil(std::abs(b.y - a.y))));
  std::vector<std::uint32_t> found;
  for (const PointIndex* index : {map_.points.get(), map_.skipped.get()}) {
    if (index == nullptr) continue;
    for (const std::uint32_t item : index->InView(box)) {
      if (list_.Matches(item)) found.push_back(item);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::optional<std::uint32_t> PointEditor::ItemAt(const MapView& view, PixelPoint at,
                                                 double radius) const {
  if (map_.points) {
    if (const auto point = map_.points->Nearest(view, at, radius)) return point;
  }
  if (map_.skipped) return map_.skipped->Nearest(view, at, radius);
  return std::nullopt;
}

FitBounds PointEditor::Bounds(std::span<const std::uint32_t> items) const {
  BoundsGatherer gatherer;
  if (!items.empty()) {
    for (const std::uint32_t item : items) {
      if (const auto position = points_.Position(item)) gatherer.Add(*position);
    }
    return gatherer.Bounds();
  }
  for (const ListGroup group :
       {ListGroup::kPoints, ListGroup::kUntitled, ListGroup::kOutOfRange, ListGroup::kUnreadable}) {
    for (const std::uint32_t item : list_.Group(group)) {
      if (const auto position = points_.Position(item)) gatherer.Add(*position);
    }
    if (group == ListGroup::kPoints && !gatherer.Bounds().empty) break;
  }
  return gatherer.Bounds();
}

}  // namespace velorin
