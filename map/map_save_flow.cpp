#include "map/map_save_flow.h"

#include "geo/datum.h"
#include "map/save_forecast.h"
#include "startup/settings_lines.h"

namespace velorin {
namespace {

/// A datum entry of the settings lines: exactly "tokyo" is the Tokyo
/// datum, anything else (a missing line too) WGS 84.
Datum DatumEntry(const std::vector<std::string>& settings, std::size_t index) {
  if (index >= settings.size()) return Datum::kWgs84;
  return DatumNamed(settings[index]).value_or(Datum::kWgs84);
}

int IndexOf(const std::vector<PointFormat>& formats, PointFormat format) {
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (formats[i] == format) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace

MapSaveFlow::MapSaveFlow(MapSaveView& view, const std::vector<std::string>& settings,
                         FileSystem& files, Clock& clock)
    : view_(view), settings_(settings), files_(files), clock_(clock) {}

std::vector<PointFormat> MapSaveFlow::SavedFormats() {
  std::vector<PointFormat> written;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter != nullptr && !info.writeInstead) written.push_back(info.format);
  }
  return written;
}

PointFormat MapSaveFlow::TargetFormat(const PointEditor& editor) const {
  return last_ ? last_->second : editor.map().read.output;
}

void MapSaveFlow::Forget() {
  last_.reset();
  guard_.reset();
  guarded_ = nullptr;
  report_.reset();
}

bool MapSaveFlow::SaveAs(PointEditor& editor) {
  // The name offered and the type chosen are of one format: the file last
  // saved's, else NVI's, as Convert writes.
  SavePathRequest request;
  request.formats = SavedFormats();
  request.format = last_ ? last_->second : PointFormat::kNvi;
  request.formatIndex = IndexOf(request.formats, request.format);
  request.fileName = last_ ? last_->first : DefaultOutputPath(editor.map().path, PointFormat::kNvi);
  const std::optional<std::string> path = view_.AskSavePath(request);
  if (!path || path->empty()) return false;
  const std::optional<PointFormat> chosen = SaveFormatOfPath(*path);
  if (!chosen) {
    view_.ShowBox({Message(kSaveErrorTitleMessage), Message(kCannotWriteKindMessage), false});
    return false;
  }
  return SaveInto(editor, *path, *chosen, true);
}

bool MapSaveFlow::Save(PointEditor& editor) {
  if (!last_) return SaveAs(editor);
  // The user's own file, named in this window: written again unasked,
  // unless another program changed it since.
  return SaveInto(editor, last_->first, last_->second, false);
}

EditSave MapSaveFlow::SaveOf(const std::string& path, PointFormat format) const {
  EditSave save{path, format};
  save.fileDatum = DatumEntry(settings_, kInputDatumEntry);
  save.nviDatum = DatumEntry(settings_, kOutputDatumEntry);
  return save;
}

bool MapSaveFlow::MayWrite(const PointEditor& editor, const EditSave& save) {
  if (guarded_ != &editor.map()) {
    guard_.emplace(editor.map());
    guarded_ = &editor.map();
  }
  const SaveDecision decision = guard_->Decide(files_, save.path);
  switch (decision.verdict) {
    case SaveVerdict::kWrite:
      return true;
    case SaveVerdict::kRefuseNotWhole:
      view_.ShowBox({Message(kSaveErrorTitleMessage), Message(kNotWholeMessage), false});
      return false;
    case SaveVerdict::kAskChanged:
      askToReplace_ = false;
      return view_.ShowBox(
          {Message(kSaveQuestionTitleMessage),
           Message(kSavedFileChangedMessage) + '\n' + Message(kReplaceQuestionMessage), true});
    case SaveVerdict::kAskLosses:
      break;
  }
  // The file read: what of it will not be kept is said before it goes.
  const std::vector<ReportLine> losses =
      LossLines(editor.map().read.outcome, ForecastSave(files_, editor.points(), save),
                decision.changedOnDisk);
  askToReplace_ = false;
  return view_.ShowBox({Message(kSaveQuestionTitleMessage),
                        Message(kOverInputMessage) + '\n' +
                            ReportText(losses, [this](int number) { return Message(number); }) +
                            '\n' + Message(kReplaceQuestionMessage),
                        true});
}

bool MapSaveFlow::SaveInto(PointEditor& editor, const std::string& path, PointFormat format,
                           bool dialog) {
  const EditSave save = SaveOf(path, format);
  // Save As asks before it replaces a file, as Convert does; Save writes
  // the user's own file again unasked.
  askToReplace_ = dialog;
  if (!MayWrite(editor, save)) return false;
  SaveTally tally;
  const RunOutcome outcome =
      ConversionRun(*this, files_, clock_, CountedSaveOptions(editor.points(), save, tally))
          .Execute();
  if (outcome.result != RunResult::kFinished) {
    view_.ShowRunEnd(outcome);
    return false;
  }
  last_ = {path, format};
  guard_->Saved(files_, path);
  editor.MarkSaved();
  report_ = SavedLines(CountsOfSave(files_, editor.points(), save, outcome, tally));
  return true;
}

bool MapSaveFlow::MayReplace(std::string_view) { return !askToReplace_ || view_.AskToReplace(); }

bool MapSaveFlow::EventStep() { return !view_.HandleEvents(); }

}  // namespace velorin
