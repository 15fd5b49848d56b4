#include "map/map_window_place.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velorin {
namespace {

std::int64_t Overlap(const ScreenRect& a, const ScreenRect& b) {
  const std::int64_t across = std::max(0, std::min(a.Right(), b.Right()) - std::max(a.x, b.x));
  const std::int64_t down = std::max(0, std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y));
  return across * down;
}

}  // namespace

ScreenRect KeepOnScreen(const ScreenRect& place, const ScreenRect& screen) {
  ScreenRect kept = place;
  kept.width = std::clamp(place.width, 1, std::max(1, screen.width));
  kept.height = std::clamp(place.height, 1, std::max(1, screen.height));
  kept.x = std::clamp(place.x, screen.x, screen.Right() - kept.width);
  kept.y = std::clamp(place.y, screen.y, screen.Bottom() - kept.height);
  return kept;
}

ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& screen) {
  const int w = std::clamp(width, 1, std::max(1, screen.width));
  const int h = std::clamp(height, 1, std::max(1, screen.height));
  // Right, left, below, above, each pulled onto the screen; in that order of
  // preference when they cover the main window alike.
  const std::array<ScreenRect, 4> sides = {ScreenRect{main.Right() + kSideWindowGap, main.y, w, h},
                                           ScreenRect{main.x - kSideWindowGap - w, main.y, w, h},
                                           ScreenRect{main.x, main.Bottom() + kSideWindowGap, w, h},
                                           ScreenRect{main.x, main.y - kSideWindowGap - h, w, h}};
  ScreenRect best = KeepOnScreen(sides[0], screen);
  for (const ScreenRect& side : sides) {
    const ScreenRect onScreen = KeepOnScreen(side, screen);
    if (Overlap(onScreen, main) < Overlap(best, main)) best = onScreen;
  }
  return best;
}

}  // namespace velorin
