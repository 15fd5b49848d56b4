#include "gui/map/map_save.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "gui/message_box.h"
#include "map/edit_save.h"
#include "platform/clock.h"
#include "platform/file_system.h"
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

}  // namespace

MapSaver::MapSaver(QWidget& window, const MapTexts& texts, const std::vector<std::string>& settings)
    : window_(window), texts_(texts), settings_(settings) {}

PointFormat MapSaver::TargetFormat(const PointEditor& editor) const {
  return last_ ? last_->second : editor.map().read.output;
}

QString MapSaver::Filter() {
  QStringList parts;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter == nullptr || info.writeInstead) continue;
    QStringList patterns;
    for (const std::string_view extension : ExtensionsOf(info, true)) {
      patterns << QLatin1Char('*') +
                      QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
    }
    parts << QString::fromUtf8(info.displayName.data(),
                               static_cast<qsizetype>(info.displayName.size()))
          << patterns.join(QLatin1Char(';'));
  }
  return parts.join(QLatin1Char('|'));
}

bool MapSaver::SaveAs(PointEditor& editor) {
  const PointFormat format = TargetFormat(editor);
  dialog_.DialogTitle = MapTexts::Plain(MapTexts::Command(QtCommand::kSaveAs));
  dialog_.Filter = Filter();
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
  // The user's own file, named in this window: written again unasked.
  return SaveInto(editor, last_->first, last_->second, false);
}

bool MapSaver::SaveInto(PointEditor& editor, const std::string& path, PointFormat format,
                        bool ask) {
  LocalFileSystem files;
  LocalClock clock;
  SaveWindow window(window_, texts_);
  EditSave save{path, format};
  save.fileDatum = DatumOfSetting(settings_[kInputDatumEntry]);
  save.nviDatum = DatumOfSetting(settings_[kOutputDatumEntry]);
  const RunOutcome outcome =
      SaveInWindow(window, files, clock, EditSaveOptions(editor.points(), save), ask);
  if (outcome.result != RunResult::kFinished) return false;
  last_ = {path, format};
  editor.MarkSaved();
  return true;
}

}  // namespace velorin
