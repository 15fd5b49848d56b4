#pragma once
// The program's only working window. Idle layout: the input and output path
// groups with their browse commands, Convert and Quit. Running layout: a panel
// with the progress text and Cancel, menus disabled, close refused.
#include <QFont>
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/path_window.h"
#include "startup/file_locations.h"
#include "startup/startup.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;

namespace velorin {

class CommonDialog;
class MapWindow;
class QtRunHost;

class mainform : public QMainWindow, public PathWindow {
  Q_OBJECT

 public:
  /// Creating the window is its load event: the tables come from a start-up
  /// that succeeded; the texts, the idle layout and drop acceptance are set
  /// here, before the window is first shown.
  mainform(const StartupTables& tables, FileLocations locations, QWidget* parent = nullptr);
  /// A portable copy: every file in `applicationFolder`.
  mainform(const StartupTables& tables, const std::string& applicationFolder,
           QWidget* parent = nullptr);
  ~mainform() override;

  /// Captions, texts and fonts of the window, its controls, menus and dialogs.
  void ApplyMainWindowTexts();
  /// 1: running layout; any other value: idle layout.
  void ShowExecutionPanel(std::int16_t mode);
  /// Drop acceptance of the window and the eight controls of the idle layout.
  void SetDropTargetsEnabled(bool enabled);

  const StartupTables& Tables() const { return tables_; }
  /// Where the help files are and where the log goes.
  const FileLocations& Locations() const { return locations_; }
  /// Message `number` of the table, decoded for display.
  const QString& Message(int number) const;
  /// The host through which Convert and Cancel drive the conversion run.
  QtRunHost& RunHostForWindow() { return *runHost_; }
  /// Opens (or raises) the map of the input file beside the window.
  void ShowMap();
  /// The map window once opened; null before.
  MapWindow* Map() { return mapWindow_; }

  // What path selection works on.
  QLineEdit* InputPathBox() override { return Text_for_POT; }
  QLineEdit* OutputPathBox() override { return Text_for_NVI; }
  QPushButton* ConvertCommand() override { return Command_for_Convert; }
  CommonDialog* InputDialog() override { return CommonDialog_for_POT; }
  CommonDialog* OutputDialog() override { return CommonDialog_for_NVI; }
  QWidget* DialogParent() override { return this; }

  // Controls, by the names used throughout the program.
  QGroupBox* Frame1;
  QGroupBox* Frame_for_POT;
  QLineEdit* Text_for_POT;
  QPushButton* Command_for_POT;
  QGroupBox* Frame_for_NVI;
  QLineEdit* Text_for_NVI;
  QPushButton* Command_for_NVI;
  QPushButton* Command_for_Convert;
  QPushButton* Command_for_Quit;
  QGroupBox* Frame_for_While_Execute;
  QLabel* Label_for_While_Execute1;
  QLabel* Label_for_While_Execute2;
  QPushButton* Command_for_Cancel;
  CommonDialog* CommonDialog_for_POT;
  CommonDialog* CommonDialog_for_NVI;

  QMenu* mainform_menu_file;
  QAction* mainform_menu_file_map;
  QAction* mainform_menu_file_quit;
  QMenu* mainform_menu_tool;
  QAction* mainform_menu_tool_option;
  QMenu* mainform_menu_help;
  QAction* mainform_menu_help_help;
  QAction* mainform_menu_help_dummy1;
  QAction* mainform_menu_help_about;

 protected:
  void showEvent(QShowEvent* event) override;
  /// Close guard: refused while the running panel is shown.
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  /// Drag and drop on the controls that take dropped files.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  /// Frame1 and the controls outside the running panel take dropped files.
  void WatchDropTargets();
  void CreateMenus();
  void PlaceControls();
  void SetTabOrder();
  void ConnectEvents();
  void FixWindowSize();
  // The steps of ApplyMainWindowTexts.
  void ApplyPathGroupTexts(const QFont& font, const QFont& boldFont);
  void ApplyDialogTexts(const QFont& font);
  void ApplyMenuTexts();
  /// Handles a drag or drop event aimed at `target`; true when it was one.
  bool HandleDragAndDrop(QWidget* target, QEvent* event);

  /// The map item is enabled while the input names a readable point file.
  void UpdateMapCommand();
  /// A new input path: the open map shows that file.
  void OnInputPathChanged();
  void OnConvertClicked();
  void OnCancelClicked();
  void OnHelpClicked();
  void OnAboutClicked();

  StartupTables tables_;
  FileLocations locations_;
  std::vector<QString> messages_;
  std::unique_ptr<QtRunHost> runHost_;
  bool conversionActive_ = false;
  MapWindow* mapWindow_ = nullptr;
};

/// The first local file named by dropped data, or an empty string when the
/// data holds no file (dragged text, a web link).
QString FirstDroppedFile(const QMimeData* data);

}  // namespace velorin
