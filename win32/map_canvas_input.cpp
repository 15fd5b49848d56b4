// What the Win32 map canvas does with the mouse, the wheel and the keys, as
// map/map_input.h decides; the tip of what the mouse hovers.
#include "win32/map_canvas.h"

// <windows.h> comes in through map_canvas.h; the mouse's coordinates need
// this.
#include <windowsx.h>

#include "map/point_texts.h"
#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

// The tip sits this far below and right of the mouse.
constexpr int kTipOffset = 16;

PixelPoint PointOf(LPARAM lParam) {
  return {static_cast<double>(GET_X_LPARAM(lParam)), static_cast<double>(GET_Y_LPARAM(lParam))};
}

InputModifiers ModifiersOf(WPARAM wParam) {
  return {(wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0};
}

std::optional<MapKey> KeyOfVirtualKey(WPARAM key) {
  switch (key) {
    case VK_LEFT:
      return MapKey::kLeft;
    case VK_RIGHT:
      return MapKey::kRight;
    case VK_UP:
      return MapKey::kUp;
    case VK_DOWN:
      return MapKey::kDown;
    case VK_HOME:
      return MapKey::kFit;
    default:
      return std::nullopt;
  }
}

// "+" and "-" come as characters, whichever key gives them on this layout.
std::optional<MapKey> KeyOfCharacter(WPARAM character) {
  switch (character) {
    case L'+':
    case L'=':
      return MapKey::kZoomIn;
    case L'-':
      return MapKey::kZoomOut;
    case L'0':
      return MapKey::kFit;
    default:
      return std::nullopt;
  }
}

}  // namespace

LRESULT Win32MapCanvas::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers every pixel
    case WM_TIMER:
      // The land is ready, or soon will be.
      KillTimer(hwnd_, wParam);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_SIZE:
      Resized(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
    case WM_CHAR: {
      const std::optional<MapKey> key =
          message == WM_KEYDOWN ? KeyOfVirtualKey(wParam) : KeyOfCharacter(wParam);
      if (!key) break;
      Step(*key);
      return 0;
    }
    default:
      if (Mouse(message, wParam, lParam)) return 0;
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Win32MapCanvas::Mouse(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(hwnd_, &at);
      const int steps = wheel_.Add(GET_WHEEL_DELTA_WPARAM(wParam));
      if (steps != 0) ZoomAt(steps, {static_cast<double>(at.x), static_cast<double>(at.y)});
      return true;
    }
    case WM_LBUTTONDOWN:
      Pressed(PointOf(lParam), ModifiersOf(wParam));
      return true;
    case WM_MOUSEMOVE:
      if (pointer_.drag() == PointerDrag::kNone || (wParam & MK_LBUTTON) == 0) {
        Hover(PointOf(lParam));
      } else {
        Moved(PointOf(lParam));
      }
      return true;
    case WM_LBUTTONUP:
      Released(PointOf(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      ZoomAt(1, PointOf(lParam));
      return true;
    case WM_RBUTTONDOWN:
      // The map a shortcut menu is asked of has the focus, as after a click.
      ::SetFocus(hwnd_);
      return false;  // the system makes WM_CONTEXTMENU of the button's release
    case WM_CONTEXTMENU:
      MenuAsked(lParam);
      return true;
    case WM_MOUSELEAVE:
      tracking_ = false;
      tip_->Hide();
      return true;
    default:
      return false;
  }
}

void Win32MapCanvas::Step(MapKey key) {
  const ViewStep step = StepOfKey(key, bufferWidth_, bufferHeight_);
  switch (step.kind) {
    case ViewStep::Kind::kZoom:
      ZoomBy(step.zoomSteps);
      break;
    case ViewStep::Kind::kPan:
      PanBy(step.dx, step.dy);
      break;
    case ViewStep::Kind::kFit:
      Fit();
      break;
  }
}

std::optional<std::uint32_t> Win32MapCanvas::ItemAt(PixelPoint at) const {
  if (!data_) return std::nullopt;
  return data_->editor->ItemAt(view_, at, kPointReach);
}

const MapCluster* Win32MapCanvas::CircleAt(PixelPoint at) {
  if (buffer_ == nullptr) return nullptr;
  const HGDIOBJ old = SelectObject(buffer_, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  const ClusterMarkSize size = Win32MapPainter::MarkSizeIn(buffer_);
  SelectObject(buffer_, old);
  return CountedCircleAt(Clusters(), at, size);
}

void Win32MapCanvas::Pressed(PixelPoint at, InputModifiers modifiers) {
  ::SetFocus(hwnd_);
  SetCapture(hwnd_);
  tip_->Hide();
  bool onChosen = false;
  if (modifiers.None() && data_) {
    const std::optional<std::uint32_t> item = ItemAt(at);
    onChosen = item && data_->editor->selection().Has(*item);
  }
  pointer_.Press(at, modifiers, onChosen);
}

void Win32MapCanvas::Moved(PixelPoint at) {
  const MapPointer::Moved moved = pointer_.Move(at);
  if (moved.panX != 0.0 || moved.panY != 0.0) PanBy(moved.panX, moved.panY);
  if (moved.redraw) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32MapCanvas::Released(PixelPoint at) {
  if (GetCapture() == hwnd_) ReleaseCapture();
  using K = MapPointer::Released::Kind;
  const MapPointer::Released released = pointer_.Release(at);
  switch (released.kind) {
    case K::kClick:
      return Clicked(at, released.modifiers);
    case K::kRectangle:
      if (data_ && listener_.rectangle)
        listener_.rectangle(data_->editor->ItemsIn(view_, released.from, released.to),
                            released.modifiers);
      break;
    case K::kMove:
      if (listener_.chosenDragged)
        listener_.chosenDragged(released.to.x - released.from.x, released.to.y - released.from.y);
      break;
    case K::kPan:
    case K::kNone:
      break;
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32MapCanvas::Clicked(PixelPoint at, InputModifiers modifiers) {
  if (const MapCluster* circle = CircleAt(at)) {
    SetView(ZoomedToCluster(view_, *circle));
  } else if (const std::optional<std::uint32_t> item = ItemAt(at)) {
    if (listener_.itemClicked) listener_.itemClicked(*item, modifiers);
  } else if (listener_.emptyClicked) {
    listener_.emptyClicked(modifiers);
  }
}

void Win32MapCanvas::MenuAsked(LPARAM lParam) {
  if (!data_ || !listener_.menuAsked) return;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  POINT at = screen;
  if (screen.x == -1 && screen.y == -1) {
    // Shift+F10 or the menu key: the middle of the map.
    at = {bufferWidth_ / 2, bufferHeight_ / 2};
    screen = at;
    ClientToScreen(hwnd_, &screen);
  } else {
    ScreenToClient(hwnd_, &at);
  }
  tip_->Hide();
  listener_.menuAsked(view_.ToLonLat({static_cast<double>(at.x), static_cast<double>(at.y)}),
                      screen);
}

void Win32MapCanvas::Hover(PixelPoint at) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  std::string tip;
  if (const MapCluster* circle = CircleAt(at)) {
    tip = ClusterText(words_, circle->count);
  } else if (const std::optional<std::uint32_t> item = ItemAt(at)) {
    tip = HoverText(words_, data_->editor->points(), *item);
  }
  POINT screen{static_cast<LONG>(at.x) + kTipOffset, static_cast<LONG>(at.y) + kTipOffset};
  ClientToScreen(hwnd_, &screen);
  tip_->Show(tip, screen);
}

}  // namespace velorin
