#include "gui/map/map_save.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

#include "gui/message_box.h"
#include "window/dialog_filter.h"
#include "window/run_boxes.h"

namespace velorin {

MapSaver::MapSaver(QWidget& window, const MapTexts& texts, const std::vector<std::string>& settings,
                   FileSystem& files)
    : window_(window), texts_(texts), flow_(*this, settings, files, clock_) {}

bool MapSaver::SaveAs(PointEditor& editor) {
  sinceEvents_.start();
  return flow_.SaveAs(editor);
}

bool MapSaver::Save(PointEditor& editor) {
  sinceEvents_.start();
  return flow_.Save(editor);
}

QString MapSaver::Report() const {
  if (!flow_.Report() || !flow_.Last()) return {};
  return texts_.Message(kSavedToMessage) + QLatin1Char(' ') +
         QFileInfo(QString::fromStdString(flow_.Last()->first)).fileName() + QLatin1Char('\n') +
         texts_.Lines(*flow_.Report());
}

std::string MapSaver::MessageText(int number) { return texts_.Message(number).toStdString(); }

bool MapSaver::ShowBox(const SaveBox& box) {
  const MessageButtons buttons = box.question ? MessageButtons::kYesNo : MessageButtons::kOk;
  const MessageAnswer chosen = box.question ? MessageAnswer::kNo : MessageAnswer::kOk;
  return ShowMessageBox(&window_, QString::fromStdString(box.title),
                        QString::fromStdString(box.text), buttons, chosen) == MessageAnswer::kYes;
}

MessageAnswer MapSaver::Show(const MessageBoxRequest& request) {
  QString text = QString::fromStdString(request.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return ShowMessageBox(&window_, QString::fromStdString(request.title), text, request.buttons,
                        request.defaultAnswer);
}

bool MapSaver::AskToReplace() {
  return Show(BoxRequest(kOverwriteQuestionBox, [this](int number) {
           return MessageText(number);
         })) == MessageAnswer::kYes;
}

void MapSaver::ShowRunEnd(const RunOutcome& outcome) {
  if (const std::optional<RunBox> box = SaveEndBox(outcome)) {
    Show(BoxRequest(*box, [this](int number) { return MessageText(number); }));
  }
}

std::optional<std::string> MapSaver::AskSavePath(const SavePathRequest& request) {
  dialog_.DialogTitle = MapTexts::Plain(MapTexts::Command(QtCommand::kSaveAs));
  dialog_.Filter = QString::fromStdString(SaveAsFilter(request.formats));
  dialog_.FilterIndex = request.formatIndex;
  dialog_.DefaultExt = QString::fromUtf8(InfoOf(request.format).extension.data() + 1);
  dialog_.Font = window_.font();
  dialog_.FileName = QString::fromStdString(request.fileName);
  dialog_.ShowSave(&window_);
  if (!dialog_.Accepted || dialog_.FileName.isEmpty()) return std::nullopt;
  return dialog_.FileName.toStdString();
}

bool MapSaver::HandleEvents() {
  if (sinceEvents_.elapsed() < 100) return false;
  sinceEvents_.restart();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return false;
}

}  // namespace velorin
