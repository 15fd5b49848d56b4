#include "gui/map/map_texts.h"

#include <QCoreApplication>

#include "map/point_texts.h"
#include "map/title_check.h"

namespace velorin {

QString MapTexts::Message(int number) const { return QString::fromStdString(words_.Text(number)); }

QString MapTexts::Command(QtCommand command) {
  // The contexts where Qt's translations hold these words.
  switch (command) {
    case QtCommand::kUndo:
      return QCoreApplication::translate("QLineEdit", "&Undo");
    case QtCommand::kRedo:
      return QCoreApplication::translate("QLineEdit", "&Redo");
    case QtCommand::kDelete:
      return QCoreApplication::translate("QFileDialog", "&Delete");
    case QtCommand::kRename:
      return QCoreApplication::translate("QFileDialog", "&Rename");
    case QtCommand::kSelectAll:
      return QCoreApplication::translate("QLineEdit", "Select All");
    case QtCommand::kFind:
      return QCoreApplication::translate("QShortcut", "Find");
    case QtCommand::kSave:
      return QCoreApplication::translate("QFileDialog", "&Save");
    case QtCommand::kSaveAs:
      return QCoreApplication::translate("QFileDialog", "Save As") + QStringLiteral("...");
    case QtCommand::kClose:
      return QCoreApplication::translate("QMdiSubWindow", "&Close");
  }
  return {};
}

QString MapTexts::Plain(const QString& text) {
  return QString::fromStdString(PlainMenuWord(text.toStdString()));
}

QString MapTexts::PointText(const EditedPoints& points, std::uint32_t item) const {
  return QString::fromStdString(velorin::PointText(words_, points, item));
}

QString MapTexts::StatusText(ItemStatus status) const {
  return QString::fromStdString(velorin::StatusText(words_, status));
}

QString MapTexts::SkipText(const EditedPoints& points, std::uint32_t item) const {
  return QString::fromStdString(velorin::SkipText(words_, points, item));
}

QString MapTexts::TitleCheckText(const std::string& utf8, PointFormat format) const {
  return QString::fromStdString(velorin::TitleCheckText(words_, utf8, format));
}

QString MapTexts::Lines(const std::vector<ReportLine>& lines) const {
  return QString::fromStdString(
      ReportText(lines, [this](int number) { return Message(number).toStdString(); }));
}

}  // namespace velorin
