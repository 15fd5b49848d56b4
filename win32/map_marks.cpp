#include "win32/map_marks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velorin {
namespace {

constexpr double kRimWidth = 1.5;

int Quarters(double pixels) { return static_cast<int>(std::lround(pixels * 4)); }

double Coverage(double inside) { return std::clamp(inside, 0.0, 1.0); }

// A premultiplied pixel of `colour` at `alpha` (0 to 1).
std::uint32_t Premultiplied(MapColour colour, double alpha) {
  const auto channel = [alpha](int value) {
    return static_cast<std::uint32_t>(std::lround(value * alpha));
  };
  return (channel(255) << 24) | (channel(colour.red) << 16) | (channel(colour.green) << 8) |
         channel(colour.blue);
}

// A pixel of a disc: its fill, under the rim (white) over its edge.
std::uint32_t DiscPixel(double distance, double radius, MapColour fill, int alpha) {
  const double filled = Coverage(radius - distance + 0.5) * alpha / 255.0;
  const double rim = Coverage(kRimWidth / 2 + 0.5 - std::abs(distance - radius));
  const double total = rim + (1 - rim) * filled;
  if (total <= 0) return 0;
  const auto mix = [&](int fillChannel) {
    return (rim * 255 + (1 - rim) * filled * fillChannel) / total;
  };
  const MapColour mixed{static_cast<std::uint8_t>(std::lround(mix(fill.red))),
                        static_cast<std::uint8_t>(std::lround(mix(fill.green))),
                        static_cast<std::uint8_t>(std::lround(mix(fill.blue)))};
  return Premultiplied(mixed, total);
}

}  // namespace

MarkPictures::MarkPictures() : scratch_(CreateCompatibleDC(nullptr)) {}

MarkPictures::~MarkPictures() {
  for (const auto& [key, picture] : pictures_) DeleteObject(picture.bitmap);
  DeleteDC(scratch_);
}

const MarkPictures::Picture& MarkPictures::Make(const Key& key, double radius, double width,
                                                MapColour colour, int alpha) {
  const auto found = pictures_.find(key);
  if (found != pictures_.end()) return found->second;
  const bool ring = std::get<0>(key) == 1;
  const double reach = radius + (ring ? width : kRimWidth);
  const int side = static_cast<int>(std::ceil(2 * reach)) + 2;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Picture picture{CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), side};
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const double centre = side / 2.0;
  for (int y = 0; pixels != nullptr && y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
      pixels[y * side + x] =
          ring ? Premultiplied(colour, Coverage(width / 2 + 0.5 - std::abs(distance - radius)))
               : DiscPixel(distance, radius, colour, alpha);
    }
  }
  return pictures_.emplace(key, picture).first->second;
}

void MarkPictures::Blend(HDC target, const Picture& picture, double x, double y) {
  if (picture.bitmap == nullptr) return;
  const HGDIOBJ old = SelectObject(scratch_, picture.bitmap);
  const double half = picture.side / 2.0;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(target, static_cast<int>(std::lround(x - half)),
             static_cast<int>(std::lround(y - half)), picture.side, picture.side, scratch_, 0, 0,
             picture.side, picture.side, blend);
  SelectObject(scratch_, old);
}

void MarkPictures::Disc(HDC target, double x, double y, double radius, MapColour fill, int alpha) {
  const Key key{0, Quarters(radius), 0, fill.red << 16 | fill.green << 8 | fill.blue, alpha};
  Blend(target, Make(key, Quarters(radius) / 4.0, 0, fill, alpha), x, y);
}

void MarkPictures::Ring(HDC target, double x, double y, double radius, double width,
                        MapColour colour) {
  const Key key{1, Quarters(radius), Quarters(width),
                colour.red << 16 | colour.green << 8 | colour.blue, 255};
  Blend(target, Make(key, Quarters(radius) / 4.0, width, colour, 255), x, y);
}

}  // namespace velorin
