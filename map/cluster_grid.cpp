#include "map/cluster_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace velorin {
namespace {

// A circle is at least this large, and this much wider than its count.
constexpr double kLeastCircleRadius = 10.0;
constexpr double kCircleRoom = 5.0;
// Merging twice rarely leaves anything to merge; a few more rounds settle
// the rest, and an unsettled rest is only a slight overlap.
constexpr int kMostRounds = 8;

int Digits(std::uint32_t count) {
  int digits = 1;
  for (; count >= 10; count /= 10) ++digits;
  return digits;
}

UnitBox Union(const UnitBox& a, const UnitBox& b) {
  return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
          std::max(a.maxY, b.maxY)};
}

MapCluster Merged(const MapCluster& a, const MapCluster& b) {
  const double total = static_cast<double>(a.count) + b.count;
  return {{(a.screen.x * a.count + b.screen.x * b.count) / total,
           (a.screen.y * a.count + b.screen.y * b.count) / total},
          a.count + b.count,
          std::min(a.firstPoint, b.firstPoint),
          Union(a.bounds, b.bounds)};
}

bool Overlap(const MapCluster& a, const MapCluster& b, const ClusterMarkSize& marks) {
  const double reach = marks.Radius(a.count) + marks.Radius(b.count) + kClusterMarkGap;
  const double dx = a.screen.x - b.screen.x;
  const double dy = a.screen.y - b.screen.y;
  return dx * dx + dy * dy < reach * reach;
}

std::int64_t BucketKey(std::int64_t column, std::int64_t row) {
  return (row << 32) ^ (column & 0xffffffff);
}

// One round: each mark, largest first, takes in every mark it would
// overlap. True when any did.
bool MergeRound(std::vector<MapCluster>& clusters, const ClusterMarkSize& marks) {
  double largest = 0.0;
  for (const MapCluster& cluster : clusters)
    largest = std::max(largest, marks.Radius(cluster.count));
  const double bucket = 2 * largest + kClusterMarkGap;
  std::unordered_map<std::int64_t, std::vector<std::size_t>> buckets;
  auto bucketOf = [bucket](double at) {
    return static_cast<std::int64_t>(std::floor(at / bucket));
  };
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    buckets[BucketKey(bucketOf(clusters[i].screen.x), bucketOf(clusters[i].screen.y))].push_back(i);
  }
  std::vector<bool> gone(clusters.size(), false);
  bool merged = false;
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    if (gone[i]) continue;
    // Near enough to overlap: within the mark's radius, the largest one's
    // and the gap, which a square of buckets around it covers.
    const double reach = marks.Radius(clusters[i].count) + largest + kClusterMarkGap;
    const PixelPoint at = clusters[i].screen;
    for (std::int64_t row = bucketOf(at.y - reach); row <= bucketOf(at.y + reach); ++row) {
      for (std::int64_t column = bucketOf(at.x - reach); column <= bucketOf(at.x + reach);
           ++column) {
        const auto found = buckets.find(BucketKey(column, row));
        if (found == buckets.end()) continue;
        for (const std::size_t j : found->second) {
          if (j == i || gone[j] || !Overlap(clusters[i], clusters[j], marks)) continue;
          clusters[i] = Merged(clusters[i], clusters[j]);
          gone[j] = true;
          merged = true;
        }
      }
    }
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    if (!gone[i]) clusters[kept++] = clusters[i];
  }
  clusters.resize(kept);
  return merged;
}

}  // namespace

double ClusterMarkSize::Radius(std::uint32_t count) const {
  if (count <= 1) return dotRadius;
  return std::max(kLeastCircleRadius, Digits(count) * digitWidth / 2.0 + kCircleRoom);
}

FitBounds BoundsOfUnits(const UnitBox& bounds) {
  // Longitudes as they lie in that copy, east never west of west: FitView
  // takes the box as it is.
  const LonLat northWest = UnprojectUnit({bounds.minX, bounds.minY});
  const LonLat southEast = UnprojectUnit({bounds.maxX, bounds.maxY});
  return {false,
          {northWest.longitude, southEast.latitude, southEast.longitude, northWest.latitude}};
}

ClusterGrid::ClusterGrid(const MapView& view, double margin, ClusterMarkSize marks)
    : marks_(marks),
      size_(WorldSize(view.zoom)),
      topLeft_(view.TopLeftWorld()),
      left_(topLeft_.x - margin),
      firstColumn_(std::floor(left_ / kClusterCell)),
      firstRow_(std::floor((topLeft_.y - margin) / kClusterCell)),
      columns_(static_cast<int>(std::floor((topLeft_.x + view.width + margin) / kClusterCell) -
                                firstColumn_) +
               1),
      rows_(static_cast<int>(std::floor((topLeft_.y + view.height + margin) / kClusterCell) -
                             firstRow_) +
            1),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

double ClusterGrid::CopyOf(double x) const { return std::floor((x - left_) / size_); }

std::size_t ClusterGrid::CellAt(double worldX, double worldY) const {
  const int column = std::clamp(static_cast<int>(std::floor(worldX / kClusterCell) - firstColumn_),
                                0, columns_ - 1);
  const int row =
      std::clamp(static_cast<int>(std::floor(worldY / kClusterCell) - firstRow_), 0, rows_ - 1);
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
         static_cast<std::size_t>(column);
}

std::size_t ClusterGrid::Add(std::uint32_t index, FloatUnit unit) {
  double x = static_cast<double>(unit.x) * size_;
  const double copy = CopyOf(x);
  x -= copy * size_;
  const double y = static_cast<double>(unit.y) * size_;
  const std::size_t at = CellAt(x, y);
  Cell& cell = cells_[at];
  if (cell.count++ == 0 || index < cell.first) cell.first = index;
  cell.sumX += x - topLeft_.x;
  cell.sumY += y - topLeft_.y;
  const double ux = static_cast<double>(unit.x) - copy;
  const auto uy = static_cast<double>(unit.y);
  cell.bounds = Union(cell.bounds, {ux, uy, ux, uy});
  return at;
}

void ClusterGrid::AddGroup(PixelPoint unitSum, std::uint32_t count, std::uint32_t firstPoint,
                           const UnitBox& bounds) {
  if (count == 0) return;
  const double copy = CopyOf(unitSum.x / count * size_);
  const double sumX = (unitSum.x - copy * count) * size_;
  const double sumY = unitSum.y * size_;
  Cell& cell = cells_[CellAt(sumX / count, sumY / count)];
  cell.first = cell.count == 0 ? firstPoint : std::min(cell.first, firstPoint);
  cell.count += count;
  cell.sumX += sumX - count * topLeft_.x;
  cell.sumY += sumY - count * topLeft_.y;
  cell.bounds =
      Union(cell.bounds, {bounds.minX - copy, bounds.minY, bounds.maxX - copy, bounds.maxY});
}

std::vector<MapCluster> ClusterGrid::Take() const {
  std::vector<MapCluster> clusters;
  for (const Cell& cell : cells_) {
    if (cell.count == 0) continue;
    clusters.push_back(
        {{cell.sumX / cell.count, cell.sumY / cell.count}, cell.count, cell.first, cell.bounds});
  }
  return SeparateMarks(std::move(clusters), marks_);
}

const MapCluster* CountedCircleAt(const std::vector<MapCluster>& clusters, PixelPoint at,
                                  const ClusterMarkSize& marks) {
  const MapCluster* found = nullptr;
  double nearest = 0.0;
  for (const MapCluster& cluster : clusters) {
    if (cluster.count < 2) continue;
    const double dx = cluster.screen.x - at.x;
    const double dy = cluster.screen.y - at.y;
    const double distance = dx * dx + dy * dy;
    const double radius = marks.Radius(cluster.count);
    if (distance <= radius * radius && (found == nullptr || distance < nearest)) {
      found = &cluster;
      nearest = distance;
    }
  }
  return found;
}

std::vector<MapCluster> SeparateMarks(std::vector<MapCluster> clusters,
                                      const ClusterMarkSize& marks) {
  // The largest first, so that a crowd grows from its heart; ties by the
  // lowest point, so that the same points give the same marks.
  std::sort(clusters.begin(), clusters.end(), [](const MapCluster& a, const MapCluster& b) {
    return a.count != b.count ? a.count > b.count : a.firstPoint < b.firstPoint;
  });
  for (int round = 0; round < kMostRounds && MergeRound(clusters, marks); ++round) {
  }
  return clusters;
}

}  // namespace velorin
