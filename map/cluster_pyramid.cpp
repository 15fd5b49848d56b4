#include "map/cluster_pyramid.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "map/point_index.h"

namespace velorin {
namespace {

std::uint64_t CellKey(std::uint32_t column, std::uint32_t row) {
  return (std::uint64_t{row} << 32) | column;
}

// Cells across the world at `zoom`: a power of two, so that four cells of a
// level make one of the level above.
std::uint32_t CellsAcross(int zoom) {
  return static_cast<std::uint32_t>(std::exp2(zoom) * kTileSize / kFineCell);
}

void Include(ClusterPyramid::Cell& cell, float minX, float minY, float maxX, float maxY) {
  cell.minX = std::min(cell.minX, minX);
  cell.minY = std::min(cell.minY, minY);
  cell.maxX = std::max(cell.maxX, maxX);
  cell.maxY = std::max(cell.maxY, maxY);
}

}  // namespace

namespace {

bool RowThenColumn(const ClusterPyramid::Cell& a, const ClusterPyramid::Cell& b) {
  return a.row != b.row ? a.row < b.row : a.column < b.column;
}

}  // namespace

void ClusterPyramid::SortLevel(Level& level) {
  std::sort(level.begin(), level.end(), RowThenColumn);
}

ClusterPyramid::Level ClusterPyramid::Coarser(const Level& level) {
  std::unordered_map<std::uint64_t, std::size_t> at;
  Level coarser;
  for (const Cell& cell : level) {
    const std::uint32_t column = cell.column / 2;
    const std::uint32_t row = cell.row / 2;
    const auto [it, added] = at.try_emplace(CellKey(column, row), coarser.size());
    if (added) coarser.push_back({column, row, 0.0, 0.0, 0, cell.firstPoint});
    Cell& into = coarser[it->second];
    into.sumX += cell.sumX;
    into.sumY += cell.sumY;
    into.count += cell.count;
    into.firstPoint = std::min(into.firstPoint, cell.firstPoint);
    Include(into, cell.minX, cell.minY, cell.maxX, cell.maxY);
  }
  return coarser;
}

ClusterPyramid::Level ClusterPyramid::FromPoints(const std::vector<PixelPoint>& units,
                                                 const std::vector<std::uint32_t>& ids, int zoom) {
  const std::uint32_t across = CellsAcross(zoom);
  std::unordered_map<std::uint64_t, std::size_t> at;
  at.reserve(units.size() / 4);
  Level level;
  level.reserve(units.size() / 4);
  std::size_t next = 0;
  for (const PixelPoint& unit : units) {
    const std::uint32_t index = ids.empty() ? static_cast<std::uint32_t>(next) : ids[next];
    ++next;
    const auto column = std::min(across - 1, static_cast<std::uint32_t>(unit.x * across));
    const auto row = std::min(across - 1, static_cast<std::uint32_t>(unit.y * across));
    const auto [it, added] = at.try_emplace(CellKey(column, row), level.size());
    if (added) level.push_back({column, row, 0.0, 0.0, 0, index});
    Cell& cell = level[it->second];
    cell.sumX += unit.x;
    cell.sumY += unit.y;
    ++cell.count;
    cell.firstPoint = std::min(cell.firstPoint, index);
    const auto x = static_cast<float>(unit.x);
    const auto y = static_cast<float>(unit.y);
    Include(cell, x, y, x, y);
  }
  return level;
}

ClusterPyramid::ClusterPyramid(const MapPoints& points, int deepest) {
  std::vector<PixelPoint> units;
  units.reserve(points.size());
  for (const MapPoint& point : points.points()) units.push_back(ProjectToUnit(point.position()));
  Build(units, {}, deepest);
}

ClusterPyramid::ClusterPyramid(const std::vector<std::uint32_t>& ids,
                               const std::vector<LonLat>& positions, int deepest) {
  std::vector<PixelPoint> units;
  units.reserve(positions.size());
  for (const LonLat& position : positions) units.push_back(ProjectToUnit(position));
  Build(units, ids, deepest);
}

void ClusterPyramid::Build(const std::vector<PixelPoint>& units,
                           const std::vector<std::uint32_t>& ids, int deepest) {
  if (units.empty()) return;
  // A level pays while its clusters are at most a quarter of the points.
  auto pays = [&](const Level& level) { return level.size() * 4 <= units.size(); };
  // From a middle level, deeper ones from the points while they pay (few
  // passes for most files), coarser ones from the level below them.
  const int middle = std::min(kMiddleLevel, deepest);
  std::vector<Level> levels(static_cast<std::size_t>(middle) + 1);
  levels[static_cast<std::size_t>(middle)] = FromPoints(units, ids, middle);
  for (int zoom = middle; zoom > 0; --zoom) {
    levels[static_cast<std::size_t>(zoom) - 1] = Coarser(levels[static_cast<std::size_t>(zoom)]);
  }
  for (int zoom = middle + 1; zoom <= deepest && pays(levels.back()); ++zoom) {
    levels.push_back(FromPoints(units, ids, zoom));
  }
  std::size_t keep = 0;
  while (keep < levels.size() && pays(levels[keep])) ++keep;
  levels.resize(keep);
  // Only the levels kept are put in order (the largest one made is often
  // the first that does not pay).
  for (Level& level : levels) SortLevel(level);
  levels_ = std::move(levels);
}

void ClusterPyramid::Add(std::uint32_t id, LonLat position) {
  const PixelPoint unit = ProjectToUnit(position);
  const auto x = static_cast<float>(unit.x);
  const auto y = static_cast<float>(unit.y);
  for (std::size_t zoom = 0; zoom < levels_.size(); ++zoom) {
    Level& level = levels_[zoom];
    const Cell key = CellOf(unit, static_cast<int>(zoom));
    auto it = std::lower_bound(level.begin(), level.end(), key, RowThenColumn);
    if (it == level.end() || it->row != key.row || it->column != key.column) {
      it = level.insert(it, key);
    }
    it->sumX += unit.x;
    it->sumY += unit.y;
    ++it->count;
    it->firstPoint = it->count == 1 ? id : std::min(it->firstPoint, id);
    Include(*it, x, y, x, y);
  }
}

void ClusterPyramid::Remove(std::uint32_t id, LonLat position, const AnyPointIn& anyIn) {
  const PixelPoint unit = ProjectToUnit(position);
  for (std::size_t zoom = 0; zoom < levels_.size(); ++zoom) {
    Level& level = levels_[zoom];
    const Cell key = CellOf(unit, static_cast<int>(zoom));
    const auto it = std::lower_bound(level.begin(), level.end(), key, RowThenColumn);
    if (it == level.end() || it->row != key.row || it->column != key.column) continue;
    if (it->count <= 1) {
      level.erase(it);
      continue;
    }
    it->sumX -= unit.x;
    it->sumY -= unit.y;
    --it->count;
    if (it->firstPoint != id) continue;
    // Its box may hold more than its points now; only the first point must
    // be one of them.
    const double across = CellsAcross(static_cast<int>(zoom));
    const UnitBox square{it->column / across + kUnitSlack, it->row / across + kUnitSlack,
                         (it->column + 1) / across - kUnitSlack,
                         (it->row + 1) / across - kUnitSlack};
    if (const std::optional<std::uint32_t> other = anyIn ? anyIn(square) : std::nullopt) {
      it->firstPoint = *other;
    }
  }
}

ClusterPyramid::Cell ClusterPyramid::CellOf(const PixelPoint& unit, int zoom) {
  const std::uint32_t across = CellsAcross(zoom);
  Cell cell;
  cell.column = std::min(across - 1, static_cast<std::uint32_t>(unit.x * across));
  cell.row = std::min(across - 1, static_cast<std::uint32_t>(unit.y * across));
  return cell;
}

std::optional<std::vector<MapCluster>> ClusterPyramid::InView(const MapView& view, double margin,
                                                              const ClusterMarkSize& marks) const {
  // The level whose squares look at most kFineCell pixels wide, or the
  // deepest one when it is within a level of the view.
  if (view.zoom < 0 || DeepestLevel() < 0 || view.zoom >= DeepestLevel() + 1) return std::nullopt;
  const int zoom = std::min(DeepestLevel(), static_cast<int>(std::floor(view.zoom)) + 1);
  const Level& level = levels_[static_cast<std::size_t>(zoom)];
  // The screen and its margin in world pixels of that level.
  const double scale = std::exp2(zoom - view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  const double left = (topLeft.x - margin) * scale;
  const double top = (topLeft.y - margin) * scale;
  const double right = (topLeft.x + view.width + margin) * scale;
  const double bottom = (topLeft.y + view.height + margin) * scale;
  const double across = CellsAcross(zoom);
  const double firstRow = std::max(0.0, std::floor(top / kFineCell));
  const double lastRow = std::min(across - 1, std::floor(bottom / kFineCell));
  ClusterGrid grid(view, margin, marks);
  for (double row = firstRow; row <= lastRow; ++row) {
    AddRow(level, static_cast<std::uint32_t>(row), std::floor(left / kFineCell),
           std::floor(right / kFineCell), across, grid);
  }
  return grid.Take();
}

void ClusterPyramid::AddRow(const Level& level, std::uint32_t row, double fromColumn,
                            double toColumn, double across, ClusterGrid& grid) {
  // The columns of the view, wrapped into the world: one run, or two when
  // the view crosses longitude 180, or the whole row.
  const double from = fromColumn - across * std::floor(fromColumn / across);
  const double to = from + (toColumn - fromColumn);
  auto addRun = [&](double first, double last) {
    const Cell start{static_cast<std::uint32_t>(first), row};
    const auto begin = std::lower_bound(level.begin(), level.end(), start, RowThenColumn);
    for (auto it = begin; it != level.end() && it->row == row && it->column <= last; ++it) {
      grid.AddGroup({it->sumX, it->sumY}, it->count, it->firstPoint,
                    {it->minX, it->minY, it->maxX, it->maxY});
    }
  };
  if (to - from + 1 >= across) {
    addRun(0, across - 1);
  } else if (to < across) {
    addRun(from, to);
  } else {
    addRun(from, across - 1);
    addRun(0, to - across);
  }
}

}  // namespace velorin
