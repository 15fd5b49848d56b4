#pragma once
// Window geometry is written in twips (1/1440 inch); the screen wants pixels.
#include <QRect>

#include "window/main_layout.h"

namespace velorin {

/// A rectangle given in twips, converted with the horizontal and vertical DPI.
inline QRect TwipsRect(int left, int top, int width, int height, int dpiX, int dpiY) {
  return QRect(TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY), TwipsToPixels(width, dpiX),
               TwipsToPixels(height, dpiY));
}

}  // namespace velorin
