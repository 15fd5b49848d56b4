#pragma once
// What an input holds that is no point of interest and is only counted:
// routes and tracks not read, geometries that are no points, links not
// followed. One row of a table per kind, with its English words, so that a
// reader counts a new kind and every summary names it once that row is
// added.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

/// In the order a summary lists them.
enum class IgnoredKind : std::uint8_t {
  /// Points of interest that --points did not ask for: GPX waypoints, KML
  /// placemarks' points.
  kWaypoint,
  kRoute,
  kTrack,
  kPlacemarkWithoutPoint,
  /// KML placemarks that are steps of a tour or an update, not places.
  kAnimationPlacemark,
  kPoint,       ///< GeoJSON, like the rest down to kFeatureWithoutGeometry; not read (--points)
  kMultiPoint,  ///< not read (--points)
  kLineString,
  kMultiLineString,
  kPolygon,
  kMultiPolygon,
  kOtherGeometry,  ///< a type GeoJSON lacks
  kFeatureWithoutGeometry,
  /// Elements named like the ones points are read from but not the format's
  /// own (another namespace, another spelling): passed over.
  kUnreadElement,
  kLinkOutside,  ///< links to other files, never followed
  /// Links within a KMZ archive to no file of it, or past its limits.
  kLinkNotFollowed,
  /// Files of a folder of photos that are no photos (by their extension).
  kOtherFile,
  /// OpenStreetMap ways with the tags asked for that are not closed (areas
  /// are read from closed ways).
  kOpenWay,
  /// OpenStreetMap relations with the tags asked for that are no
  /// multipolygons.
  kOtherRelation,
};
inline constexpr std::size_t kIgnoredKindCount =
    static_cast<std::size_t>(IgnoredKind::kOtherRelation) + 1;

/// How a summary names a kind: "3 routes", "1 placemark without a point".
struct IgnoredWords {
  std::string_view one;
  std::string_view many;
  /// After the count and its noun: " without a point".
  std::string_view after = {};
  /// A clause of its own ending in `after` (" not followed"); otherwise
  /// listed with the others before "ignored".
  bool ownClause = false;
  /// The noun follows the first such element's name ("<wpt> element") and
  /// `after` the note on why it was passed over.
  bool named = false;
  /// A line whose points --points reads.
  bool line = false;
  /// Points of interest that --points did not read.
  bool point = false;
};

const IgnoredWords& WordsOf(IgnoredKind kind);

struct IgnoredItems {
  std::array<std::int64_t, kIgnoredKindCount> counts{};
  std::string unreadName;  ///< the first unread element's local name: "wpt"
  std::string unreadNote;  ///< why: "in namespace urn:x", "(not <Placemark>)"

  std::int64_t& operator[](IgnoredKind kind) { return counts[static_cast<std::size_t>(kind)]; }
  std::int64_t operator[](IgnoredKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
  /// Every count together: it grows whenever any of them does.
  std::int64_t Total() const;
  void Add(const IgnoredItems& other);
};

}  // namespace velorin
