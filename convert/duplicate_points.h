#pragma once
// The points a run has written, remembered by title and position, so that a
// later point with the same title within a distance is known as a duplicate
// (--dedupe). A grid of cells at least the distance wide keys them, so that
// only the neighbouring cells are looked at; per kept point it holds a hash
// of its title, its position and where it was read (48 bytes), and two to
// four slots of a hash table (8 to 16 bytes).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velorin {

/// Where a kept point was read: which input (from 0) and its line there.
struct PointOrigin {
  std::uint32_t input = 0;
  std::int64_t line = 0;
};

class DuplicatePoints {
 public:
  /// `metres` 0: only the very same position counts.
  explicit DuplicatePoints(double metres);

  struct Found {
    PointOrigin origin;  ///< of the point kept
    double metres = 0;   ///< how far away it is
  };

  /// The first kept point with `utf8Title` within the distance of the
  /// position; nothing when there is none, and then this point is kept.
  std::optional<Found> FindOrKeep(std::string_view utf8Title, double longitude, double latitude,
                                  PointOrigin origin);

  std::size_t keptCount() const { return kept_.size(); }

 private:
  struct Kept {
    std::uint64_t cellKey;  ///< the cell and the title hash, mixed
    std::uint64_t titleHash;
    double longitude;
    double latitude;
    std::int64_t line;
    std::uint32_t input;
    std::uint32_t nextInCell;  ///< the next kept point of the same key, or kNone
  };
  struct Cell {
    std::int64_t row = 0;
    std::int64_t column = 0;
  };
  static constexpr std::uint32_t kNone = UINT32_MAX;

  std::optional<Found> FindNear(std::uint64_t titleHash, double longitude, double latitude);
  std::optional<Found> FindInCell(std::uint64_t key, std::uint64_t titleHash, double longitude,
                                  double latitude);
  /// The cell of a position; for distance 0, the position's own bits.
  Cell CellOf(double longitude, double latitude) const;
  /// The number of cells around the Earth in `row`.
  std::int64_t ColumnsInRow(std::int64_t row) const;
  std::int64_t ColumnOf(double longitude, std::int64_t columns) const;
  /// The slot of `key` in the table: its head, or the empty one it would take.
  std::size_t SlotOf(std::uint64_t key) const;
  void Keep(std::uint64_t key, const Kept& point);
  void GrowTable();

  double metres_;
  double cellRadians_;  ///< a row's height, as an angle
  std::vector<Kept> kept_;
  std::vector<std::uint32_t> slots_;  ///< heads of the lists of one key, or kNone
};

}  // namespace velorin
