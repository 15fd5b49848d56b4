#include "map/edit_save.h"

#include "map/edited_points_reader.h"

namespace velorin {

RunOptions EditSaveOptions(const EditedPoints& points, const EditSave& save) {
  RunOptions run;
  run.inputs = {EditedPointsInput(points)};
  run.outputPath = save.path;
  run.outputFormat =
      save.format.value_or(WrittenFormatOfPath(save.path).value_or(PointFormat::kNvi));
  run.untitled = points.untitled();
  run.writer = save.writer;
  run.logPath = save.logPath;
  // The map's points were moved into WGS 84 when they were read: they are
  // moved once more only into the datum of the file written.
  run.inputDatum = Datum::kWgs84;
  run.outputDatum = run.outputFormat == PointFormat::kNvi ? save.nviDatum : save.fileDatum;
  return run;
}

}  // namespace velorin
