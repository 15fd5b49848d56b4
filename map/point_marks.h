#pragma once
// How the points of a map view are marked, whatever toolkit draws them:
// where they are few, a dot each with its title beside it where there is
// room; where many share a cell of the screen, one counted circle as large
// as its count needs; rings round the points chosen and those found, all of
// them while they are few, else those drawn alone.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "map/cluster_grid.h"
#include "map/cluster_pyramid.h"
#include "map/map_view.h"
#include "map/point_index.h"

namespace velorin {

class PointEditor;

/// A point's dot, and the ring round a point chosen or found.
inline constexpr double kDotRadius = 4.0;
inline constexpr double kRingRadius = kDotRadius + 4;
/// A title starts this far right of its dot and sits on its middle.
inline constexpr double kLabelGap = 6.0;
/// Beyond this many single points in the view, titles would only clutter.
inline constexpr std::size_t kMostLabels = 250;
/// Up to this many chosen (or found) points get a ring each; beyond, only
/// those drawn alone do, so that a frame stays quick.
inline constexpr std::size_t kMostRings = 5000;

/// How large the marks are whose counts are written in a font whose digits
/// are `digitWidth` pixels wide.
ClusterMarkSize MarkSizeOfDigit(double digitWidth);

/// The clusters of `index` seen in `view`: from its pyramid where the
/// points are many, from the index elsewhere.
std::vector<MapCluster> ClustersInView(const MapView& view, const PointIndex* index,
                                       const ClusterPyramid* pyramid, const ClusterMarkSize& size);

/// A title placed beside its dot: its box's left and top in screen pixels.
struct PlacedLabel {
  std::uint32_t item = 0;
  double left = 0.0;
  double top = 0.0;
};

/// How tall a line of the titles' font is, and how wide a title.
struct LabelFont {
  double lineHeight = 0.0;
  std::function<double(std::string_view utf8)> width;
};

/// The titles of the single points of `clusters` that have room, in the
/// order they win it (the same whichever way the view moved); none when the
/// single points are more than kMostLabels. `titleOf` gives an item's title.
std::vector<PlacedLabel> PlaceLabels(const MapView& view, const std::vector<MapCluster>& clusters,
                                     const std::function<std::string_view(std::uint32_t)>& titleOf,
                                     const LabelFont& font);

/// The items chosen in `editor` worth a ring, given the view's clusters.
std::vector<std::uint32_t> ChosenRings(const PointEditor& editor,
                                       const std::vector<MapCluster>& points,
                                       const std::vector<MapCluster>& skipped);
/// The items the find box's text finds, worth a ring; none without a text.
std::vector<std::uint32_t> FoundRings(const PointEditor& editor,
                                      const std::vector<MapCluster>& points,
                                      const std::vector<MapCluster>& skipped);

}  // namespace velorin
