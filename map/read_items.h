#pragma once
// The entries of a point file as the run's reader gave them, kept beside
// the map's points (MapPoints, which hold them as the output would): the
// titles as the file wrote them, in their encoding, and the skipped points'
// own positions. From these a run reads the file's entries again, edited,
// and writes what a conversion of the edited file would write.
//
// Items are numbered as the map numbers them: the points from 0 in file
// order, then the skipped entries in file order; `order` says where each
// stood among all of them.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formats/point.h"
#include "formats/point_reader.h"

namespace velorin {

/// What the reader gave for one entry, beyond what the map keeps of it.
struct ReadItem {
  std::uint32_t order = 0;  ///< its place among all the file's entries, from 0
  /// The title as the reader gave it, in the items' arena; unused when
  /// `titleShown` (the map's title is the same bytes, in UTF-8).
  std::uint32_t titleOffset = 0;
  std::uint32_t titleSize = 0;
  TitleEncoding encoding = TitleEncoding::kUtf8;
  bool approximated = false;
  bool titleShown = false;
  /// The reader gave a point (the check skipped it), not an entry it could
  /// not read: its title and position count.
  bool isPoint = false;
};

/// Where a skipped point lies as the file gave it: degrees, or the angle
/// integers of a position code.
struct ReadPosition {
  double longitude = 0.0;
  double latitude = 0.0;
  std::uint32_t unitsX = 0;
  std::uint32_t unitsY = 0;
  bool fromCode = false;

  PointPosition position() const {
    if (fromCode) return DecodedPosition{unitsX, unitsY};
    return Degrees{longitude, latitude};
  }
};

class ReadItems {
 public:
  std::size_t pointCount() const { return points_.size(); }
  std::size_t skipCount() const { return skips_.size(); }
  const ReadItem& Point(std::size_t index) const { return points_[index]; }
  const ReadItem& Skip(std::size_t index) const { return skips_[index]; }
  const ReadPosition& SkipPosition(std::size_t index) const { return skipPositions_[index]; }
  std::string_view Title(const ReadItem& item) const {
    return std::string_view(titles_).substr(item.titleOffset, item.titleSize);
  }
  /// The further texts (description, address ...) of the point numbered
  /// `point` or of the skipped entry `skip`, as the reader gave them; null
  /// when it carried none.
  const PointFields* PointFieldsOf(std::size_t point) const { return Find(pointFields_, point); }
  const PointFields* SkipFieldsOf(std::size_t skip) const { return Find(skipFields_, skip); }

  /// A point the run wrote under `shown`, as the map shows it.
  void AddPoint(const velorin::Point& point, std::string_view shown);
  /// An entry the run skipped.
  void AddSkip(const ReadEntry& entry);
  void Reserve(std::size_t points);

 private:
  ReadItem Kept(const velorin::Point& point);
  using FieldsByIndex = std::unordered_map<std::uint32_t, PointFields>;
  static const PointFields* Find(const FieldsByIndex& fields, std::size_t index) {
    const auto found = fields.find(static_cast<std::uint32_t>(index));
    return found == fields.end() ? nullptr : &found->second;
  }

  std::vector<ReadItem> points_;
  std::vector<ReadItem> skips_;
  std::vector<ReadPosition> skipPositions_;
  std::string titles_;
  /// Most points carry no further texts: only those that do are kept.
  FieldsByIndex pointFields_;
  FieldsByIndex skipFields_;
  std::uint32_t entries_ = 0;
};

}  // namespace velorin
