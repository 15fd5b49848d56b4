#pragma once
// Where the map window goes: beside the main window within the screen's
// available area, on the side where it fits whole, or where it covers the
// main window least when no side is wide enough; a place the user left it in
// before is taken again, moved back onto the screen if it no longer is.
// Rectangles are the windows' outer frames in screen pixels.
#include <optional>

namespace velorin {

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

/// Pixels left between the two windows when there is room.
inline constexpr int kSideWindowGap = 8;

/// The place for a window of `width` x `height` beside `main` within
/// `screen`: right of it, left of it, below or above (the first of these
/// that covers the main window least), kSideWindowGap apart where the room
/// allows; shrunk to the screen when larger.
ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& screen);

/// `place` moved (and shrunk) as little as needed to lie wholly on `screen`.
ScreenRect KeepOnScreen(const ScreenRect& place, const ScreenRect& screen);

}  // namespace velorin
