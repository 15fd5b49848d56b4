#pragma once
// Points from an OpenStreetMap extract (.osm.pbf, .osm), read as a stream:
// the nodes with the tags asked for at their own positions, the closed
// ways and multipolygon relations with them at a point inside them
// (osm_area_point.h). Every node's position is kept on the way
// (osm_locations.h) for the ways that follow; a multipolygon's ways come
// before it in the file, so its member ways are gathered by a second
// reading of the file, which a file allows and a pipe does not. Titles and
// texts come from OSM's own keys (osm_texts.h).
#include <memory>
#include <string_view>

#include "formats/point_reader.h"
#include "platform/byte_stream.h"

namespace velorin {

std::unique_ptr<PointReader> MakeOsmReader(ByteSource& source, const ReaderOptions& options);

/// What OSM files hold, for help texts.
std::string_view OsmHolds();

}  // namespace velorin
