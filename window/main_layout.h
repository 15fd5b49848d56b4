#pragma once
// The main window's geometry in twips (1/1440 inch), and twips in pixels.
#include <cmath>
#include <span>

#include "window/main_view.h"

namespace velorin {

/// Client area below the menu bar, in twips.
inline constexpr int kMainClientWidthTwips = 4740;
inline constexpr int kMainClientHeightTwips = 2310;

/// A control's place within its container's client area, in twips.
struct TwipsPlacement {
  MainControl control;
  MainControl container;  ///< kWindow for the client area
  int left, top, width, height;
};

/// Every placed control of the main window, containers before their contents.
std::span<const TwipsPlacement> MainWindowLayout();

/// Pixels for a length in twips at `dotsPerInch` (15 twips are one pixel at 96).
inline int TwipsToPixels(int twips, int dotsPerInch) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / 1440.0));
}

}  // namespace velorin
