#include "map/edited_points.h"

#include "map/title_check.h"
#include "text/cp932_decoder.h"

namespace velorin {

ItemStatus StatusOf(SkipKind kind) {
  switch (kind) {
    case SkipKind::kUntitled:
      return ItemStatus::kUntitled;
    case SkipKind::kOutOfRange:
      return ItemStatus::kOutOfRange;
    case SkipKind::kMalformed:
    case SkipKind::kNotPointLine:
      break;
  }
  return ItemStatus::kUnreadable;
}

bool IsSkipped(ItemStatus status) {
  return status != ItemStatus::kGone && status != ItemStatus::kPoint;
}

EditedPoints::EditedPoints(const EditableMap& map, UntitledRule untitled)
    : map_(map),
      untitled_(untitled),
      edits_(map.pointCount() + map.skipCount()),
      rule_(OutputTitleTarget(map.read.output)) {
  const FormatInfo& input = InfoOf(map.read.format);
  source_ = {!input.titlesAreUnitBytes, input.titlesAreUnitBytes};
  ranges_ = {input.positions, InfoOf(map.read.output).positions};
  status_.reserve(edits_.size());
  status_.assign(map.pointCount(), ItemStatus::kPoint);
  for (const MapSkip& skip : map.read.points.skips()) status_.push_back(StatusOf(skip.kind));
}

std::string_view EditedPoints::ReadTitle(std::uint32_t item, TitleEncoding& encoding,
                                         bool& approximated) const {
  encoding = TitleEncoding::kUtf8;
  approximated = false;
  if (IsAdded(item)) return {};
  const bool point = item < map_.pointCount();
  const ReadItem& read = point ? map_.items.Point(item) : map_.items.Skip(item - map_.pointCount());
  if (read.titleShown) return map_.read.points.Title(item);
  encoding = read.encoding;
  approximated = read.approximated;
  return read.isPoint ? map_.items.Title(read) : std::string_view();
}

std::string_view EditedPoints::Title(std::uint32_t item) const {
  if (const auto edited = edits_.TitleOf(edits_.State(item))) return *edited;
  if (item < map_.pointCount()) return map_.read.points.Title(item);
  TitleEncoding encoding = TitleEncoding::kUtf8;
  bool approximated = false;
  const std::string_view title = ReadTitle(item, encoding, approximated);
  if (encoding == TitleEncoding::kUtf8) return title;
  auto [at, added] = decoded_.try_emplace(item);
  if (added) at->second = Cp932ToUtf8(title);
  return at->second;
}

std::optional<LonLat> EditedPoints::PositionUnder(std::uint32_t item,
                                                  const ItemState& state) const {
  if (const auto edited = edits_.PositionOf(state)) return edited;
  if (item < map_.pointCount()) return map_.read.points.points()[item].position();
  if (IsAdded(item)) return std::nullopt;
  const MapSkip& skip = map_.read.points.skips()[item - map_.pointCount()];
  if (!skip.placed) return std::nullopt;
  return skip.position;
}

std::optional<LonLat> EditedPoints::Position(std::uint32_t item) const {
  return PositionUnder(item, edits_.State(item));
}

MapPointTexts EditedPoints::Texts(std::uint32_t item) const {
  if (item < map_.pointCount() && edits_.State(item).position == 0) {
    return map_.read.points.Texts(item);
  }
  const std::optional<LonLat> position = Position(item);
  return position ? TextsOfPosition(*position) : MapPointTexts{};
}

std::int64_t EditedPoints::Line(std::uint32_t item) const {
  if (item < map_.pointCount()) return map_.read.points.points()[item].line;
  if (IsAdded(item)) return 0;
  return map_.read.points.skips()[item - map_.pointCount()].line;
}

std::uint64_t EditedPoints::Order(std::uint32_t item) const {
  if (item < map_.pointCount()) return map_.items.Point(item).order;
  if (IsAdded(item)) return item;
  return map_.items.Skip(item - map_.pointCount()).order;
}

std::string_view EditedPoints::Reason(std::uint32_t item) const {
  if (!IsReadSkip(item)) return {};
  return map_.read.points.Reason(map_.read.points.skips()[item - map_.pointCount()]);
}

bool EditedPoints::Entry(std::uint32_t item, ReadEntry& entry) const {
  const ItemState& state = edits_.State(item);
  if (state.deleted) return false;
  Point& point = entry.point;
  point.line = Line(item);
  if (const auto edited = edits_.TitleOf(state)) {
    point.title.assign(*edited);
    point.titleEncoding = TitleEncoding::kUtf8;
    point.titleApproximated = false;
  } else {
    point.title.assign(ReadTitle(item, point.titleEncoding, point.titleApproximated));
  }
  entry.longitudeText = {};
  entry.latitudeText = {};
  entry.isPoint = true;
  // The point's further texts go with it, as the file gave them.
  const PointFields* fields = nullptr;
  if (item < map_.pointCount()) {
    fields = map_.items.PointFieldsOf(item);
  } else if (item < map_.pointCount() + map_.skipCount()) {
    fields = map_.items.SkipFieldsOf(item - map_.pointCount());
  }
  if (fields != nullptr) {
    point.fields = *fields;
  } else {
    point.fields.Clear();
  }
  if (const auto edited = edits_.PositionOf(state)) {
    point.position = Degrees{edited->longitude, edited->latitude};
  } else if (item < map_.pointCount()) {
    const MapPoint& read = map_.read.points.points()[item];
    if (read.fromCode) {
      point.position = DecodedPosition{read.unitsX, read.unitsY};
    } else {
      point.position = Degrees{read.longitude, read.latitude};
    }
  } else if (map_.items.Skip(item - map_.pointCount()).isPoint) {
    point.position = map_.items.SkipPosition(item - map_.pointCount()).position();
  } else {
    // An entry the reader could not read stays what it was until it has
    // a position.
    const MapSkip& skip = map_.read.points.skips()[item - map_.pointCount()];
    entry.isPoint = false;
    entry.skip = skip.kind;
    entry.reason.assign(map_.read.points.Reason(skip));
  }
  return true;
}

ItemStatus EditedPoints::StatusNow(std::uint32_t item) const {
  const ItemState& state = edits_.State(item);
  if (state.deleted) return ItemStatus::kGone;
  if (state == ItemState{} && !IsAdded(item)) {
    // As read: the run's own verdict.
    if (item < map_.pointCount()) return ItemStatus::kPoint;
    return StatusOf(map_.read.points.skips()[item - map_.pointCount()].kind);
  }
  ReadEntry entry;
  Entry(item, entry);
  if (!entry.isPoint) return StatusOf(entry.skip);
  TitleChange change = TitleChange::kNone;
  const std::string_view title = rule_.Apply(entry.point, source_, change);
  const auto problem = CheckPoint(entry.point, title.empty(), untitled_, ranges_);
  return problem ? StatusOf(problem->first) : ItemStatus::kPoint;
}

SettledStep EditedPoints::Add(std::string title, LonLat position) {
  status_.push_back(ItemStatus::kGone);
  return Settle(edits_.Add(std::move(title), position));
}

SettledStep EditedPoints::Settle(AppliedStep step) {
  SettledStep settled{step, {}};
  settled.before.reserve(step.changes.size());
  for (const ItemChange& change : step.changes) {
    settled.before.push_back(status_[change.item]);
    status_[change.item] = StatusNow(change.item);
  }
  return settled;
}

}  // namespace velorin
