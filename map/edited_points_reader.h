#pragma once
// The edited points as a point reader: the entries a reader of the edited
// file would give, in the file's order (the entries read, those deleted
// left out, then the points added), so that a run writes the edits exactly
// as it would convert such a file. EditedPointsInput makes the run's input
// of them.
#include <cstdint>

#include "convert/conversion_run.h"
#include "formats/point_reader.h"
#include "map/edited_points.h"

namespace velorin {

class EditedPointsReader : public PointReader {
 public:
  /// Over `points`, which must not change while it reads.
  explicit EditedPointsReader(const EditedPoints& points) : points_(points) {}
  bool Next(ReadEntry& entry) override;

 private:
  /// The next item in the file's order, if any is left.
  std::optional<std::uint32_t> NextItem();

  const EditedPoints& points_;
  std::uint32_t nextPoint_ = 0;  ///< the points' cursor
  std::uint32_t nextSkip_ = 0;   ///< the skipped entries' cursor, from 0
  std::uint32_t nextAdded_ = 0;  ///< the added items' cursor, from 0
};

/// A run's input of the edited points, named as the file they were read
/// from and read as entries of its format.
RunInput EditedPointsInput(const EditedPoints& points);

}  // namespace velorin
