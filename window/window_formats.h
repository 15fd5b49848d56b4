#pragma once
// The formats the window converts, from the format table: every format this
// build reads goes in, the one its runs write comes out. The dialogs, the
// usage texts and the help name them from here.
#include <string>
#include <vector>

#include "formats/format_table.h"

namespace velorin {

/// The format the window's runs write.
PointFormat WindowOutputFormat();

/// The formats that the window offers as input: every format this build
/// reads, but `output` (a file of it would be its own default output).
std::vector<PointFormat> WindowInputFormats(PointFormat output = WindowOutputFormat());

/// "POT, GPX, KML, KMZ, CSV and GeoJSON": the input formats by name.
std::string WindowInputFormatNames();

}  // namespace velorin
