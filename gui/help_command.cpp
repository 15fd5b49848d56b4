#include "gui/help_command.h"

#include <QFileInfo>

#include "gui/help_open.h"
#include "gui/message_box.h"
#include "gui/message_text.h"

namespace velorin {
namespace {

constexpr int kMissingTitleMessage = 91;
constexpr int kMissingTextMessage = 136;
constexpr int kMissingTextMessage2 = 137;

// A regular file counts; a folder of that name does not, nor a file marked
// hidden (a Windows attribute; the help file names never start with a dot).
bool IsOrdinaryFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.isHidden();
}

}  // namespace

QWidget* ShowHelpFile(QWidget* parent, const StartupTables& tables, const std::string& dataFolder,
                      const std::function<void(bool)>& setDropTargetsEnabled) {
  const std::string path = HelpFilePath(tables, dataFolder);
  if (IsOrdinaryFile(path)) {
    // A file that is there but cannot be read helps no more than none.
    if (const HelpOpening opening = OpenHelpFile(parent, tables, path); opening.opened)
      return opening.viewer;
  }
  setDropTargetsEnabled(false);
  ShowMessageBox(parent, MessageText(tables, kMissingTitleMessage),
                 MessageText(tables, kMissingTextMessage) + QStringLiteral("\r\n") +
                     MessageText(tables, kMissingTextMessage2),
                 MessageButtons::kOk, MessageAnswer::kOk);
  setDropTargetsEnabled(true);
  return nullptr;
}

}  // namespace velorin
