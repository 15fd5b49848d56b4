#pragma once
// The run's datum stage: positions read in one datum and written in
// another are moved once, right after they are read (from the input's
// datum) and so before they are checked and written (into the output's).
// The shifts are made when the run starts, never per point; an input in
// the output's own datum is passed on untouched.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "formats/point.h"
#include "geo/datum_shift.h"

namespace velorin {

class DatumStage {
 public:
  /// Makes the shifts the inputs of `options` need; false, with the
  /// reason in `why`, when one cannot be made.
  bool Prepare(const RunOptions& options, std::string& why);

  /// The input of `index` (from 0) is read from here on.
  void StartInput(std::size_t index);
  /// The positions of the current input are moved.
  bool Moves() const { return current_ != nullptr; }

  /// Moves the position of `point` into the output's datum (a position
  /// code becomes decimal degrees); false, leaving it as it was, when it
  /// has no place in the datums.
  bool Move(Point& point);
  /// Why Move refused `point`: "cannot be moved from the Tokyo datum to
  /// WGS 84: latitude beyond 90 degrees"; counted for the outcome.
  std::string Unmovable(const Point& point);
  /// Said after the range that a moved position lies outside: " once moved
  /// to the Tokyo datum".
  std::string MovedWords() const;
  /// A moved point of the current input was written.
  void CountWritten() { ++current_->moves.points; }

  /// The points moved, for the outcome.
  std::vector<DatumMoves> Moved() const;

 private:
  struct Shift {
    std::unique_ptr<DatumShift> shift;
    DatumMoves moves;
  };
  std::vector<Shift> shifts_;
  /// The shift of each input, an index into shifts_, or none.
  std::vector<std::ptrdiff_t> ofInput_;
  Shift* current_ = nullptr;
};

}  // namespace velorin
