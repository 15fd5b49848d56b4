#pragma once
// Which points of a file are read: its waypoints (the points of interest),
// the points of its routes, the points of its tracks; and how far apart the
// track points kept are. Formats without routes or tracks read waypoints
// whatever is asked.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

struct PointKinds {
  bool waypoints = true;
  bool routes = false;
  bool tracks = false;
  friend bool operator==(const PointKinds&, const PointKinds&) = default;
};

/// Track points closer than this to the last one kept (along the track)
/// are left out unless told otherwise.
inline constexpr double kDefaultThinMetres = 50.0;

/// "waypoints", "routes,tracks", ...: the kinds named, comma-separated, in
/// any order; nothing for an empty list, an empty item or another word.
std::optional<PointKinds> ParsePointKinds(std::string_view text);

/// "routes", "waypoints,tracks": the kinds, comma-separated, as --points
/// takes them (in the order waypoints, routes, tracks).
std::string PointKindsText(const PointKinds& kinds);

/// The two kinds of lines whose points can be read.
enum class LineKind { kRoute, kTrack };

/// The title of a route or track point without a name of its own: the
/// line's name (white space tidied), a blank and the point's number in the
/// line from 1 ("Coast road 3"). A line without a name is called "Route K"
/// or "Track K", K its number among the file's routes or tracks from 1
/// ("Route 2 3").
void LinePointTitle(std::string& title, std::string_view lineName, LineKind kind,
                    std::int64_t lineNumber, std::int64_t pointNumber);

}  // namespace velorin
