#pragma once
// Window geometry is written in twips (1/1440 inch); the screen wants pixels.
#include <QRect>
#include <cmath>

namespace velorin {

/// Pixels for a length in twips at `dotsPerInch` (15 twips are one pixel at 96).
inline int TwipsToPixels(int twips, int dotsPerInch) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / 1440.0));
}

/// A rectangle given in twips, converted with the horizontal and vertical DPI.
inline QRect TwipsRect(int left, int top, int width, int height, int dpiX, int dpiY) {
  return QRect(TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY), TwipsToPixels(width, dpiX),
               TwipsToPixels(height, dpiY));
}

}  // namespace velorin
