#include "win32/map_painter.h"

#include <algorithm>
#include <cmath>

#include "map/point_marks.h"
#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

COLORREF Gdi(MapColour colour) { return RGB(colour.red, colour.green, colour.blue); }

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void Text(HDC dc, int x, int y, const std::wstring& text, MapColour colour) {
  SetTextColor(dc, Gdi(colour));
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// A title in dark text on a white halo: the text drawn around in white,
// then over it in dark.
void Label(HDC dc, int x, int y, const std::wstring& text) {
  for (const POINT shift : {POINT{-1, 0}, POINT{1, 0}, POINT{0, -1}, POINT{0, 1}})
    Text(dc, x + shift.x, y + shift.y, text, kHaloRgb);
  Text(dc, x, y, text, kTextRgb);
}

}  // namespace

Win32MapPainter::Win32MapPainter(std::shared_ptr<const LandMap> land)
    : land_(std::move(land)), scratch_(CreateCompatibleDC(nullptr)) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  white_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bits != nullptr) *static_cast<std::uint32_t*>(bits) = 0xffffffffU;
}

Win32MapPainter::~Win32MapPainter() {
  DeleteObject(white_);
  DeleteDC(scratch_);
}

ClusterMarkSize Win32MapPainter::MarkSizeIn(HDC dc) {
  return MarkSizeOfDigit(static_cast<double>(TextSize(dc, L"0").cx));
}

bool Win32MapPainter::DrawLand(std::uint32_t* pixels, const MapView& view) {
  if (pixels == nullptr) return true;
  const auto pixel = [](MapColour colour) {
    return 0xff000000U | (static_cast<std::uint32_t>(colour.red) << 16) |
           (static_cast<std::uint32_t>(colour.green) << 8) | colour.blue;
  };
  const std::size_t width = static_cast<std::size_t>(view.width);
  std::fill(pixels, pixels + width * static_cast<std::size_t>(view.height), pixel(kSeaRgb));
  if (!land_.Ready()) return false;
  // GDI's own fill of tens of thousands of corners is slow (under Wine
  // some 30 ms a frame): the rows' runs are filled here instead.
  landFill_.Clear();
  land_.ForEachShape(view, [this](std::span<const PixelPoint> ring) { landFill_.AddRing(ring); });
  const std::uint32_t land = pixel(kLandRgb);
  landFill_.Runs(view.width, view.height, [&](int y, int left, int right) {
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
    std::fill(row + left, row + right, land);
  });
  return true;
}

TilesDrawn Win32MapPainter::DrawTiles(HDC dc, const MapView& view, Win32TileLoader& tiles) {
  if (!tiles.Server().Enabled()) return {};
  SetStretchBltMode(dc, TilesScaled(view) ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  return PlanTiles(
      view, [&](const TileId& tile) { return tiles.Image(tile) != nullptr; },
      [&](const TileId& tile) { return tiles.FailureOf(tile).has_value(); },
      [&](const TileDraw& draw) {
        const TileBitmap& picture = *tiles.Image(draw.picture);
        const int x = static_cast<int>(std::lround(draw.sourceX * picture.width()));
        const int y = static_cast<int>(std::lround(draw.sourceY * picture.height()));
        const int width =
            std::max(1, static_cast<int>(std::lround(draw.sourceSide * picture.width())));
        const int height =
            std::max(1, static_cast<int>(std::lround(draw.sourceSide * picture.height())));
        const HGDIOBJ old = SelectObject(scratch_, picture.bitmap());
        if (picture.opaque()) {
          StretchBlt(dc, draw.left, draw.top, draw.side, draw.side, scratch_, x, y, width, height,
                     SRCCOPY);
        } else {
          const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
          AlphaBlend(dc, draw.left, draw.top, draw.side, draw.side, scratch_, x, y, width, height,
                     blend);
        }
        SelectObject(scratch_, old);
      });
}

void Win32MapPainter::DrawPoints(HDC dc, const MapView& view, const EditedPoints& points,
                                 const std::vector<MapCluster>& clusters, MapColour dot,
                                 bool labels) {
  if (clusters.empty()) return;
  const ClusterMarkSize size = MarkSizeIn(dc);
  SetBkMode(dc, TRANSPARENT);
  for (const MapCluster& cluster : clusters) {
    if (cluster.count == 1) continue;
    marks_.Disc(dc, cluster.screen.x, cluster.screen.y, size.Radius(cluster.count), dot,
                kClusterFillAlpha);
    const std::wstring count = std::to_wstring(cluster.count);
    const SIZE extent = TextSize(dc, count);
    Text(dc, static_cast<int>(std::lround(cluster.screen.x - extent.cx / 2.0)),
         static_cast<int>(std::lround(cluster.screen.y - extent.cy / 2.0)), count, kHaloRgb);
  }
  for (const MapCluster& cluster : clusters) {
    if (cluster.count == 1)
      marks_.Disc(dc, cluster.screen.x, cluster.screen.y, kDotRadius, dot, 255);
  }
  if (!labels) return;
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const LabelFont font{static_cast<double>(metrics.tmHeight), [dc](std::string_view title) {
                         return static_cast<double>(TextSize(dc, Widen(title)).cx);
                       }};
  const auto titleOf = [&points](std::uint32_t item) { return points.Title(item); };
  for (const PlacedLabel& label : PlaceLabels(view, clusters, titleOf, font)) {
    Label(dc, static_cast<int>(std::lround(label.left)), static_cast<int>(std::lround(label.top)),
          Widen(points.Title(label.item)));
  }
}

void Win32MapPainter::DrawRings(HDC dc, const MapView& view, const EditedPoints& points,
                                const std::vector<std::uint32_t>& items, MapColour colour) {
  const double margin = kRingRadius + 2;
  for (const std::uint32_t item : items) {
    const std::optional<LonLat> position = points.Position(item);
    if (!position) continue;
    const PixelPoint at = view.ToScreen(*position);
    if (at.x < -margin || at.y < -margin || at.x > view.width + margin ||
        at.y > view.height + margin)
      continue;
    marks_.Ring(dc, at.x, at.y, kRingRadius, 3.0, colour);
  }
}

void Win32MapPainter::FillTranslucent(HDC dc, const RECT& rect, int alpha) {
  const HGDIOBJ old = SelectObject(scratch_, white_);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
  AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, scratch_, 0,
             0, 1, 1, blend);
  SelectObject(scratch_, old);
}

void Win32MapPainter::DrawOverlays(HDC dc, const MapView& view, const MapOverlays& overlays) {
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int line = metrics.tmHeight + 2;
  // A corner's text on white, a little see-through.
  const auto corner = [&](const std::string& utf8, bool right) {
    if (utf8.empty()) return;
    const std::wstring text = Widen(utf8);
    const int width = TextSize(dc, text).cx + 8;
    const int left = right ? view.width - width : 0;
    FillTranslucent(dc, RECT{left, view.height - line, left + width, view.height}, 200);
    Text(dc, left + 4, view.height - line + 1, text, kTextRgb);
  };
  corner(overlays.attribution, true);
  corner(overlays.tilesFailed, false);
  if (!overlays.notice.empty()) {
    const std::wstring text = Widen(overlays.notice);
    const SIZE size = TextSize(dc, text);
    const int left = (view.width - size.cx) / 2 - 12;
    const int top = (view.height - size.cy) / 2 - 8;
    FillTranslucent(dc, RECT{left, top, left + size.cx + 24, top + size.cy + 16}, 220);
    Text(dc, left + 12, top + 8, text, kTextRgb);
  }
  if (overlays.focused) {
    const HPEN pen = CreatePen(PS_INSIDEFRAME, 2, GetSysColor(COLOR_HIGHLIGHT));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, view.width, view.height);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
}

}  // namespace velorin
