// The Win32 map window's side panel and keys: the find box, the list of
// points, what a title being typed will become and the chosen point's
// details; the map's and the list's news wired to the window; the menus'
// keys, and Return and Escape in the find box.
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"

namespace velorin {
namespace {

constexpr int kGap = 4;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

/// The keys held as the map window's rules tell them.
ClickKeys KeysOf(InputModifiers modifiers) {
  ClickKeys keys;
  keys.control = modifiers.control;
  keys.shift = modifiers.shift;
  return keys;
}

bool IsEditBox(HWND window) {
  wchar_t kind[16] = {};
  GetClassNameW(window, kind, 16);
  return _wcsicmp(kind, L"Edit") == 0;
}

}  // namespace

void Win32MapWindow::CreateSidePanel() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto make = [&](const wchar_t* kind, DWORD style, DWORD extended, WORD id) {
    return CreateWindowExW(extended, kind, L"", WS_CHILD | style, 0, 0, 10, 10, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  const HWND find =
      make(L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kMapFind);
  SendMessageW(find, EM_SETLIMITTEXT, kFindCharacters, 0);
  // What the box is for, while it is empty.
  std::wstring hint = Widen(words_.Text(kFindMessage));
  if (const std::size_t bracket = hint.find(L"(&"); bracket != std::wstring::npos)
    hint.erase(bracket, 4);
  std::erase(hint, L'&');
  SendMessageW(find, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(hint.c_str()));
  list_ = std::make_unique<Win32PointList>(hwnd_, kMapList, words_);
  make(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, kMapCheck);
  make(L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, kMapDetails);
  make(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, kMapReport);
  ConnectList();
}

void Win32MapWindow::LayOutSidePanel(int left, int top, int width, int height, int line) {
  const int row = line + Pixels(8);
  MoveWindow(ControlHandle(kMapFind), left, top, width, row, TRUE);
  // The title check while renaming, the details of the point chosen below.
  const int check = IsWindowVisible(ControlHandle(kMapCheck)) ? 3 * line : 0;
  const int details = std::max(Pixels(120), 6 * line);
  const int listTop = top + row + Pixels(kGap);
  const int listHeight = std::max(line, top + height - listTop - check - details - Pixels(kGap));
  // Drawn anew, not copied: the find box, moved first, may lie over where
  // the list was, and its copied pixels would stay in the list's first rows
  // (seen when the save's report pushes the panel down).
  SetWindowPos(list_->Handle(), nullptr, left, listTop, width, listHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  list_->SizeColumns(width, dpi_);
  MoveWindow(ControlHandle(kMapCheck), left, listTop + listHeight, width, check, TRUE);
  MoveWindow(ControlHandle(kMapDetails), left, listTop + listHeight + check + Pixels(kGap), width,
             details, TRUE);
}

void Win32MapWindow::ConnectMap() {
  MapCanvasListener listener;
  listener.itemClicked = [this](std::uint32_t item, InputModifiers modifiers) {
    presenter_.ItemClicked(item, KeysOf(modifiers));
  };
  listener.emptyClicked = [this](InputModifiers modifiers) {
    presenter_.EmptyClicked(KeysOf(modifiers));
  };
  listener.rectangle = [this](std::vector<std::uint32_t> items, InputModifiers modifiers) {
    presenter_.RectangleChosen(items, KeysOf(modifiers));
  };
  listener.chosenDragged = [this](double dx, double dy) {
    presenter_.DragChosen(canvas_->View(), dx, dy);
  };
  listener.menuAsked = [this](LonLat at, POINT screen) { OfferAddHere(at, screen); };
  canvas_->SetListener(std::move(listener));
}

void Win32MapWindow::ConnectList() {
  PointListListener listener;
  listener.orderChosen = [this](ListOrder order) { presenter_.SetOrder(order); };
  listener.titleTyped = [this](const std::string& typed) { ShowTitleCheck(typed); };
  listener.renameEnded = [this](std::uint32_t item, std::optional<std::string> title) {
    RenameEnded(item, title);
  };
  list_->SetListener(std::move(listener));
}

std::optional<LRESULT> Win32MapWindow::PanelMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) != kMapFind || HIWORD(wParam) != EN_CHANGE) return std::nullopt;
      presenter_.FindTyped(Narrow(WindowText(ControlHandle(kMapFind))).value_or(std::string()));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != list_->Handle()) return std::nullopt;
      return list_->Notify(*header);
    }
    case kListChoiceMessage:
      ListChoiceChanged();
      return 0;
    default:
      return std::nullopt;
  }
}

void Win32MapWindow::ListChoiceChanged() {
  // The rows lit now are the choice: every other row is let go.
  const std::vector<RowRange> lit = list_->ChosenRanges();
  std::vector<RowRange> dark;
  std::size_t next = 0;
  for (const RowRange& range : lit) {
    if (range.first > next) dark.push_back({next, range.first - 1});
    next = range.last + 1;
  }
  if (next < list_->RowCount()) dark.push_back({next, list_->RowCount() - 1});
  presenter_.ListChoiceChanged(lit, dark);
}

WORD Win32MapWindow::ShortcutOf(const MSG& message) const {
  if (message.message != WM_KEYDOWN || Down(VK_MENU)) return 0;
  const bool control = Down(VK_CONTROL);
  const bool shift = Down(VK_SHIFT);
  // In the find box, its own keys: Delete, Ctrl+A, Ctrl+Z edit the text.
  const bool inBox = IsEditBox(message.hwnd);
  switch (message.wParam) {
    case 'S':
      return control ? (shift ? kMapSaveAsCommand : kMapSaveCommand) : 0;
    case 'Z':
      return control && !inBox ? (shift ? kMapRedoCommand : kMapUndoCommand) : 0;
    case 'Y':
      return control && !inBox ? kMapRedoCommand : 0;
    case 'A':
      return control && !inBox ? kMapSelectAllCommand : 0;
    case 'F':
      return control ? kMapFindCommand : 0;
    case VK_DELETE:
      return !control && !shift && !inBox ? kMapDeleteCommand : 0;
    case VK_F2:
      return !control && !shift && !inBox ? kMapRenameCommand : 0;
    default:
      return 0;
  }
}

bool Win32MapWindow::FindBoxKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.hwnd != ControlHandle(kMapFind)) return false;
  if (message.wParam == VK_RETURN) {
    presenter_.FindConfirmed();
    return true;
  }
  // Escape empties the box first; then the window goes.
  if (message.wParam == VK_ESCAPE && GetWindowTextLengthW(message.hwnd) > 0) {
    SetWindowTextW(message.hwnd, L"");
    return true;
  }
  return false;
}

}  // namespace velorin
