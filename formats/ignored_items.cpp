#include "formats/ignored_items.h"

namespace velorin {

namespace {

using K = IgnoredKind;

struct Row {
  IgnoredKind kind;
  IgnoredWords words;
};

constexpr Row kRows[] = {
    {K::kWaypoint, {.one = "waypoint", .many = "waypoints", .point = true}},
    {K::kRoute, {.one = "route", .many = "routes", .line = true}},
    {K::kTrack, {.one = "track", .many = "tracks", .line = true}},
    {K::kPlacemarkWithoutPoint,
     {.one = "placemark", .many = "placemarks", .after = " without a point"}},
    {K::kAnimationPlacemark,
     {.one = "placemark", .many = "placemarks", .after = " of a tour or an update"}},
    {K::kPoint, {.one = "Point", .many = "Points", .point = true}},
    {K::kMultiPoint, {.one = "MultiPoint", .many = "MultiPoints", .point = true}},
    {K::kLineString, {.one = "LineString", .many = "LineStrings", .line = true}},
    {K::kMultiLineString, {.one = "MultiLineString", .many = "MultiLineStrings", .line = true}},
    {K::kPolygon, {.one = "Polygon", .many = "Polygons"}},
    {K::kMultiPolygon, {.one = "MultiPolygon", .many = "MultiPolygons"}},
    {K::kOtherGeometry,
     {.one = "geometry", .many = "geometries", .after = " of a type GeoJSON lacks"}},
    {K::kFeatureWithoutGeometry,
     {.one = "feature", .many = "features", .after = " without a geometry"}},
    {K::kUnreadElement, {.one = "element", .many = "elements", .named = true}},
    {K::kLinkOutside,
     {.one = "link to another file",
      .many = "links to other files",
      .after = " not followed",
      .ownClause = true}},
    {K::kLinkNotFollowed,
     {.one = "link",
      .many = "links",
      .after = " within the archive not followed (no such file, or too deep or too many)",
      .ownClause = true}},
    {K::kOtherFile, {.one = "file", .many = "files", .after = " other than photos"}},
    {K::kOpenWay, {.one = "way", .many = "ways", .after = " not closed"}},
    {K::kOtherRelation,
     {.one = "relation", .many = "relations", .after = " other than multipolygons"}},
};

constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (static_cast<std::size_t>(kRows[i].kind) != i) return false;
  }
  return std::size(kRows) == kIgnoredKindCount;
}
static_assert(InKindOrder(), "one row per kind, in the kinds' order");

}  // namespace

const IgnoredWords& WordsOf(IgnoredKind kind) {
  return kRows[static_cast<std::size_t>(kind)].words;
}

std::int64_t IgnoredItems::Total() const {
  std::int64_t total = 0;
  for (const std::int64_t count : counts) total += count;
  return total;
}

void IgnoredItems::Add(const IgnoredItems& other) {
  if ((*this)[IgnoredKind::kUnreadElement] == 0) {
    unreadName = other.unreadName;
    unreadNote = other.unreadNote;
  }
  for (std::size_t i = 0; i < kIgnoredKindCount; ++i) counts[i] += other.counts[i];
}

}  // namespace velorin
