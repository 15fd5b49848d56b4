#pragma once
// A GeoJSON feature being read (an element of "features", or the top-level
// object itself): its "type", its title among the members of its
// properties, and the points its geometry gives. The points wait until the
// feature ends, since its members may come in any order (the title after
// the geometry, the type after the coordinates); at most kMaxPointsWaiting
// of them wait, each one past that is skipped at once. A feature whose type
// and title are settled hands the points of its own geometry out as they
// come instead, once they are many: a line of any length is read in the
// memory of a few.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/gathered_texts.h"
#include "formats/point_fields.h"
#include "formats/point_kinds.h"
#include "formats/point_reader.h"

namespace velorin {

/// Entries ready to hand out, in order; their memory is reused once they
/// are all taken.
class GeoJsonEntries {
 public:
  /// A new entry at the end: a point at `line` until it is told otherwise.
  ReadEntry& Emit(std::int64_t line);
  std::size_t count() const { return count_; }
  ReadEntry& At(std::size_t index) { return entries_[index]; }
  void Clear() { count_ = 0; }

 private:
  std::vector<ReadEntry> entries_;
  std::size_t count_ = 0;
};

/// A point, or an entry that is none, as a geometry gives it to its feature.
struct GeoJsonPoint {
  std::int64_t line = 0;
  double longitude = 0.0;
  double latitude = 0.0;
  std::string_view reason;  ///< why it is no point; empty for a point
  /// A route or track point: its number in the line from 1 (0 for a
  /// waypoint), the line's kind and its number among the file's.
  std::int64_t number = 0;
  LineKind kind = LineKind::kRoute;
  std::int64_t lineNumber = 0;
};

class GeoJsonFeature {
 public:
  /// The longest title taken; a longer one skips its feature's points.
  static constexpr std::size_t kMaxTitleSize = kMaxTextBytes;
  /// Points waiting, past which a settled feature hands its points out as
  /// they come.
  static constexpr std::size_t kHandOutFrom = 1024;
  /// The title members, in the order one is chosen: name, title and label
  /// in any letter case, 名称 or 施設名, GTFS's stop_name, then a Takeout
  /// place's location.name.
  enum class Title : std::uint8_t { kName, kTitle, kLabel, kJapanese, kStopName, kLocationName };
  static constexpr std::size_t kTitleCount = 6;

  /// A feature beginning at `line`; `top`: the top-level object.
  void Reset(std::int64_t line, bool top);
  std::int64_t line() const { return line_; }

  /// Its "type" member: the first one counts.
  void SetType(std::string_view type, bool isString);
  bool typed() const { return typed_; }
  bool typeIsFeature() const { return typeIsFeature_; }
  /// The top-level object's type; an element's only when it is not
  /// "Feature".
  const std::string& type() const { return type_; }

  /// Whether a member's value is the one that counts: the first of each.
  bool TakeGeometry() { return TakeFirst(hasGeometry_); }
  bool TakeProperties() { return TakeFirst(hasProperties_); }
  bool TakeLocation() { return TakeFirst(hasLocation_); }
  bool hasGeometry() const { return hasGeometry_; }
  /// Its properties have ended: no title comes after.
  void EndProperties() { propertiesEnded_ = true; }
  /// A title member's text: the first string of each member counts.
  void OfferTitle(Title which, std::string_view text);
  /// A member that is one of a point's texts (properties.description,
  /// location.address ...), gathered so that none is lost
  /// (gathered_texts.h); one longer than kMaxTitleSize is cut on a
  /// character's edge and marked so.
  void OfferField(PointField field, std::string_view text, bool addressPart);

  /// A point of one of its geometries; `direct`: of its own geometry, not
  /// of a collection's member.
  void Add(const GeoJsonPoint& point, bool direct, GeoJsonEntries& out);
  std::size_t waiting() const { return held_.size(); }
  /// An element of "features" whose type is not "Feature": one entry says
  /// so in place of its points.
  void EmitNotAFeature(GeoJsonEntries& out);
  /// The feature has ended: hands out the points waiting, at most `most`;
  /// false while some are left.
  bool EmitWaiting(GeoJsonEntries& out, std::size_t most);

 private:
  /// A point waiting; its reason, if any, is in reasons_.
  struct Held {
    std::int64_t line = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    std::int64_t number = 0;
    std::int64_t lineNumber = 0;
    std::uint32_t reason = kNoReason;
    LineKind kind = LineKind::kRoute;
  };
  static constexpr std::uint32_t kNoReason = UINT32_MAX;
  struct TitleCandidate {
    bool given = false;
    std::string text;
  };

  static bool TakeFirst(bool& seen) {
    if (seen) return false;
    seen = true;
    return true;
  }
  /// No member that comes later can change its points' entries.
  bool Settled() const { return propertiesEnded_ && typed_ && (top_ || typeIsFeature_); }
  std::string* ChosenTitle();
  static Held HeldOf(const GeoJsonPoint& point);
  /// `title`: the one chosen, if any; `takesTitle`: its buffer may be taken.
  void EmitPoint(GeoJsonEntries& out, const Held& point, std::string_view reason,
                 std::string* title, bool takesTitle);
  void EmitNow(GeoJsonEntries& out, const GeoJsonPoint& point);
  [[gnu::cold, gnu::noinline]] void EmitPastTheBound(GeoJsonEntries& out);

  std::int64_t line_ = 0;
  bool top_ = false;
  std::string type_;
  bool typed_ = false;
  bool typeIsFeature_ = false;
  bool hasGeometry_ = false;  ///< a "geometry" member that is an object
  bool hasProperties_ = false;
  bool hasLocation_ = false;
  bool propertiesEnded_ = false;
  bool handingOut_ = false;  ///< its points go out as they come
  // Their buffers are kept from feature to feature.
  TitleCandidate titles_[kTitleCount];
  GatheredTexts texts_;
  /// A Google Takeout saved place says it has no location (its point is
  /// at 0,0, which is no place of it).
  bool noLocation_ = false;
  std::vector<Held> held_;
  std::vector<std::string> reasons_;
  std::size_t emitted_ = 0;  ///< of held_, once the feature has ended
};

}  // namespace velorin
