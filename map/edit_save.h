#pragma once
// Saving the map's edited points: a conversion run whose input is the
// edited points (EditedPointsInput), so that what is saved passes the same
// title rule, check and writer, behind the same safe output (the
// replacement question, the temporary file), as a conversion of the edited
// file would.
#include <string>

#include "convert/conversion_run.h"
#include "map/edited_points.h"

namespace velorin {

/// Where and how the edited points are saved.
struct EditSave {
  std::string path = {};
  /// The format written; by the path's extension when absent.
  std::optional<PointFormat> format = std::nullopt;
  WriterOptions writer = {};
  /// The window's log, when logging is on.
  std::optional<std::string> logPath = std::nullopt;
  /// The datum a POT or CSV file is written in: the one the window reads
  /// them in, so that a file saved and opened again shows the same places.
  Datum fileDatum = Datum::kWgs84;
  /// The datum NVI is written in, as Convert writes it.
  Datum nviDatum = Datum::kWgs84;
};

/// The run options of saving `points` as `save` says.
RunOptions EditSaveOptions(const EditedPoints& points, const EditSave& save);

/// The format a save into `path` writes: the format table's
/// WrittenFormatOfPath, under the name the Qt map window calls it by.
inline std::optional<PointFormat> SaveFormatOfPath(std::string_view path) {
  return WrittenFormatOfPath(path);
}

}  // namespace velorin
