#pragma once
// The About box: program name, version, a copyright notice by language and the
// program icon. It is created anew for every showing and lives only while shown.
#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <functional>

#include "gui/program_icon.h"
#include "startup/startup.h"
#include "window/about_texts.h"

class QLabel;
class QPushButton;

namespace velorin {

class aboutform : public QDialog {
  Q_OBJECT

 public:
  /// Sizes, places (relative to `mainWindow`, which may be null) and fills the
  /// box. `unloaded` runs once, when the box is destroyed, however it closed.
  aboutform(QWidget* mainWindow, const StartupTables& tables, std::function<void()> unloaded = {});
  ~aboutform() override;

 private:
  int TwipsX(int twips) const;
  int TwipsY(int twips) const;
  void Place(QWidget* widget, int left, int top, int width, int height) const;

  std::function<void()> unloaded_;
  QLabel* Label_Title;
  QLabel* Label_Version;
  QLabel* Label_Copyright;
  QLabel* Image_Icon;
  QPushButton* Command_Ok;
};

/// Help > About: switches drops off, shows a new About box modally and returns
/// when it has closed; drops are switched on again when the box goes away.
void ShowAboutBox(QWidget* mainWindow, const StartupTables& tables,
                  const std::function<void(bool)>& setDropTargetsEnabled);

}  // namespace velorin
