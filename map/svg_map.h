#pragma once
// The map as an SVG picture: the offline land, the points (or counted
// clusters where they are dense), their titles where there is room (or all,
// or none), and the attribution; fitted to the points. Written as a stream.
#include "map/land_map.h"
#include "map/map_points.h"
#include "map/map_view.h"
#include "map/point_index.h"
#include "map/spilled_points.h"
#include "platform/buffered_writer.h"

namespace velorin {

enum class LabelMode { kWhereRoom, kAll, kNone };

struct SvgMapOptions {
  int width = 1024;
  int height = 768;
  LabelMode labels = LabelMode::kWhereRoom;
};

/// More points than this in the view gather into clusters (unless every
/// title is asked for).
inline constexpr std::size_t kMostSinglePoints = 2000;

/// The attribution every map shows.
inline constexpr const char* kLandAttribution = "Land: Natural Earth (public domain)";
/// What a map of no point says.
inline constexpr const char* kNoPointsText = "No points to show";

/// The view the picture shows: fitted to the points.
MapView SvgMapView(const MapPoints& points, const SvgMapOptions& options);

/// Writes the whole picture of `view`. `land` may be empty (no base map).
void WriteSvgMap(BufferedWriter& out, const MapPoints& points, const PointIndex& index,
                 const LandMap& land, const MapView& view, const SvgMapOptions& options);

/// Writes the whole picture of streamed points, fitted to them: the same
/// picture as the one above of the same points, in memory as flat as the
/// points' (a few screen cells and at most the points drawn one by one).
/// False when the points could not be read back whole.
bool WriteSvgMap(BufferedWriter& out, const SpilledMapPoints& points, const LandMap& land,
                 const SvgMapOptions& options);

}  // namespace velorin
