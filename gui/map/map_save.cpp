#include "gui/map/map_save.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QWidget>

#include "gui/message_box.h"
#include "map/save_forecast.h"
#include "platform/clock.h"
#include "window/run_settings.h"
#include "window/window_run.h"

namespace velorin {
namespace {

/// The map window as the window of a save: message boxes over it, events
/// handled a few times a second but no input, so that the points stay as
/// they are while they are written.
class SaveWindow : public RunWindow {
 public:
  SaveWindow(QWidget& window, const MapTexts& texts) : window_(window), texts_(texts) {
    clock_.start();
  }
  std::string MessageText(int number) override { return texts_.Message(number).toStdString(); }
  MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
    QString text = QString::fromStdString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return velorin::ShowMessageBox(&window_, QString::fromStdString(request.title), text,
                                   request.buttons, request.defaultAnswer);
  }
  void ProcessEvents() override {
    if (clock_.elapsed() < 100) return;
    clock_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  QWidget& window_;
  const MapTexts& texts_;
  QElapsedTimer clock_;
};

/// The point formats Velorin writes, in the dialog's order.
std::vector<const FormatInfo*> WrittenFormats() {
  std::vector<const FormatInfo*> written;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter != nullptr && !info.writeInstead) written.push_back(&info);
  }
  return written;
}

}  // namespace

MapSaver::MapSaver(QWidget& window, const MapTexts& texts, const std::vector<std::string>& settings,
                   FileSystem& files)
    : window_(window), texts_(texts), settings_(settings), files_(files) {}

PointFormat MapSaver::TargetFormat(const PointEditor& editor) const {
  return last_ ? last_->second : editor.map().read.output;
}

void MapSaver::Forget() {
  last_.reset();
  guard_.reset();
  guarded_ = nullptr;
  report_.clear();
}

QString MapSaver::Filter() {
  QStringList parts;
  for (const FormatInfo* info : WrittenFormats()) {
    QStringList patterns;
    for (const std::string_view extension : ExtensionsOf(*info, true)) {
      patterns << QLatin1Char('*') +
                      QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
    }
    parts << QString::fromUtf8(info->displayName.data(),
                               static_cast<qsizetype>(info->displayName.size()))
          << patterns.join(QLatin1Char(';'));
  }
  return parts.join(QLatin1Char('|'));
}

int MapSaver::FilterIndexOf(PointFormat format) {
  const std::vector<const FormatInfo*> written = WrittenFormats();
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i]->format == format) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool MapSaver::SaveAs(PointEditor& editor) {
  // The name offered and the type chosen are of one format: the file last
  // saved's, else NVI's, as Convert writes.
  const PointFormat format = last_ ? last_->second : PointFormat::kNvi;
  dialog_.DialogTitle = MapTexts::Plain(MapTexts::Command(QtCommand::kSaveAs));
  dialog_.Filter = Filter();
  dialog_.FilterIndex = FilterIndexOf(format);
  dialog_.DefaultExt = QString::fromUtf8(InfoOf(format).extension.data() + 1);
  dialog_.Font = window_.font();
  dialog_.FileName = QString::fromStdString(
      last_ ? last_->first : DefaultOutputPath(editor.map().path, PointFormat::kNvi));
  dialog_.ShowSave(&window_);
  if (!dialog_.Accepted || dialog_.FileName.isEmpty()) return false;
  const std::string path = dialog_.FileName.toStdString();
  const std::optional<PointFormat> chosen = SaveFormatOfPath(path);
  if (!chosen) {
    ShowMessageBox(&window_, texts_.Message(kErrorTitleMessage),
                   texts_.Message(kCannotWriteKindMessage), MessageButtons::kOk,
                   MessageAnswer::kOk);
    return false;
  }
  return SaveInto(editor, path, *chosen, true);
}

bool MapSaver::Save(PointEditor& editor) {
  if (!last_) return SaveAs(editor);
  // The user's own file, named in this window: written again unasked,
  // unless another program changed it since.
  return SaveInto(editor, last_->first, last_->second, false);
}

EditSave MapSaver::SaveOf(const std::string& path, PointFormat format) const {
  EditSave save{path, format};
  save.fileDatum = DatumOfSetting(settings_[kInputDatumEntry]);
  save.nviDatum = DatumOfSetting(settings_[kOutputDatumEntry]);
  return save;
}

bool MapSaver::MayWrite(const PointEditor& editor, const EditSave& save, bool& ask) {
  if (guarded_ != &editor.map()) {
    guard_.emplace(editor.map());
    guarded_ = &editor.map();
  }
  const SaveDecision decision = guard_->Decide(files_, save.path);
  switch (decision.verdict) {
    case SaveVerdict::kWrite:
      return true;
    case SaveVerdict::kRefuseNotWhole:
      ShowMessageBox(&window_, texts_.Message(kErrorTitleMessage), texts_.Message(kNotWholeMessage),
                     MessageButtons::kOk, MessageAnswer::kOk);
      return false;
    case SaveVerdict::kAskChanged:
      ask = false;
      return ShowMessageBox(&window_, texts_.Message(kQuestionTitleMessage),
                            texts_.Message(kSavedFileChangedMessage) + QLatin1Char('\n') +
                                texts_.Message(kReplaceQuestionMessage),
                            MessageButtons::kYesNo, MessageAnswer::kNo) == MessageAnswer::kYes;
    case SaveVerdict::kAskLosses:
      break;
  }
  // The file read: what of it will not be kept is said before it goes.
  const std::vector<ReportLine> losses =
      LossLines(editor.map().read.outcome, ForecastSave(files_, editor.points(), save),
                decision.changedOnDisk);
  ask = false;
  return ShowMessageBox(&window_, texts_.Message(kQuestionTitleMessage),
                        texts_.Message(kOverInputMessage) + QLatin1Char('\n') +
                            texts_.Lines(losses) + QLatin1Char('\n') +
                            texts_.Message(kReplaceQuestionMessage),
                        MessageButtons::kYesNo, MessageAnswer::kNo) == MessageAnswer::kYes;
}

bool MapSaver::SaveInto(PointEditor& editor, const std::string& path, PointFormat format,
                        bool dialog) {
  const EditSave save = SaveOf(path, format);
  // Save As asks before it replaces a file, as Convert does; Save writes
  // the user's own file again unasked.
  bool ask = dialog;
  if (!MayWrite(editor, save, ask)) return false;
  LocalClock clock;
  SaveWindow window(window_, texts_);
  SaveTally tally;
  const RunOutcome outcome =
      SaveInWindow(window, files_, clock, CountedSaveOptions(editor.points(), save, tally), ask);
  if (outcome.result != RunResult::kFinished) return false;
  last_ = {path, format};
  guard_->Saved(files_, path);
  editor.MarkSaved();
  const SaveCounts counts = CountsOfSave(files_, editor.points(), save, outcome, tally);
  report_ = texts_.Message(kSavedToMessage) + QLatin1Char(' ') +
            QFileInfo(QString::fromStdString(path)).fileName() + QLatin1Char('\n') +
            texts_.Lines(SavedLines(counts));
  return true;
}

}  // namespace velorin
