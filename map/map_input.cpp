#include "map/map_input.h"

#include <algorithm>
#include <cmath>

namespace velorin {

ViewStep StepOfKey(MapKey key, int width, int height) {
  const double stepX = width / 4.0;
  const double stepY = height / 4.0;
  using K = ViewStep::Kind;
  switch (key) {
    case MapKey::kZoomIn:
      return {K::kZoom, 1};
    case MapKey::kZoomOut:
      return {K::kZoom, -1};
    case MapKey::kLeft:
      return {K::kPan, 0, -stepX, 0};
    case MapKey::kRight:
      return {K::kPan, 0, stepX, 0};
    case MapKey::kUp:
      return {K::kPan, 0, 0, -stepY};
    case MapKey::kDown:
      return {K::kPan, 0, 0, stepY};
    case MapKey::kFit:
      return {K::kFit};
  }
  return {};
}

int WheelNotches::Add(int delta) {
  rest_ += delta;
  const int notches = rest_ / kWheelNotch;
  rest_ -= notches * kWheelNotch;
  return notches;
}

void MapPointer::Press(PixelPoint at, InputModifiers modifiers, bool onChosenItem) {
  pressedAt_ = dragAt_ = at;
  modifiers_ = modifiers;
  dragged_ = false;
  // Shift draws a rectangle; a chosen point pressed alone is moved; any
  // other press pans.
  drag_ = PointerDrag::kPan;
  if (modifiers.shift) {
    drag_ = PointerDrag::kRectangle;
  } else if (modifiers.None() && onChosenItem) {
    drag_ = PointerDrag::kMove;
  }
}

MapPointer::Moved MapPointer::Move(PixelPoint at) {
  Moved moved;
  if (drag_ == PointerDrag::kNone) return moved;
  if (!dragged_ && std::hypot(at.x - pressedAt_.x, at.y - pressedAt_.y) < kClickSlack) return moved;
  dragged_ = true;
  moved.redraw = true;
  if (drag_ == PointerDrag::kPan) {
    moved.panX = -(at.x - dragAt_.x);
    moved.panY = -(at.y - dragAt_.y);
  }
  dragAt_ = at;
  return moved;
}

MapPointer::Released MapPointer::Release(PixelPoint at) {
  using K = Released::Kind;
  Released released{K::kNone, pressedAt_, at, modifiers_};
  if (drag_ == PointerDrag::kNone) return released;
  const PointerDrag drag = drag_;
  drag_ = PointerDrag::kNone;
  dragAt_ = at;
  if (!dragged_) {
    released.kind = K::kClick;
  } else if (drag == PointerDrag::kRectangle) {
    released.kind = K::kRectangle;
  } else if (drag == PointerDrag::kMove) {
    released.kind = K::kMove;
  } else {
    released.kind = K::kPan;
  }
  return released;
}

MapView ZoomedToCluster(const MapView& view, const MapCluster& cluster) {
  MapView fitted = FitView(BoundsOfUnits(cluster.bounds), view.width, view.height);
  fitted.zoom = std::clamp(std::max(fitted.zoom, view.zoom + 1), 0.0, kMaxMapZoom);
  return fitted;
}

std::optional<MapView> ViewShowing(const MapView& view, LonLat position) {
  const PixelPoint at = view.ToScreen(position);
  if (at.x >= 0 && at.y >= 0 && at.x < view.width && at.y < view.height) return std::nullopt;
  MapView centred = view;
  centred.center = position;
  return centred;
}

}  // namespace velorin
