#pragma once
// Shared pieces of the window tests: start-up tables whose message N reads
// "M<N>", data folders written byte for byte, the two dialog seams, and drag
// and drop without a mouse.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "gui/common_dialog.h"
#include "gui/message_box.h"
#include "gui/twips.h"
#include "startup/startup.h"
#include "text/cp932_encoder.h"

namespace velorin::window_test {

/// A font name that no system has: the window's fonts must carry exactly it.
inline constexpr const char* kTestFontName = "Velorin Test Sans";
inline constexpr float kTestFontSize = 10.5F;

inline QString M(int number) { return QStringLiteral("M%1").arg(number); }

inline std::string Cp932(const char* utf8) { return Utf8ToCp932(utf8).value(); }

/// Tables as a successful start-up leaves them: message N is "M<N>", except
/// the font name and size, and "-" for the separator of the Help menu.
inline StartupTables SyntheticTables() {
  StartupTables tables;
  tables.systemSettings[0] = "1";
  tables.systemSettings[1] = "0";
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n) {
    tables.messageTable[n] = "M" + std::to_string(n);
  }
  tables.messageTable[0] = kTestFontName;
  tables.messageTable[1] = "10.5";
  tables.messageTable[22] = "-";
  return tables;
}

/// `lines` joined by CR LF, each line ended by one.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

/// The lines of a message file: message N is `prefix` + N.
inline std::vector<std::string> MessageLines(const std::string& prefix, std::size_t count = 200) {
  std::vector<std::string> lines;
  for (std::size_t n = 0; n < count; ++n) lines.push_back(prefix + std::to_string(n));
  if (count > 1) {
    lines[0] = kTestFontName;
    lines[1] = "9";
  }
  return lines;
}

/// Sixteen settings lines with the language entry `language`.
inline std::vector<std::string> SettingsLines(const std::string& language) {
  std::vector<std::string> lines(16);
  lines[0] = language;
  lines[1] = "0";
  lines[3] = "0";
  return lines;
}

/// A temporary application folder.
class DataFolder {
 public:
  DataFolder() { QVERIFY(dir_.isValid()); }
  /// The folder as the program uses it: ending with a separator.
  std::string FolderText() const { return QDir(dir_.path()).absolutePath().toStdString() + "/"; }
  QString PathOf(const QString& name) const { return QDir(dir_.path()).absoluteFilePath(name); }
  QString Write(const QString& name, const std::string& bytes) const {
    QFile file(PathOf(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file.fileName();
  }
  std::string Read(const QString& name) const {
    QFile file(PathOf(name));
    if (!file.open(QIODevice::ReadOnly)) return std::string();
    return file.readAll().toStdString();
  }

 private:
  QTemporaryDir dir_;
};

/// From now on no real box or dialog shows; everything shown is recorded.
inline void EnableSeams() {
  message_box_seam::EnableTestMode();
  common_dialog_seam::EnableTestMode();
}

inline void ResetSeams() {
  message_box_seam::Reset();
  common_dialog_seam::Reset();
}

/// Fails the current test when a box or a dialog came that no answer was
/// queued for, or when queued answers were left over.
inline void VerifySeamsSettled() {
  for (const ShownMessageBox& box : message_box_seam::Shown()) {
    QVERIFY2(!box.unexpected,
             qPrintable(QStringLiteral("unexpected box: %1 / %2").arg(box.title, box.text)));
  }
  for (const common_dialog_seam::ShownDialog& dialog : common_dialog_seam::Shown()) {
    QVERIFY2(!dialog.unexpected, qPrintable(QStringLiteral("unexpected dialog: ") + dialog.title));
  }
  QCOMPARE(message_box_seam::PendingAnswers(), std::size_t{0});
  QCOMPARE(common_dialog_seam::PendingAnswers(), std::size_t{0});
}

/// Dropped data naming local files.
inline std::unique_ptr<QMimeData> FileList(const QStringList& paths) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data->setUrls(urls);
  return data;
}

inline std::unique_ptr<QMimeData> PlainText(const QString& text) {
  auto data = std::make_unique<QMimeData>();
  data->setText(text);
  return data;
}

struct DropResult {
  bool enterAccepted = false;
  bool dropAccepted = false;
};

/// Drags `data` onto the middle of `target` and drops it there.
inline DropResult DragAndDrop(QWidget* target, const QMimeData* data) {
  const QPoint middle = target->rect().center();
  DropResult result;
  QDragEnterEvent enter(middle, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, data,
                        Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  result.enterAccepted = enter.isAccepted();
  QDropEvent drop(QPointF(middle), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, data,
                  Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  result.dropAccepted = drop.isAccepted();
  return result;
}

/// A control's expected geometry in pixels at the widget's own DPI.
inline QRect ExpectedRect(const QWidget* widget, int left, int top, int width, int height) {
  return TwipsRect(left, top, width, height, widget->logicalDpiX(), widget->logicalDpiY());
}

}  // namespace velorin::window_test
