#pragma once
// A file dialog's filter made from its message and the format table, so
// that the patterns a dialog offers are the extensions Velorin reads or
// writes, never a list of its own that falls behind.
#include <span>
#include <string>
#include <string_view>

#include "formats/format_table.h"

namespace velorin {

/// The filter of a dialog's message, in the bar notation
/// "description|pattern|description|pattern", with two patterns that stand
/// for formats:
///  - "{point files}": every pattern of `formats` (the extensions read, or
///    with `written` those written), joined by ";"; the
///    description gets them in brackets ("Point files (*.pot;*.gpx)"); no
///    formats, no pair;
///  - "{each format}": one pair for each of `formats`, the description's
///    "{format}" replaced by its name ("{format} files" gives "GPX files
///    (*.gpx)").
/// Every other pair stays as it is, so a filter that names its own patterns
/// is used as the message file writes it.
std::string DialogFilter(std::string_view message, std::span<const PointFormat> formats,
                         bool written);

/// The filter of the map window's Save As: one pair for each of `formats`
/// as written, described by its name alone ("NVI (*.nvi)|*.nvi|GeoJSON
/// (*.geojson;*.json)|*.geojson;*.json").
std::string SaveAsFilter(std::span<const PointFormat> formats);

}  // namespace velorin
