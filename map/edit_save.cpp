#include "map/edit_save.h"

#include "map/edited_points_reader.h"

namespace velorin {

std::optional<PointFormat> SaveFormatOfPath(std::string_view path) {
  const std::optional<PointFormat> named = FormatOfExtension(path);
  if (!named) return std::nullopt;
  const FormatInfo& info = InfoOf(*named);
  if (info.writeInstead || info.makeWriter == nullptr) return std::nullopt;
  return named;
}

RunOptions EditSaveOptions(const EditedPoints& points, const EditSave& save) {
  RunOptions run;
  run.inputs = {EditedPointsInput(points)};
  run.outputPath = save.path;
  run.outputFormat = save.format.value_or(SaveFormatOfPath(save.path).value_or(PointFormat::kNvi));
  run.untitled = points.untitled();
  run.writer = save.writer;
  run.logPath = save.logPath;
  // The map's points were moved into WGS 84 when they were read: they are
  // moved once more only into the datum of the file written.
  run.inputDatum = Datum::kWgs84;
  run.outputDatum = run.outputFormat == PointFormat::kNvi ? save.nviDatum : save.fileDatum;
  return run;
}

RunOutcome SaveEditedPoints(RunHost& host, FileSystem& files, Clock& clock,
                            const EditedPoints& points, const EditSave& save) {
  return ConversionRun(host, files, clock, EditSaveOptions(points, save)).Execute();
}

}  // namespace velorin
