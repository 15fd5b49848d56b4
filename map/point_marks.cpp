#include "map/point_marks.h"

#include <algorithm>

#include "map/label_grid.h"
#include "map/point_editor.h"

namespace velorin {

ClusterMarkSize MarkSizeOfDigit(double digitWidth) { return {digitWidth, kDotRadius}; }

std::vector<MapCluster> ClustersInView(const MapView& view, const PointIndex* index,
                                       const ClusterPyramid* pyramid, const ClusterMarkSize& size) {
  if (index == nullptr || index->size() == 0) return {};
  std::optional<std::vector<MapCluster>> made =
      pyramid != nullptr ? pyramid->InView(view, kClusterCell, size) : std::nullopt;
  return made ? std::move(*made) : index->Clusters(view, kClusterCell, size);
}

std::vector<PlacedLabel> PlaceLabels(const MapView& view, const std::vector<MapCluster>& clusters,
                                     const std::function<std::string_view(std::uint32_t)>& titleOf,
                                     const LabelFont& font) {
  std::vector<const MapCluster*> singles;
  for (const MapCluster& cluster : clusters) {
    if (cluster.count == 1) singles.push_back(&cluster);
  }
  if (singles.size() > kMostLabels) return {};
  LabelGrid grid(view.width, view.height);
  for (const MapCluster* single : singles) {
    grid.Occupy({single->screen.x - kDotRadius, single->screen.y - kDotRadius,
                 single->screen.x + kDotRadius, single->screen.y + kDotRadius});
  }
  // The same points win the room whichever way the view moved.
  std::sort(singles.begin(), singles.end(),
            [](const MapCluster* a, const MapCluster* b) { return a->firstPoint < b->firstPoint; });
  std::vector<PlacedLabel> placed;
  for (const MapCluster* single : singles) {
    const std::string_view title = titleOf(single->firstPoint);
    if (title.empty()) continue;
    const double left = single->screen.x + kLabelGap;
    const double top = single->screen.y - font.lineHeight / 2;
    const ScreenBox box{left, top, left + font.width(title), top + font.lineHeight};
    if (grid.TryPlace(box)) placed.push_back({single->firstPoint, left, top});
  }
  return placed;
}

namespace {

// The single items of the view's clusters that `keep` keeps.
template <typename Keep>
std::vector<std::uint32_t> SinglesKept(const std::vector<MapCluster>& points,
                                       const std::vector<MapCluster>& skipped, Keep keep) {
  std::vector<std::uint32_t> kept;
  for (const auto* clusters : {&points, &skipped}) {
    for (const MapCluster& cluster : *clusters) {
      if (cluster.count == 1 && keep(cluster.firstPoint)) kept.push_back(cluster.firstPoint);
    }
  }
  return kept;
}

}  // namespace

std::vector<std::uint32_t> ChosenRings(const PointEditor& editor,
                                       const std::vector<MapCluster>& points,
                                       const std::vector<MapCluster>& skipped) {
  const PointSelection& chosen = editor.selection();
  if (chosen.count() <= kMostRings) return chosen.Items();
  return SinglesKept(points, skipped, [&](std::uint32_t item) { return chosen.Has(item); });
}

std::vector<std::uint32_t> FoundRings(const PointEditor& editor,
                                      const std::vector<MapCluster>& points,
                                      const std::vector<MapCluster>& skipped) {
  const PointList& list = editor.list();
  if (list.filter().empty()) return {};
  if (list.Count(ListGroup::kPoints) + list.Count(ListGroup::kSkipped) > kMostRings)
    return SinglesKept(points, skipped, [&](std::uint32_t item) { return list.Matches(item); });
  std::vector<std::uint32_t> rings;
  for (const ListGroup group :
       {ListGroup::kPoints, ListGroup::kUntitled, ListGroup::kOutOfRange, ListGroup::kUnreadable}) {
    const auto listed = list.Group(group);
    rings.insert(rings.end(), listed.begin(), listed.end());
  }
  return rings;
}

}  // namespace velorin
