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
#include "platform/program_seams.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "window/main_presenter.h"
#include "window/main_view.h"

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

/// The Qt view of the window rules (MainPresenter): it shows, reads and
/// forwards.
class mainform : public QMainWindow, public PathWindow, public MainView {
  Q_OBJECT

 public:
  /// Creating the window is its load event: the tables come from a start-up
  /// that succeeded; the texts, the idle layout and drop acceptance are set
  /// here, before the window is first shown.
  /// Every file it reads or writes goes through `files`.
  mainform(const StartupTables& tables, FileLocations locations, QWidget* parent = nullptr,
           FileSystem& files = ProgramFileSystem(), Clock& clock = ProgramClock());
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

  const StartupTables& Tables() const { return presenter_->Tables(); }
  /// Where the help files are and where the log goes.
  const FileLocations& Locations() const { return presenter_->Locations(); }
  /// Message `number` of the table, decoded for display.
  QString Message(int number) const;
  /// The window rules this window shows.
  MainPresenter& Presenter() override { return *presenter_; }
  /// Opens (or raises) the map of the input file beside the window.
  void ShowMap();
  /// The map window once opened; null before.
  MapWindow* Map() { return mapWindow_; }

  // MainView: what the window rules set and read.
  void SetCaption(MainControl control, const std::string& text) override;
  void SetControlFont(MainControl control, const FontSpec& font) override;
  void SetVisible(MainControl control, bool visible) override;
  void SetEnabled(MainControl control, bool enabled) override;
  void SetFocus(MainControl control) override;
  void SetDropAccepted(MainControl control, bool accepted) override;
  std::string PathText(PathKind path) override;
  void SetPathText(PathKind path, const std::string& text) override;
  void SetMenuText(MainMenu menu, const std::string& text, bool separator) override;
  void SetMenuVisible(MainMenu menu, bool visible) override;
  void SetMenuEnabled(MainMenu menu, bool enabled) override;
  void SetMenuChecked(MainMenu menu, bool checked) override;
  void ConfigureFileDialog(PathKind path, const FileDialogSettings& settings) override;
  std::string DialogFileName(PathKind path) override;
  void SetDialogFileName(PathKind path, const std::string& name) override;
  void ShowFileDialog(PathKind path) override;
  MessageAnswer ShowMessageBox(const std::string& title, const std::string& text,
                               MessageButtons buttons, MessageAnswer defaultAnswer,
                               MessageIcon icon) override;
  void ProcessEvents() override;
  bool OpenHelpFile(const std::string& path) override;
  void ShowAboutBox(const AboutContent& content) override;
  void RequestClose() override;

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
  /// The NVI fields filled, one checkable item each, and their separator.
  QAction* mainform_menu_file_nvi_addr;
  QAction* mainform_menu_file_nvi_comm;
  QAction* mainform_menu_file_nvi_hpgl;
  QAction* mainform_menu_file_nvi_mail;
  QAction* mainform_menu_file_nvi_separator;
  /// Shown while the map holds edits: Convert with them.
  QAction* mainform_menu_file_convert_edited;
  QAction* mainform_menu_file_quit;
  QMenu* mainform_menu_tool;
  QAction* mainform_menu_tool_option;
  QAction* mainform_menu_tool_option_input_datum;
  QAction* mainform_menu_tool_option_output_datum;
  QAction* mainform_menu_tool_option_osm_fuel;
  QAction* mainform_menu_tool_option_osm_services;
  QAction* mainform_menu_tool_option_osm_hot_spring;
  QAction* mainform_menu_tool_option_osm_parking;
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
  QWidget* Control(MainControl control);
  /// The control that `widget` is; the window for any other widget.
  MainControl ControlOf(QWidget* widget);
  QMenu* Menu(MainMenu menu);
  QAction* MenuItem(MainMenu menu);
  CommonDialog* Dialog(PathKind path);
  /// Handles a drag or drop event aimed at `target`; true when it was one.
  bool HandleDragAndDrop(QWidget* target, QEvent* event);

  /// The map item is enabled while the input names a readable point file.
  void UpdateMapCommand();
  /// A new input path: the open map shows that file.
  void OnInputPathChanged();
  /// Convert with the map's edited points in place of the input file.
  void ConvertEditedPoints();

  FileSystem& files_;
  std::unique_ptr<MainPresenter> presenter_;
  MapWindow* mapWindow_ = nullptr;
};

/// A font that no longer follows its parent's: every property set explicitly.
void KeepSystemFont(QWidget* widget);

/// The first local file named by dropped data, or an empty string when the
/// data holds no file (dragged text, a web link).
QString FirstDroppedFile(const QMimeData* data);

}  // namespace velorin
