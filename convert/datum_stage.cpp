#include "convert/datum_stage.h"

#include <cmath>

namespace velorin {

namespace {

Datum DatumOfInput(const RunOptions& options, PointFormat format) {
  return OptionApplies(FormatOption::kInputDatum, format, false) ? options.inputDatum
                                                                 : Datum::kWgs84;
}

Datum DatumOfOutput(const RunOptions& options) {
  return OptionApplies(FormatOption::kOutputDatum, options.outputFormat, true) ? options.outputDatum
                                                                               : Datum::kWgs84;
}

}  // namespace

std::string UnmovableWords(const DatumMoves& moves) {
  return "cannot be moved from " + std::string(DatumWords(moves.from)) + " to " +
         std::string(DatumWords(moves.to));
}

bool DatumStage::Prepare(const RunOptions& options, std::string& why) {
  const Datum to = DatumOfOutput(options);
  for (const RunInput& input : options.inputs) {
    const Datum from = DatumOfInput(options, input.format);
    std::ptrdiff_t index = -1;
    for (std::size_t i = 0; from != to && i < shifts_.size(); ++i) {
      if (shifts_[i].moves.from == from) index = static_cast<std::ptrdiff_t>(i);
    }
    if (from != to && index < 0) {
      std::unique_ptr<DatumShift> shift = MakeDatumShift(from, to, why);
      if (!shift) return false;
      DatumMoves moves{from, to, shift->Operation(), 0};
      shifts_.push_back({std::move(shift), std::move(moves)});
      index = static_cast<std::ptrdiff_t>(shifts_.size() - 1);
    }
    ofInput_.push_back(index);
  }
  return true;
}

void DatumStage::StartInput(std::size_t index) {
  const std::ptrdiff_t shift = index < ofInput_.size() ? ofInput_[index] : -1;
  current_ = shift < 0 ? nullptr : &shifts_[static_cast<std::size_t>(shift)];
}

bool DatumStage::Move(Point& point) {
  Degrees degrees = DegreesOf(point.position);
  if (!current_->shift->Move(degrees.longitude, degrees.latitude)) return false;
  // The code the reader worked out belongs to the position before the
  // move: the writer encodes the moved degrees.
  point.position = Degrees{degrees.longitude, degrees.latitude};
  return true;
}

std::string DatumStage::Unmovable(const Point& point) {
  DatumMoves& moves = current_->moves;
  ++moves.unmovable;
  std::string reason = UnmovableWords(moves);
  const Degrees degrees = DegreesOf(point.position);
  if (std::isnan(degrees.longitude) || std::isnan(degrees.latitude)) return reason;
  if (!(std::fabs(degrees.latitude) <= 90.0)) {
    ++moves.beyondThePoles;
    reason += kBeyondThePolesWords;
  }
  return reason;
}

std::string DatumStage::MovedWords() const {
  return " once moved to " + std::string(DatumWords(current_->moves.to));
}

std::vector<DatumMoves> DatumStage::Moved() const {
  std::vector<DatumMoves> moved;
  for (const Shift& shift : shifts_) moved.push_back(shift.moves);
  return moved;
}

}  // namespace velorin
