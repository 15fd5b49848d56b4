#include "win32/map_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "map/land_shapes.h"
#include "map/tile_settings.h"
#include "platform/file_system.h"
#include "platform/wide_text_win32.h"
#include "window/run_settings.h"

namespace velorin {
namespace {

constexpr wchar_t kMapWindowClass[] = L"VelorinMapWindow";
// The client area at first, at 96 dots per inch (the Qt window's size).
constexpr int kFirstWidth = 1000;
constexpr int kFirstHeight = 640;
constexpr int kMargin = 4;
constexpr int kGap = 4;

HFONT MessageFont(const MapMessages& words, const StartupTables& tables, int dpi, int weight) {
  float points = 0.0F;
  if (!ParseFontSize(tables.messageTable[kFontSizeMessage], points) || points <= 0.0F)
    points = 9.0F;
  return CreateFontW(-static_cast<int>(std::lround(points * static_cast<float>(dpi) / 72.0F)), 0, 0,
                     0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                     Widen(words.Text(kFontNameMessage)).c_str());
}

/// What the settings say of a reading: the untitled rule, the input's
/// datum, the OpenStreetMap objects kept.
MapReadOptions ReadSettings(const std::vector<std::string>& settings) {
  const RunOptions run = RunOptionsFromSettings(settings).run;
  MapReadOptions options;
  options.untitled = run.untitled;
  options.inputDatum = run.inputDatum;
  options.osm = run.osm;
  return options;
}

}  // namespace

void Win32MapWindow::RegisterClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMapWindowClass;
  RegisterClassExW(&windowClass);
  registered = true;
}

Win32MapWindow::Win32MapWindow(const StartupTables& tables, const FileLocations& locations,
                               HWND owner, FileSystem& files, Win32Seams seams, Clock& clock)
    : tables_(tables),
      words_(tables.messageTable, tables.Japanese()),
      files_(files),
      seams_(std::move(seams)),
      dataFolder_(locations.dataFolder),
      settingsPath_(locations.mapSettingsPath),
      tileCacheFolder_(locations.tileCacheFolder),
      owner_(owner),
      saveView_(nullptr, words_, seams_),
      saver_(saveView_, tables_.systemSettings, files_, clock),
      loader_(files_),
      presenter_(*this, words_, files_, settingsPath_, ReadSettings(tables_.systemSettings)) {
  RegisterClass();
  hwnd_ =
      CreateWindowExW(0, kMapWindowClass, Widen(words_.Text(kMapCaptionMessage)).c_str(),
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                      kFirstWidth, kFirstHeight, owner, nullptr, GetModuleHandleW(nullptr), this);
  saveView_.SetOwner(hwnd_);
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  tiles_ = std::make_unique<Win32TileLoader>(TileServerFromSettings(files_, settingsPath_),
                                             tileCacheFolder_, hwnd_);
  CreateControls();
  BuildMenu();
  ApplyFont();
  RECT outer{0, 0, Pixels(kFirstWidth), Pixels(kFirstHeight)};
  AdjustWindowRectExForDpi(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  presenter_.UpdateStatus();
}

Win32MapWindow::~Win32MapWindow() {
  loader_.Stop();
  if (hwnd_ != nullptr) {
    if (open_) RememberPlace();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  canvas_.reset();
  // The tiles' threads may still post: to no window once it is gone.
  tiles_.reset();
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
  if (bold_ != nullptr) DeleteObject(bold_);
}

void Win32MapWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto make = [&](const wchar_t* kind, const std::wstring& text, DWORD style, WORD id) {
    CreateWindowExW(0, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  canvas_ = std::make_unique<Win32MapCanvas>(hwnd_, kMapCanvas, SharedLandMap(files_, dataFolder_),
                                             tiles_.get(), words_);
  make(L"BUTTON", L"+", WS_TABSTOP | BS_PUSHBUTTON, kMapZoomIn);
  make(L"BUTTON", L"\u2212", WS_TABSTOP | BS_PUSHBUTTON, kMapZoomOut);
  make(L"BUTTON", Widen(words_.Text(kFitMessage)), WS_TABSTOP | BS_PUSHBUTTON, kMapFit);
  make(L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kMapCount);
  // The buttons' names, shown when the mouse rests on them.
  const HWND tips =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                      hwnd_, nullptr, instance, nullptr);
  for (const auto& [id, message] :
       {std::pair{kMapZoomIn, kZoomInMessage}, std::pair{kMapZoomOut, kZoomOutMessage}}) {
    std::wstring text = Widen(words_.Text(message));
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(ControlHandle(id));
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  CreateSidePanel();
  ConnectMap();
}

void Win32MapWindow::BuildMenu() {
  const auto item = [this](HMENU menu, WORD id, int message, const wchar_t* keys) {
    const std::wstring text = Widen(words_.Text(message)) + keys;
    AppendMenuW(menu, MF_STRING, id, text.c_str());
  };
  const HMENU file = CreatePopupMenu();
  item(file, kMapSaveCommand, kSaveMessage, L"\tCtrl+S");
  item(file, kMapSaveAsCommand, kSaveAsMessage, L"\tCtrl+Shift+S");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING | (presenter_.RoutesAndTracks() ? MF_CHECKED : 0U), kMapRoutesCommand,
              Widen(words_.Text(kRoutesAndTracksMessage)).c_str());
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kMapCloseCommand, Widen(words_.Text(kCloseMessage)).c_str());
  const HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file),
              Widen(words_.Text(kFileMenuMessage)).c_str());
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(BuildEditMenu()),
              Widen(words_.Text(kEditMenuMessage)).c_str());
  const HMENU old = GetMenu(hwnd_);
  SetMenu(hwnd_, bar);
  if (old != nullptr) DestroyMenu(old);
}

HMENU Win32MapWindow::BuildEditMenu() const {
  const HMENU edit = CreatePopupMenu();
  const auto item = [&](WORD id, int message, const wchar_t* keys) {
    const std::wstring text = Widen(words_.Text(message)) + keys;
    AppendMenuW(edit, MF_STRING, id, text.c_str());
  };
  item(kMapUndoCommand, kUndoMessage, L"\tCtrl+Z");
  item(kMapRedoCommand, kRedoMessage, L"\tCtrl+Y");
  AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  item(kMapDeleteCommand, kDeleteMessage, L"\tDel");
  item(kMapRenameCommand, kRenameMessage, L"\tF2");
  item(kMapMoveToCommand, kMoveToMessage, L"");
  item(kMapAddCommand, kAddPointMessage, L"");
  AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  item(kMapSelectAllCommand, kSelectAllMessage, L"\tCtrl+A");
  item(kMapFindCommand, kFindMessage, L"\tCtrl+F");
  return edit;
}

void Win32MapWindow::ApplyFont() {
  const HFONT old = font_;
  const HFONT oldBold = bold_;
  font_ = MessageFont(words_, tables_, dpi_, FW_NORMAL);
  bold_ = MessageFont(words_, tables_, dpi_, FW_BOLD);
  for (const MapControlId id :
       {kMapZoomIn, kMapZoomOut, kMapFit, kMapCount, kMapFind, kMapCheck, kMapDetails, kMapReport})
    SendMessageW(ControlHandle(id), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  canvas_->SetFont(font_);
  list_->SetFont(font_, bold_);
  if (old != nullptr) DeleteObject(old);
  if (oldBold != nullptr) DeleteObject(oldBold);
}

void Win32MapWindow::LayOut() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const HDC dc = GetDC(hwnd_);
  const HGDIOBJ old = SelectObject(dc, font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const std::wstring fit = Widen(words_.Text(kFitMessage));
  SIZE fitSize{};
  GetTextExtentPoint32W(dc, fit.c_str(), static_cast<int>(fit.size()), &fitSize);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  // A row of buttons, then the map; the side panel's room on the right.
  const int margin = Pixels(kMargin);
  const int row = metrics.tmHeight + Pixels(10);
  const int square = std::max(row, Pixels(28));
  int left = margin;
  const auto place = [&](MapControlId id, int width) {
    MoveWindow(ControlHandle(id), left, margin, width, row, TRUE);
    left += width + Pixels(kGap);
  };
  place(kMapZoomIn, square);
  place(kMapZoomOut, square);
  place(kMapFit, fitSize.cx + Pixels(20));
  left += Pixels(8);
  place(kMapCount, std::max(0, static_cast<int>(client.right) - left - margin));
  int top = margin + row + Pixels(kGap);
  // The save's report below the buttons, while there is one.
  const int reportLines = IsWindowVisible(ControlHandle(kMapReport)) ? 3 : 0;
  MoveWindow(ControlHandle(kMapReport), margin, top, client.right - 2 * margin,
             reportLines * metrics.tmHeight, TRUE);
  top += reportLines * metrics.tmHeight + (reportLines > 0 ? Pixels(kGap) : 0);
  // The map and the list share the width, the map more (as 3 to 2).
  const int inner = std::max(2, static_cast<int>(client.right) - 2 * margin - Pixels(kGap));
  sidePanelWidth_ = inner * 2 / 5 + Pixels(kGap);
  const int width = std::max(1, static_cast<int>(client.right) - 2 * margin - sidePanelWidth_);
  const int height = std::max(1, static_cast<int>(client.bottom) - top - margin);
  MoveWindow(canvas_->Handle(), margin, top, width, height, TRUE);
  LayOutSidePanel(margin + width + Pixels(kGap), top, sidePanelWidth_ - Pixels(kGap), height,
                  metrics.tmHeight);
}

LRESULT CALLBACK Win32MapWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<Win32MapWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr || window->canvas_ == nullptr)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    window->hwnd_ = nullptr;  // gone with its owner
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->Handle(message, wParam, lParam);
}

LRESULT Win32MapWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> handled = PanelMessage(message, wParam, lParam)) return *handled;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {Pixels(320), Pixels(240)};
      return 0;
    }
    case WM_MOUSEWHEEL:
      // The map zooms wherever the focus is.
      return SendMessageW(canvas_->Handle(), message, wParam, lParam);
    case WM_TIMER:
      if (wParam == Win32TileLoader::kTileTimer) tiles_->Wake();
      return 0;
    case Win32TileLoader::kTilesMessage:
      if (tiles_->TakeFinished()) InvalidateRect(canvas_->Handle(), nullptr, FALSE);
      return 0;
    case kLoadedMessage:
      Loaded();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyFont();
      LayOut();
      return 0;
    }
    case WM_CLOSE:
      if (MayLetEditsGo()) Hide();
      return 0;
    case WM_DESTROY:
      // Going with the main window (which hides it first): where it was is
      // kept all the same.
      if (open_) RememberPlace();
      open_ = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32MapWindow::OnCommand(WORD id) {
  switch (id) {
    case kMapZoomIn:
      return canvas_->ZoomBy(1);
    case kMapZoomOut:
      return canvas_->ZoomBy(-1);
    case kMapFit:
      return canvas_->Fit();
    case kMapRoutesCommand:
      return ShowRoutesAndTracks(!presenter_.RoutesAndTracks());
    case kMapCloseCommand:
    case IDCANCEL:  // Escape
      if (MayLetEditsGo()) Hide();
      return;
    case kMapSaveCommand:
      return presenter_.Save();
    case kMapSaveAsCommand:
      return presenter_.SaveAs();
    default:
      return EditCommand(id);
  }
}

bool Win32MapWindow::PreTranslate(MSG& message) {
  if (hwnd_ == nullptr || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  // The box renaming a row takes its own keys (Return, Escape).
  if (const HWND renaming = ListView_GetEditControl(list_->Handle());
      renaming != nullptr && message.hwnd == renaming)
    return false;
  if (FindBoxKey(message)) return true;
  if (const WORD command = ShortcutOf(message); command != 0) {
    OnCommand(command);
    return true;
  }
  return IsDialogMessageW(hwnd_, &message) != FALSE;
}

}  // namespace velorin
