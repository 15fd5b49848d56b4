#pragma once
// The main window with the Win32 API: the view of the window rules
// (MainPresenter). It creates the window, its controls and menus, lays them
// out from the twips at the window's DPI, and forwards clicks, changes, drops
// and close requests to the rules.
// <windows.h> first: the headers below need its types.
#include <windows.h>
// Then the rest.
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>

#include "platform/program_seams.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "win32/win32_seams.h"
#include "window/main_presenter.h"
#include "window/main_view.h"

namespace velorin {

class Win32MapWindow;

class Win32MainWindow : public MainView {
 public:
  /// Creating the window is its load event; the window is not yet shown.
  /// Every file it reads or writes goes through `files`.
  Win32MainWindow(const StartupTables& tables, FileLocations locations, Win32Seams seams = {},
                  FileSystem& files = ProgramFileSystem(), Clock& clock = ProgramClock());
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND ControlHandle(MainControl control) const;
  /// The command number of a menu item, as WM_COMMAND carries it.
  static WORD MenuCommand(MainMenu menu);
  MainPresenter& Presenter() { return *presenter_; }
  /// The command of File > Map of the input file (Ctrl+M).
  static constexpr WORD kMapCommand = 199;
  /// File > Convert the edited points, while the map shown holds edits.
  static constexpr WORD kConvertEditedCommand = 198;
  /// Opens the map of the input file beside the window (main_window_map.cpp).
  void ShowMap();
  /// The map window, once opened; null before.
  Win32MapWindow* Map() { return map_.get(); }
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  /// Handles one message of the window's thread, as the message loop and the
  /// event step do: dialog keys (Tab, Enter) first.
  void Dispatch(MSG& message);

  // MainView.
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

 private:
  struct MenuState {
    std::string text;
    bool separator = false;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
  };
  struct DialogState {
    FileDialogSettings settings;
    std::string fileName;
  };

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void LayOut();
  void ApplyFonts();
  /// A frame's caption made to fit its frame (main_window.cpp).
  void FitFrameCaption(MainControl control);
  HFONT FontFor(const LOGFONTW& font);
  void RebuildMenuBar();
  /// The popup of a menu's items (an item with items of its own opens
  /// another), or null when the menu has none.
  HMENU BuildPopup(MainMenu menu) const;
  void OnCommand(WORD id, WORD notification);
  /// A menu item chosen (the map's apart: kMapCommand).
  void OnMenu(MainMenu menu);
  /// Return: clicks the command that has the focus, if any.
  void PressFocusedCommand();
  /// Alt+F4 on the window or a control: the window rules decide (while a
  /// run goes on, the cancel question). True when the message was one.
  bool TakeCloseKey(const MSG& message);
  /// A plain window, unlike a dialog, keeps no focus of its controls when it
  /// is left: the control that had it (`focus`, when one of ours) gets it
  /// back, or the first control that takes it when that one is gone.
  void ReturnFocus(HWND focus);
  void OnDropFiles(HDROP drop);
  MainControl ControlAt(POINT clientPoint) const;
  int Pixels(int twips) const;
  // The map window (main_window_map.cpp).
  void AppendMapItem(HMENU file) const;
  bool IsMapShortcut(const MSG& message) const;
  /// Converts the map's edited points in place of the input file.
  void ConvertEditedPoints();
  void InputPathChanged();

  std::map<MainControl, HWND> controls_;
  std::map<MainControl, FontSpec> fonts_;
  std::map<MainMenu, MenuState> menus_;
  std::map<PathKind, DialogState> dialogs_;
  std::map<std::string, HFONT> fontCache_;
  Win32Seams seams_;
  HWND hwnd_ = nullptr;
  HMENU menuBar_ = nullptr;
  HBRUSH pathBoxBrush_ = nullptr;
  /// The control that had the focus when the window was last left.
  HWND focusWhenLeft_ = nullptr;
  int dpi_ = 96;
  FileSystem& files_;
  Clock& clock_;
  std::unique_ptr<MainPresenter> presenter_;
  std::unique_ptr<Win32MapWindow> map_;
};

/// Registers the window classes; once per process, before the first window.
void RegisterVelorinWindowClass();

}  // namespace velorin
