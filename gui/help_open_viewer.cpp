// Linux: the help file in Velorin's own viewer, one viewer at a time.
#include <QFont>

#include "gui/help_open.h"
#include "gui/help_viewer.h"
#include "gui/message_text.h"

namespace velorin {
namespace {

QFont MessageFont(const StartupTables& tables) {
  QFont font(MessageText(tables, kFontNameMessage));
  float size = 0.0F;
  if (ParseFontSize(tables.messageTable[kFontSizeMessage], size)) font.setPointSizeF(size);
  return font;
}

}  // namespace

HelpOpening OpenHelpFile(QWidget* parent, const StartupTables& tables, const std::string& path) {
  const std::optional<QString> text = ReadHelpText(path);
  if (!text) return {};
  // Help again while the viewer is open brings that viewer forward.
  if (parent != nullptr) {
    if (auto* open = parent->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)) {
      open->raise();
      open->activateWindow();
      return {true, open};
    }
  }
  auto* viewer =
      new HelpViewer(parent, WithoutAccessKey(MessageText(tables, 21)), *text, MessageFont(tables));
  viewer->show();
  return {true, viewer};
}

}  // namespace velorin
