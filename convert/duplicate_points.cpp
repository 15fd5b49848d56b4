#include "convert/duplicate_points.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <numbers>

#include "geo/surface_distance.h"

namespace velorin {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
  // splitmix64's finaliser over the combination: neighbouring cells spread
  // over the whole table.
  std::uint64_t x = a ^ (b + 0x9E3779B97F4A7C15ULL + (a << 6) + (a >> 2));
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::uint64_t KeyOf(std::int64_t row, std::int64_t column, std::uint64_t titleHash) {
  return Mix(Mix(static_cast<std::uint64_t>(row), static_cast<std::uint64_t>(column)), titleHash);
}

}  // namespace

DuplicatePoints::DuplicatePoints(double metres)
    : metres_(metres), cellRadians_(metres / kEarthRadiusMetres), slots_(1024, kNone) {}

std::optional<DuplicatePoints::Found> DuplicatePoints::FindOrKeep(std::string_view utf8Title,
                                                                  double longitude, double latitude,
                                                                  PointOrigin origin) {
  const std::uint64_t titleHash = std::hash<std::string_view>{}(utf8Title);
  if (auto found = FindNear(titleHash, longitude, latitude)) return found;
  const Cell cell = CellOf(longitude, latitude);
  const std::uint64_t key = KeyOf(cell.row, cell.column, titleHash);
  Keep(key, Kept{key, titleHash, longitude, latitude, origin.line, origin.input, kNone});
  return std::nullopt;
}

std::optional<DuplicatePoints::Found> DuplicatePoints::FindNear(std::uint64_t titleHash,
                                                                double longitude, double latitude) {
  if (metres_ <= 0) {
    const Cell cell = CellOf(longitude, latitude);
    return FindInCell(KeyOf(cell.row, cell.column, titleHash), titleHash, longitude, latitude);
  }
  // A point within the distance lies at most one row away, and within its
  // row (whose cells are wide enough for every latitude of the rows beside
  // it) at most one column away.
  const std::int64_t row = CellOf(longitude, latitude).row;
  for (std::int64_t r = row - 1; r <= row + 1; ++r) {
    const std::int64_t columns = ColumnsInRow(r);
    const std::int64_t column = ColumnOf(longitude, columns);
    const std::int64_t first = columns >= 3 ? column - 1 : 0;
    const std::int64_t last = columns >= 3 ? column + 1 : columns - 1;
    for (std::int64_t c = first; c <= last; ++c) {
      const std::int64_t wrapped = (c % columns + columns) % columns;
      const std::uint64_t key = KeyOf(r, wrapped, titleHash);
      if (auto found = FindInCell(key, titleHash, longitude, latitude)) return found;
    }
  }
  return std::nullopt;
}

std::optional<DuplicatePoints::Found> DuplicatePoints::FindInCell(std::uint64_t key,
                                                                  std::uint64_t titleHash,
                                                                  double longitude,
                                                                  double latitude) {
  std::optional<Found> first;
  for (std::uint32_t at = slots_[SlotOf(key)]; at != kNone; at = kept_[at].nextInCell) {
    const Kept& kept = kept_[at];
    if (kept.cellKey != key || kept.titleHash != titleHash) continue;
    double metres = 0;
    if (metres_ <= 0) {
      if (kept.longitude != longitude || kept.latitude != latitude) continue;
    } else {
      metres = SurfaceDistanceMetres(kept.longitude, kept.latitude, longitude, latitude);
      if (metres > metres_) continue;
    }
    // The list runs from the latest kept point back: the last match found
    // is the first one kept.
    first = Found{{kept.input, kept.line}, metres};
  }
  return first;
}

DuplicatePoints::Cell DuplicatePoints::CellOf(double longitude, double latitude) const {
  if (metres_ <= 0) {
    return {std::bit_cast<std::int64_t>(latitude + 0.0),
            std::bit_cast<std::int64_t>(longitude + 0.0)};
  }
  const auto row =
      static_cast<std::int64_t>(std::floor(latitude * kRadiansPerDegree / cellRadians_));
  return {row, ColumnOf(longitude, ColumnsInRow(row))};
}

std::int64_t DuplicatePoints::ColumnsInRow(std::int64_t row) const {
  // Rows row-1 to row+1 reach no further from the equator than this.
  const double farthest =
      static_cast<double>(std::max(std::abs(row - 1), std::abs(row + 2))) * cellRadians_;
  if (farthest >= std::numbers::pi / 2) return 1;
  // Two points within the distance and at most this far from the equator
  // lie at most this far apart in longitude.
  const double ratio = std::sin(cellRadians_ / 2) / std::cos(farthest);
  if (ratio >= 1) return 1;
  const double width = 2 * std::asin(ratio);
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(2 * std::numbers::pi / width));
}

std::int64_t DuplicatePoints::ColumnOf(double longitude, std::int64_t columns) const {
  const double turn = (longitude + 180.0) / 360.0;
  const auto column = static_cast<std::int64_t>(
      std::floor((turn - std::floor(turn)) * static_cast<double>(columns)));
  return std::clamp<std::int64_t>(column, 0, columns - 1);
}

std::size_t DuplicatePoints::SlotOf(std::uint64_t key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = static_cast<std::size_t>(key) & mask;
  while (slots_[slot] != kNone && kept_[slots_[slot]].cellKey != key) slot = (slot + 1) & mask;
  return slot;
}

void DuplicatePoints::Keep(std::uint64_t key, const Kept& point) {
  const std::size_t slot = SlotOf(key);
  Kept kept = point;
  kept.nextInCell = slots_[slot];
  slots_[slot] = static_cast<std::uint32_t>(kept_.size());
  kept_.push_back(kept);
  if (kept_.size() * 2 > slots_.size()) GrowTable();
}

void DuplicatePoints::GrowTable() {
  // Every list keeps its order: only the heads move.
  std::vector<std::uint32_t> heads;
  for (const std::uint32_t head : slots_) {
    if (head != kNone) heads.push_back(head);
  }
  slots_.assign(slots_.size() * 2, kNone);
  for (const std::uint32_t head : heads) slots_[SlotOf(kept_[head].cellKey)] = head;
}

}  // namespace velorin
