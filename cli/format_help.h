#pragma once
// The parts of velorin-cli's help that name formats, made from the format
// table so that they never fall behind it.
#include <string>
#include <vector>

namespace velorin {

/// "POT, NVI, GPX, KML, KMZ, CSV and GeoJSON": the formats read (or written).
std::string FormatNamesText(bool written);
/// "POT, NVI, GPX, KML (KMZ read only), CSV and GeoJSON".
std::string ConvertedFormatsText();
/// ".nvi, .gpx, ..., .tsv (read as CSV), .geojson or .json": the input
/// extensions that name a format other than POT.
std::string InputExtensionsText();
/// ".pot, .gpx, ... or .json": the output extensions that name a format
/// other than NVI.
std::string OutputExtensionsText();
/// The names --from takes (every format read), or --to takes (those
/// written).
std::vector<std::string> FormatOptionNames(bool written);

}  // namespace velorin
