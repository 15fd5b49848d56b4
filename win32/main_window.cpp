#include "win32/main_window.h"

// <windows.h> comes in through main_window.h; the shell's drop calls need it.
#include <shellapi.h>

#include <cmath>

#include "platform/wide_text_win32.h"
#include "win32/map_window.h"
#include "window/main_layout.h"

namespace velorin {
namespace {

using C = MainControl;

constexpr wchar_t kWindowClass[] = L"VelorinMainWindow";
constexpr WORD kFirstControlId = 100;
constexpr WORD kFirstMenuId = 200;

struct ControlKind {
  MainControl control;
  const wchar_t* windowClass;
  DWORD style;
};

// In tab order: window z-order is keyboard order. Frames are group boxes
// drawn under their contents; labels are static texts.
constexpr DWORD kCommand = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kFrame = BS_GROUPBOX;
constexpr DWORD kPathBox = WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;
constexpr ControlKind kControls[] = {
    {C::kCommand_for_POT, L"BUTTON", kCommand},
    {C::kCommand_for_NVI, L"BUTTON", kCommand},
    {C::kCommand_for_Convert, L"BUTTON", kCommand},
    {C::kCommand_for_Quit, L"BUTTON", kCommand},
    {C::kText_for_POT, L"EDIT", kPathBox},
    {C::kText_for_NVI, L"EDIT", kPathBox},
    {C::kCommand_for_Cancel, L"BUTTON", kCommand},
    {C::kLabel_for_While_Execute1, L"STATIC", SS_LEFT},
    {C::kLabel_for_While_Execute2, L"STATIC", SS_LEFT},
    {C::kFrame_for_POT, L"BUTTON", kFrame},
    {C::kFrame_for_NVI, L"BUTTON", kFrame},
    {C::kFrame_for_While_Execute, L"BUTTON", kFrame},
    {C::kFrame1, L"BUTTON", kFrame},
};

WORD ControlId(MainControl control) {
  return static_cast<WORD>(kFirstControlId + static_cast<int>(control));
}

// The container of a placed control (the window for the top level).
MainControl ContainerOf(MainControl control) {
  for (const TwipsPlacement& p : MainWindowLayout()) {
    if (p.control == control) return p.container;
  }
  return C::kWindow;
}

}  // namespace

void RegisterVelorinWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Win32MainWindow::WindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
  registered = true;
}

Win32MainWindow::Win32MainWindow(const StartupTables& tables, FileLocations locations,
                                 Win32Seams seams, FileSystem& files, Clock& clock)
    : seams_(std::move(seams)), files_(files), clock_(clock) {
  RegisterVelorinWindowClass();
  // Minimize and close, but neither maximize nor a sizing border: the size
  // is fixed. Not WS_CLIPCHILDREN: a group box leaves its inside to the
  // window's own background, which would then stay unpainted.
  hwnd_ = CreateWindowExW(
      0, kWindowClass, L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
      CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  CreateControls();
  // Every file dropped anywhere on the window arrives here; the rules decide
  // by the control under the drop point (Frame1 takes drops in every state).
  DragAcceptFiles(hwnd_, TRUE);
  presenter_ = std::make_unique<MainPresenter>(*this, tables, std::move(locations), files, clock);
  presenter_->Load();
  LayOut();
}

Win32MainWindow::~Win32MainWindow() {
  map_.reset();
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  for (auto& [key, font] : fontCache_) DeleteObject(font);
  if (pathBoxBrush_ != nullptr) DeleteObject(pathBoxBrush_);
}

void Win32MainWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ControlKind& kind : kControls) {
    const DWORD exStyle = kind.style == kPathBox ? WS_EX_CLIENTEDGE : 0;
    const HWND control = CreateWindowExW(
        exStyle, kind.windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | kind.style, 0, 0, 10, 10,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(kind.control))), instance,
        nullptr);
    controls_[kind.control] = control;
  }
  controls_[C::kWindow] = hwnd_;
  // Frame1 is only a thin line along the top edge, in every layout.
  ShowWindow(controls_[C::kFrame1], SW_SHOWNA);
}

HWND Win32MainWindow::ControlHandle(MainControl control) const {
  const auto found = controls_.find(control);
  return found == controls_.end() ? nullptr : found->second;
}

WORD Win32MainWindow::MenuCommand(MainMenu menu) {
  return static_cast<WORD>(kFirstMenuId + static_cast<int>(menu));
}

int Win32MainWindow::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

void Win32MainWindow::LayOut() {
  for (const TwipsPlacement& p : MainWindowLayout()) {
    int left = Pixels(p.left);
    int top = Pixels(p.top);
    if (p.container != C::kWindow) {
      for (const TwipsPlacement& outer : MainWindowLayout()) {
        if (outer.control != p.container) continue;
        left += Pixels(outer.left);
        top += Pixels(outer.top);
      }
    }
    SetWindowPos(ControlHandle(p.control), nullptr, left, top, Pixels(p.width), Pixels(p.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The client area in twips, the frame around it from the system at this DPI.
  RECT outer{0, 0, Pixels(kMainClientWidthTwips), Pixels(kMainClientHeightTwips)};
  AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                           menuBar_ != nullptr, 0, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFonts();
}

void Win32MainWindow::ApplyFonts() {
  for (const auto& [control, spec] : fonts_) {
    const std::string key = spec.name + "|" + std::to_string(spec.size) + "|" +
                            (spec.bold ? "b" : "n") + "|" + std::to_string(dpi_);
    HFONT& font = fontCache_[key];
    if (font == nullptr) {
      const float points = spec.size > 0.0F ? spec.size : 9.0F;
      const int height = -static_cast<int>(std::lround(points * static_cast<float>(dpi_) / 72.0F));
      font = CreateFontW(height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         CLEARTYPE_QUALITY, DEFAULT_PITCH, Widen(spec.name).c_str());
    }
    SendMessageW(ControlHandle(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    FitFrameCaption(control);
  }
}

void Win32MainWindow::FitFrameCaption(MainControl control) {
  if (control != C::kFrame_for_POT && control != C::kFrame_for_NVI &&
      control != C::kFrame_for_While_Execute && control != C::kFrame1)
    return;
  // The frames' sizes are fixed: a caption wider than its frame (the input
  // formats) is drawn in its font made as much narrower as it needs, its
  // height kept.
  const HWND frame = ControlHandle(control);
  const auto own = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(frame)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(frame, text.data(), static_cast<int>(text.size()))));
  LOGFONTW font{};
  if (own == nullptr || text.empty() || GetObjectW(own, sizeof font, &font) == 0) return;
  RECT box{};
  GetClientRect(frame, &box);
  // Room for the frame's corners on either side of the caption (the group
  // box clips its caption well before its right edge).
  const int room = box.right - MulDiv(44, dpi_, 96);
  const HDC dc = GetDC(frame);
  const HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
  TEXTMETRICW metrics{};
  const auto width = [&](int characterWidth) {
    font.lfWidth = characterWidth;
    SelectObject(dc, FontFor(font));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    GetTextMetricsW(dc, &metrics);
    return static_cast<int>(size.cx);
  };
  // Narrowed in proportion, then a step at a time while it is still wider
  // (widths are whole pixels: the proportion falls short).
  const int full = width(0);
  int average = full > room && full > 0 ? metrics.tmAveCharWidth * room / full : 0;
  for (int step = 0; average > 1 && step < 8 && width(average) > room; ++step) --average;
  if (average <= 1) width(0);
  SelectObject(dc, old);
  ReleaseDC(frame, dc);
  const HFONT fitted = FontFor(font);
  if (fitted != own) SendMessageW(frame, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), TRUE);
}

HFONT Win32MainWindow::FontFor(const LOGFONTW& font) {
  const std::string key = "frame|" + Narrow(font.lfFaceName).value_or("") + "|" +
                          std::to_string(font.lfHeight) + "|" + std::to_string(font.lfWidth) + "|" +
                          std::to_string(font.lfWeight);
  HFONT& made = fontCache_[key];
  if (made == nullptr) made = CreateFontIndirectW(&font);
  return made;
}

LRESULT CALLBACK Win32MainWindow::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr || window->presenter_ == nullptr)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // The path boxes have the tooltip background.
      if (reinterpret_cast<HWND>(lParam) == ControlHandle(C::kText_for_POT) ||
          reinterpret_cast<HWND>(lParam) == ControlHandle(C::kText_for_NVI)) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
        if (pathBoxBrush_ == nullptr) pathBoxBrush_ = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
        return reinterpret_cast<LRESULT>(pathBoxBrush_);
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) focusWhenLeft_ = focus;
        break;
      }
      if (HIWORD(wParam) != 0) break;  // minimized
      ReturnFocus(focusWhenLeft_);
      return 0;
    case WM_SETFOCUS:
      // The window itself is no place for the keyboard.
      ReturnFocus(focusWhenLeft_);
      return 0;
    case WM_CLOSE:
      // The close guard: refused without a word while a run is active; the
      // map's edits not saved go with the program, asked about first.
      if (presenter_->CanClose() && (!map_ || !map_->Shown() || map_->MayLetEditsGo()))
        DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(controls_[C::kWindow], message, wParam, lParam);
}

void Win32MainWindow::OnMenu(MainMenu menu) {
  MainPresenter& rules = *presenter_;
  switch (menu) {
    case MainMenu::kFileQuit:
      return rules.QuitCommand();
    case MainMenu::kFileNviAddr:
      return rules.NviFieldCommand(NviField::kAddr);
    case MainMenu::kFileNviComm:
      return rules.NviFieldCommand(NviField::kComm);
    case MainMenu::kFileNviHpgl:
      return rules.NviFieldCommand(NviField::kHpgl);
    case MainMenu::kFileNviMail:
      return rules.NviFieldCommand(NviField::kMail);
    case MainMenu::kHelpHelp:
      return rules.HelpCommand();
    case MainMenu::kHelpAbout:
      return rules.AboutCommand();
    case MainMenu::kToolOptionInputDatum:
      rules.InputDatumCommand();
      if (map_) map_->SetInputDatum(rules.InputDatum());
      return;
    case MainMenu::kToolOptionOutputDatum:
      rules.OutputDatumCommand();
      if (map_) map_->SetOutputDatum(rules.OutputDatum());
      return;
    case MainMenu::kToolOptionOsmFuel:
      return rules.OsmTagsCommand(OsmPreset::kFuel);
    case MainMenu::kToolOptionOsmServices:
      return rules.OsmTagsCommand(OsmPreset::kServices);
    case MainMenu::kToolOptionOsmHotSpring:
      return rules.OsmTagsCommand(OsmPreset::kHotSpring);
    case MainMenu::kToolOptionOsmParking:
      return rules.OsmTagsCommand(OsmPreset::kParking);
    default:
      return;
  }
}

void Win32MainWindow::OnCommand(WORD id, WORD notification) {
  MainPresenter& rules = *presenter_;
  // The dialog keys: IsDialogMessageW turns Return into IDOK, which presses
  // the command that has the focus, and Escape into IDCANCEL, which asks to
  // cancel a run that goes on and does nothing otherwise.
  if (id == IDOK) return PressFocusedCommand();
  if (id == IDCANCEL) return rules.KeyCommand(WindowKey::kEscape);
  if (id == kMapCommand) return ShowMap();
  if (id == kConvertEditedCommand) return ConvertEditedPoints();
  const auto control = static_cast<MainControl>(id - kFirstControlId);
  if (id >= kFirstMenuId) return OnMenu(static_cast<MainMenu>(id - kFirstMenuId));
  if (notification == EN_CHANGE) {
    rules.UpdateConvertCommand();
    if (control == C::kText_for_POT) InputPathChanged();
    return;
  }
  if (notification != BN_CLICKED) return;
  switch (control) {
    case C::kCommand_for_POT:
      return rules.InputDialogCommand();
    case C::kCommand_for_NVI:
      return rules.OutputDialogCommand();
    case C::kCommand_for_Convert:
      return rules.ConvertCommand();
    case C::kCommand_for_Cancel:
      return rules.CancelCommand();
    case C::kCommand_for_Quit:
      return rules.QuitCommand();
    default:
      return;
  }
}

void Win32MainWindow::PressFocusedCommand() {
  const HWND focus = ::GetFocus();
  for (const MainControl command :
       {C::kCommand_for_POT, C::kCommand_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit,
        C::kCommand_for_Cancel}) {
    const HWND button = ControlHandle(command);
    if (button != focus) continue;
    if (IsWindowVisible(button) && IsWindowEnabled(button))
      OnCommand(ControlId(command), BN_CLICKED);
    return;
  }
}

void Win32MainWindow::OnDropFiles(HDROP drop) {
  POINT point{};
  DragQueryPoint(drop, &point);
  std::vector<std::string> files;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    std::wstring first(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    first.resize(DragQueryFileW(drop, 0, first.data(), static_cast<UINT>(first.size())));
    // A name that no UTF-8 text could give back fails the drop quietly.
    if (std::optional<std::string> name = Narrow(first)) files.push_back(*name);
  }
  DragFinish(drop);
  presenter_->FilesDropped(ControlAt(point), files);
}

MainControl Win32MainWindow::ControlAt(POINT clientPoint) const {
  // The innermost visible control under the point: contents come after
  // their frames in the layout. Frame1 lies partly above the client area.
  MainControl found = C::kWindow;
  for (const TwipsPlacement& p : MainWindowLayout()) {
    const HWND control = ControlHandle(p.control);
    if (!IsWindowVisible(control)) continue;
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
    if (PtInRect(&rect, clientPoint)) found = p.control;
  }
  return found;
}

bool Win32MainWindow::TakeCloseKey(const MSG& message) {
  if (hwnd_ == nullptr || message.message != WM_SYSKEYDOWN || message.wParam != VK_F4) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  presenter_->KeyCommand(WindowKey::kClose);
  return true;
}

void Win32MainWindow::ReturnFocus(HWND focus) {
  if (hwnd_ == nullptr) return;
  if (focus != nullptr && IsChild(hwnd_, focus)) focusWhenLeft_ = focus;
  HWND target = focusWhenLeft_;
  if (target == nullptr || !IsWindowVisible(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target != nullptr && target != hwnd_) ::SetFocus(target);
}

void Win32MainWindow::Dispatch(MSG& message) {
  if (map_ && map_->PreTranslate(message)) return;
  if (TakeCloseKey(message)) return;
  if (IsMapShortcut(message)) return ShowMap();
  if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// MainView: the controls.

void Win32MainWindow::SetCaption(MainControl control, const std::string& text) {
  SetWindowTextW(ControlHandle(control), Widen(text).c_str());
  FitFrameCaption(control);
}

void Win32MainWindow::SetControlFont(MainControl control, const FontSpec& font) {
  // The window's own font is what its controls start from; the menus keep
  // the system's.
  if (control != C::kWindow) fonts_[control] = font;
  ApplyFonts();
}

void Win32MainWindow::SetVisible(MainControl control, bool visible) {
  // A frame's contents are its siblings here: they go with it.
  for (const auto& [member, handle] : controls_) {
    if (member == control || (member != C::kWindow && ContainerOf(member) == control))
      ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
  }
}

void Win32MainWindow::SetEnabled(MainControl control, bool enabled) {
  EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void Win32MainWindow::SetFocus(MainControl control) {
  // Also where the focus returns to when the window is active again.
  focusWhenLeft_ = ControlHandle(control);
  ::SetFocus(focusWhenLeft_);
}

void Win32MainWindow::SetDropAccepted(MainControl, bool) {
  // WM_DROPFILES reaches the window wherever the drop lands; the rules
  // decide whether the control under it takes the file.
}

std::string Win32MainWindow::PathText(PathKind path) {
  const HWND box = ControlHandle(path == PathKind::kInput ? C::kText_for_POT : C::kText_for_NVI);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return Narrow(text).value_or(std::string());
}

void Win32MainWindow::SetPathText(PathKind path, const std::string& text) {
  const HWND box = ControlHandle(path == PathKind::kInput ? C::kText_for_POT : C::kText_for_NVI);
  SetWindowTextW(box, Widen(text).c_str());
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
}

void Win32MainWindow::RequestClose() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

}  // namespace velorin
