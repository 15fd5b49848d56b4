#include "map/map_window_presenter.h"

#include <system_error>
#include <utility>

#include "map/map_window_settings.h"

namespace velorin {

MapWindowPresenter::MapWindowPresenter(MapWindowView& view, const MapMessages& words,
                                       FileSystem& files, std::string settingsPath,
                                       MapReadOptions read)
    : view_(view),
      words_(words),
      files_(files),
      settingsPath_(std::move(settingsPath)),
      read_(std::move(read)),
      routes_(LoadMapRoutesAndTracks(files_, settingsPath_)) {}

bool MapWindowPresenter::HoldsEdits() const {
  return Editor() != nullptr && Editor()->points().edits().HoldsEdits();
}

bool MapWindowPresenter::Unsaved() const {
  return Editor() != nullptr && Editor()->points().edits().Unsaved();
}

bool MapWindowPresenter::MayLetEditsGo() {
  if (!Unsaved() || editsLetGo_) return true;
  const EditsAnswer answer =
      view_.AskAboutEdits(Message(kSaveQuestionTitleMessage),
                          Message(kUnsavedMessage) + '\n' + Message(kUnsavedMessage + 1));
  if (answer == EditsAnswer::kSave) {
    const bool saved = view_.SaveEdits();
    return saved || !Unsaved();
  }
  editsLetGo_ = answer == EditsAnswer::kDiscard;
  return editsLetGo_;
}

bool MapWindowPresenter::ShowFile(const std::string& path) {
  if (!MayLetEditsGo()) return false;
  path_ = path;
  view_.ForgetSaves();
  Load();
  return true;
}

void MapWindowPresenter::Load() {
  editsLetGo_ = false;
  UpdateStatus();
  view_.SetNotice(Message(kReadingMessage));
  view_.SetDetails({});
  // What Convert would write: NVI, with the settings' untitled rule; the
  // points in WGS 84, from the datum the settings give the input.
  MapReadOptions options = read_;
  options.output = PointFormat::kNvi;
  options.capacity = capacity_;
  if (routes_) options.points = {true, true, true};
  view_.ReadPoints(path_, options);
}

bool MapWindowPresenter::SetInputDatum(Datum datum) {
  if (read_.inputDatum == datum) return false;
  read_.inputDatum = datum;
  return true;
}

bool MapWindowPresenter::ShowRoutesAndTracks(bool shown) {
  if (!MayLetEditsGo()) return false;
  routes_ = shown;
  std::error_code error;
  SaveMapRoutesAndTracks(files_, settingsPath_, shown, error);
  if (!path_.empty()) Load();
  return true;
}

void MapWindowPresenter::Loaded(std::shared_ptr<MapData> data) {
  data_ = std::move(data);
  view_.ShowData(data_);
  ListChanged();
  const std::size_t points = data_->read().points.size();
  if (data_->Failed() && points == 0) {
    view_.SetNotice(Message(kCannotReadMessage));
  } else if (points == 0 && data_->read().points.skips().empty()) {
    view_.SetNotice(Message(kNoPointsMessage));
  } else {
    view_.SetNotice({});
  }
  UpdateStatus();
  SayWhatWasNotRead(*data_);
  view_.PointsShown();
}

void MapWindowPresenter::SayWhatWasNotRead(const MapData& data) {
  const RunOutcome& outcome = data.read().outcome;
  if (data.Failed() && outcome.failedStage == RunStage::kShiftDatum) {
    // As Convert says it: the datum's words, and PROJ's why below.
    const std::string notice = Message(kCannotReadMessage) + '\n' + Message(kShiftFailedMessage);
    if (data.read().points.size() == 0) view_.SetNotice(notice);
    view_.SetDetails(notice + '\n' + outcome.shiftFailure);
  } else if (data.Failed() && outcome.readFailure) {
    view_.SetDetails(Message(kCannotReadMessage) + '\n' + outcome.readFailure->message);
  }
  if (data.read().full) {
    // At once: the file holds more than the map, which will not save over it.
    view_.ShowError(Message(kSaveErrorTitleMessage),
                    Message(kMapFullMessage) + ' ' + std::to_string(data.read().points.size()));
  }
}

void MapWindowPresenter::ListChanged() {
  const PointEditor* editor = Editor();
  if (editor == nullptr) return;
  view_.ShowListRows(editor->list().HeadingRows(), editor->list().RowsOf(editor->selection()));
}

}  // namespace velorin
