#pragma once
// What a point of the map window says of itself when hovered or chosen,
// whatever toolkit shows it: its title, its longitude and latitude in both
// notations, its NVI position code and its line; a skipped point's line and
// why it is skipped. UTF-8, one item to a line.
#include <cstdint>
#include <string>

#include "map/edited_points.h"
#include "map/map_messages.h"

namespace velorin {

/// Title, longitude and latitude as D'M'S'T and decimal degrees, the NVI
/// position code and the line, one to a line.
std::string PointText(const MapMessages& words, const EditedPoints& points, std::uint32_t item);

/// The window's words for why an item is skipped; empty for one that is not.
std::string StatusText(const MapMessages& words, ItemStatus status);

/// "Line 12: no title"; in English the engine's words on why follow.
std::string SkipText(const MapMessages& words, const EditedPoints& points, std::uint32_t item);

/// What hovering an item shows: its PointText, and a skipped item's
/// SkipText below.
std::string HoverText(const MapMessages& words, const EditedPoints& points, std::uint32_t item);

/// What hovering a counted circle shows: "Points: 1,234".
std::string ClusterText(const MapMessages& words, std::uint64_t count);

/// `count` with its thousands grouped by commas.
std::string GroupedCount(std::uint64_t count);

}  // namespace velorin
