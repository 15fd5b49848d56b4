#pragma once
// Options that do not apply to the formats of a command, in words: each
// option's formats come from the format table.
#include <string>
#include <vector>

#include "formats/format_table.h"
#include "geo/datum.h"

namespace velorin {

/// Which of the format-bound options a command was given.
struct GivenOptions {
  bool timestamp = false;
  bool csvEncoding = false;
  bool inputEncoding = false;
  /// The datums named: WGS 84 fits every format, another only those whose
  /// files do not say.
  Datum inputDatum = Datum::kWgs84;
  Datum outputDatum = Datum::kWgs84;
  bool nviFields = false;
  /// --osm-tags and --osm-name: an OSM input needs the first.
  bool osmTags = false;
  bool osmName = false;
};

/// The first option of `given` that applies to none of `inputs` (read) or
/// not to `output` (written), a datum other than WGS 84 named for a format
/// that is WGS 84 by definition (any of `inputs`, or `output`), or a format
/// this build cannot read or write: one line without the program's name;
/// empty when all is well.
std::string OptionMisfit(const GivenOptions& given, const std::vector<PointFormat>& inputs,
                         PointFormat output);

}  // namespace velorin
