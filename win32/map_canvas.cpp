#include "win32/map_canvas.h"

#include <cmath>

#include "map/point_marks.h"
#include "map/point_texts.h"
#include "map/svg_map.h"
#include "map/tile_grid.h"
#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

constexpr wchar_t kCanvasClass[] = L"VelorinMapCanvas";
constexpr UINT_PTR kLandTimer = 1;
}  // namespace

void Win32MapCanvas::RegisterClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kCanvasClass;
  RegisterClassExW(&windowClass);
  registered = true;
}

Win32MapCanvas::Win32MapCanvas(HWND parent, int id, std::shared_ptr<const LandMap> land,
                               Win32TileLoader* tiles, const MapMessages& words)
    : words_(words), painter_(std::move(land)), tiles_(tiles) {
  RegisterClass();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  hwnd_ =
      CreateWindowExW(0, kCanvasClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10,
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  tip_ = std::make_unique<TrackingTip>(hwnd_);
}

Win32MapCanvas::~Win32MapCanvas() {
  tip_.reset();
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (buffer_ != nullptr) DeleteDC(buffer_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void Win32MapCanvas::SetFont(HFONT font) {
  font_ = font;
  tip_->SetFont(font);
  // Circles are as large as their counts in this font.
  PointsChanged();
}

void Win32MapCanvas::SetData(std::shared_ptr<MapData> data) {
  data_ = std::move(data);
  clusters_.Invalidate();
  Fit();
}

void Win32MapCanvas::PointsChanged() {
  clusters_.Invalidate();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32MapCanvas::SetNotice(const std::string& notice) {
  notice_ = notice;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32MapCanvas::SetView(const MapView& view) {
  fitted_ = false;
  view_ = view;
  view_.width = bufferWidth_;
  view_.height = bufferHeight_;
  ViewChanged();
}

void Win32MapCanvas::Fit() {
  const FitBounds bounds = data_ ? data_->editor->Bounds() : FitBounds{};
  SetView(FitView(bounds, bufferWidth_, bufferHeight_));
  fitted_ = true;
}

void Win32MapCanvas::FitTo(const std::vector<std::uint32_t>& items) {
  if (!data_ || items.empty()) return;
  const FitBounds bounds = data_->editor->Bounds(items);
  if (!bounds.empty) SetView(FitView(bounds, bufferWidth_, bufferHeight_));
}

void Win32MapCanvas::Show(std::uint32_t item) {
  if (!data_) return;
  const std::optional<LonLat> position = data_->editor->points().Position(item);
  if (!position) return;
  if (const std::optional<MapView> showing = ViewShowing(view_, *position)) SetView(*showing);
}

void Win32MapCanvas::ZoomBy(int steps) { ZoomAt(steps, {bufferWidth_ / 2.0, bufferHeight_ / 2.0}); }

void Win32MapCanvas::ZoomAt(int steps, PixelPoint anchor) { SetView(view_.Zoomed(steps, anchor)); }

void Win32MapCanvas::PanBy(double dx, double dy) { SetView(view_.Panned(dx, dy)); }

std::string Win32MapCanvas::Attribution() const {
  if (tilesShown_ && tiles_ != nullptr) return tiles_->Server().attribution;
  return kLandAttribution;
}

const std::vector<MapCluster>& Win32MapCanvas::Clusters() {
  if (clusters_.Stale()) {
    ClusterMarkSize size;
    if (buffer_ != nullptr) {
      const HGDIOBJ old = SelectObject(buffer_, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
      size = Win32MapPainter::MarkSizeIn(buffer_);
      SelectObject(buffer_, old);
    }
    clusters_.Make(view_, data_ ? data_->map.get() : nullptr, size);
  }
  return clusters_.points();
}

const std::vector<MapCluster>& Win32MapCanvas::SkippedClusters() {
  Clusters();
  return clusters_.skipped();
}

void Win32MapCanvas::ViewChanged() {
  clusters_.Invalidate();
  // Only the tiles of this view: requests for the last one are let go.
  if (tiles_ != nullptr && view_.width > 0 && view_.height > 0)
    tiles_->Want(DistinctTiles(TilesOfView(view_)));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32MapCanvas::MakeBuffer(int width, int height) {
  if (buffer_ == nullptr) buffer_ = CreateCompatibleDC(nullptr);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader,
                    std::max(1, width),
                    -std::max(1, height),
                    1,
                    32,
                    BI_RGB,
                    0,
                    0,
                    0,
                    0,
                    0};
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  pixels_ = static_cast<std::uint32_t*>(bits);
  SelectObject(buffer_, bitmap_);
  bufferWidth_ = width;
  bufferHeight_ = height;
}

void Win32MapCanvas::Resized(int width, int height) {
  MakeBuffer(width, height);
  // A view still fitted to the points (the first one, or after Fit) is
  // fitted to the new size; one the user moved keeps its centre and zoom.
  if (fitted_ || view_.width <= 0 || view_.height <= 0) {
    Fit();
  } else {
    SetView(view_);
  }
}

bool Win32MapCanvas::DrawFrame() {
  if (buffer_ == nullptr || bufferWidth_ <= 0 || bufferHeight_ <= 0) return false;
  const HDC dc = buffer_;
  const HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  GdiFlush();  // the land is written into the pixels themselves
  // Its rings are made off this thread when the window opens: the frame
  // does not wait for them, and is drawn again soon.
  const bool land = painter_.DrawLand(pixels_, view_);
  if (!land) SetTimer(hwnd_, kLandTimer, 100, nullptr);
  const TilesDrawn tiles =
      tiles_ != nullptr ? painter_.DrawTiles(dc, view_, *tiles_) : TilesDrawn{};
  tilesShown_ = tiles.drawn > 0;
  // No tile came, some failed and none is on its way: say so.
  tilesFailed_ = tiles.drawn == 0 && tiles.failed > 0 && tiles_->RequestsInFlight() == 0;
  if (data_) {
    const EditedPoints& points = data_->editor->points();
    // The skipped points beneath, greyed and without titles.
    painter_.DrawPoints(dc, view_, points, SkippedClusters(), kSkippedRgb, false);
    painter_.DrawPoints(dc, view_, points, Clusters(), kPointRgb, true);
    painter_.DrawRings(dc, view_, points,
                       FoundRings(*data_->editor, clusters_.points(), clusters_.skipped()),
                       kFoundRgb);
    painter_.DrawRings(dc, view_, points,
                       ChosenRings(*data_->editor, clusters_.points(), clusters_.skipped()),
                       kSelectionRgb);
  }
  MapOverlays overlays{Attribution(), tilesFailed_ ? words_.Text(kTilesFailedMessage) : "", notice_,
                       GetFocus() == hwnd_};
  painter_.DrawOverlays(dc, view_, overlays);
  SelectObject(dc, oldFont);
  GdiFlush();
  return land;
}

COLORREF Win32MapCanvas::PixelAt(int x, int y) const {
  if (pixels_ == nullptr || x < 0 || y < 0 || x >= bufferWidth_ || y >= bufferHeight_) return 0;
  const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * bufferWidth_ + x];
  return RGB((pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
}

void Win32MapCanvas::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd_, &paint);
  DrawFrame();
  BitBlt(dc, 0, 0, bufferWidth_, bufferHeight_, buffer_, 0, 0, SRCCOPY);
  EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK Win32MapCanvas::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* canvas = static_cast<Win32MapCanvas*>(create->lpCreateParams);
    canvas->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(canvas));
  }
  auto* canvas = reinterpret_cast<Win32MapCanvas*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (canvas == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Gone with its window: nothing is left to destroy.
    canvas->hwnd_ = nullptr;
    if (canvas->tip_) canvas->tip_->Forget();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return canvas->Handle(message, wParam, lParam);
}

}  // namespace velorin
