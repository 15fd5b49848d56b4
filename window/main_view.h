#pragma once
// What the window rules need of a main window, whatever toolkit draws it: set
// texts, fonts, visibility, enabled state, focus and drop acceptance of named
// controls, show the file dialogs and message boxes, and handle pending
// events. A view only shows, reads and forwards; MainPresenter decides.
#include <string>

#include "window/message_box_request.h"

namespace velorin {

/// The main window and its controls, by the names used throughout the program.
enum class MainControl {
  kWindow,
  kFrame1,
  kFrame_for_POT,
  kText_for_POT,
  kCommand_for_POT,
  kFrame_for_NVI,
  kText_for_NVI,
  kCommand_for_NVI,
  kCommand_for_Convert,
  kCommand_for_Quit,
  kFrame_for_While_Execute,
  kLabel_for_While_Execute1,
  kLabel_for_While_Execute2,
  kCommand_for_Cancel,
};

/// The menus and their items.
enum class MainMenu {
  kFile,
  kFileQuit,
  kTool,
  kToolOption,
  /// Under Tool > Option, each ticked when chosen: POT, NVI and CSV input
  /// in the Tokyo datum; NVI written in the Tokyo datum.
  kToolOptionInputDatum,
  kToolOptionOutputDatum,
  kHelp,
  kHelpHelp,
  kHelpDummy1,
  kHelpAbout,
  /// Under File, each one checked when the NVI field it names is filled,
  /// then a separator before Quit.
  kFileNviAddr,
  kFileNviComm,
  kFileNviHpgl,
  kFileNviMail,
  kFileNviSeparator,
  /// Under Tool > Option, each ticked while the OpenStreetMap objects kept
  /// of an extract include its kind: fuel stations, roadside stations and
  /// rest areas, hot springs, car parks.
  kToolOptionOsmFuel,
  kToolOptionOsmServices,
  kToolOptionOsmHotSpring,
  kToolOptionOsmParking,
};

/// One of the two paths, with its path box and its file dialog.
enum class PathKind { kInput, kOutput };

/// A font by name and size in points; size 0 keeps the toolkit's size.
struct FontSpec {
  std::string name;
  float size = 0.0F;
  bool bold = false;
};

/// Settings of a file dialog, made once at start-up. The filter is in the
/// bar-separated notation: "description|pattern|description|pattern".
struct FileDialogSettings {
  std::string title;
  std::string defaultExt;
  std::string filter;
  FontSpec font;
};

/// What the About box shows besides its fixed title and icon.
struct AboutContent {
  std::string caption;
  std::string versionText;
  std::string copyright;
  FontSpec font;
};

class MainView {
 public:
  virtual ~MainView() = default;

  /// Window caption, frame caption, command caption or label text (UTF-8).
  virtual void SetCaption(MainControl control, const std::string& text) = 0;
  virtual void SetControlFont(MainControl control, const FontSpec& font) = 0;
  virtual void SetVisible(MainControl control, bool visible) = 0;
  virtual void SetEnabled(MainControl control, bool enabled) = 0;
  virtual void SetFocus(MainControl control) = 0;
  virtual void SetDropAccepted(MainControl control, bool accepted) = 0;

  /// The text of a path box.
  virtual std::string PathText(PathKind path) = 0;
  /// Sets a path box's text and puts the caret after its last character.
  virtual void SetPathText(PathKind path, const std::string& text) = 0;

  /// `separator`: the item is drawn as a separator line, without text.
  virtual void SetMenuText(MainMenu menu, const std::string& text, bool separator) = 0;
  virtual void SetMenuVisible(MainMenu menu, bool visible) = 0;
  virtual void SetMenuEnabled(MainMenu menu, bool enabled) = 0;
  /// Ticks a menu item that is a choice, or takes its tick away.
  virtual void SetMenuChecked(MainMenu menu, bool checked) = 0;

  virtual void ConfigureFileDialog(PathKind path, const FileDialogSettings& settings) = 0;
  virtual std::string DialogFileName(PathKind path) = 0;
  virtual void SetDialogFileName(PathKind path, const std::string& name) = 0;
  /// The open dialog for the input, the save dialog for the output, modal.
  /// On confirmation the dialog's FileName holds the choice; a cancel leaves
  /// it as it was.
  virtual void ShowFileDialog(PathKind path) = 0;

  /// A modal box; returns the button pressed. A view that draws no icons
  /// may leave `icon` aside.
  virtual MessageAnswer ShowMessageBox(const std::string& title, const std::string& text,
                                       MessageButtons buttons, MessageAnswer defaultAnswer,
                                       MessageIcon icon) = 0;
  /// Handles the pending window events, then returns.
  virtual void ProcessEvents() = 0;

  /// Shows the help file (an ordinary file) without waiting; false when it
  /// could not be shown.
  virtual bool OpenHelpFile(const std::string& path) = 0;
  /// Shows the About box modally; returns when it has closed.
  virtual void ShowAboutBox(const AboutContent& content) = 0;
  /// A request to close the window; the close guard (MainPresenter::CanClose)
  /// decides.
  virtual void RequestClose() = 0;
};

}  // namespace velorin
