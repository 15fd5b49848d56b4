#pragma once
// What the mouse, the wheel and the keys do to a map view, whatever toolkit
// delivers them. The left button: a press that moves less than
// kClickSlack is a click; with Shift it draws a rectangle, on a chosen
// point alone it moves the chosen points, else it pans. The wheel zooms a
// level a notch about the mouse; +/- zoom, the arrows pan a quarter of the
// view, Home and 0 fit the view to the points. A click on a counted circle
// zooms to its points.
#include <optional>

#include "map/cluster_grid.h"
#include "map/map_view.h"

namespace velorin {

/// A press that moves less than this is a click, not a drag.
inline constexpr double kClickSlack = 4.0;
/// A point this near the mouse is the one it points at.
inline constexpr double kPointReach = 8.0;
/// One wheel notch, as wheel deltas count (a level of zoom).
inline constexpr int kWheelNotch = 120;

struct InputModifiers {
  bool shift = false;
  bool control = false;
  bool None() const { return !shift && !control; }
  friend bool operator==(const InputModifiers&, const InputModifiers&) = default;
};

/// The keys that move the view.
enum class MapKey { kZoomIn, kZoomOut, kLeft, kRight, kUp, kDown, kFit };

/// What a key does: zoom by steps about the centre, pan by pixels, or fit.
struct ViewStep {
  enum class Kind { kZoom, kPan, kFit } kind = Kind::kZoom;
  int zoomSteps = 0;
  double dx = 0.0;
  double dy = 0.0;
  friend bool operator==(const ViewStep&, const ViewStep&) = default;
};

/// The step of `key` on a view of `width` x `height` pixels.
ViewStep StepOfKey(MapKey key, int width, int height);

/// Wheel turns gathered into whole notches (a touchpad sends fractions).
class WheelNotches {
 public:
  /// Adds a turn of `delta` (kWheelNotch a notch, up positive); gives the
  /// whole notches it completes.
  int Add(int delta);

 private:
  int rest_ = 0;
};

/// What a press of the left button began.
enum class PointerDrag { kNone, kPan, kRectangle, kMove };

/// The left button from press to release.
class MapPointer {
 public:
  /// What a move asks of the view.
  struct Moved {
    bool redraw = false;  ///< a drag goes on: draw again
    double panX = 0.0;    ///< pan the view by this (a pan drag)
    double panY = 0.0;
  };
  /// What a release ended.
  struct Released {
    enum class Kind { kNone, kClick, kRectangle, kMove, kPan } kind = Kind::kNone;
    PixelPoint from;           ///< where the press was
    PixelPoint to;             ///< where the release is
    InputModifiers modifiers;  ///< those of the press
  };

  /// The button went down at `at`; `onChosenItem`: on a point that is chosen.
  void Press(PixelPoint at, InputModifiers modifiers, bool onChosenItem);
  /// The mouse moved to `at` with the button down.
  Moved Move(PixelPoint at);
  /// The button came up at `at`.
  Released Release(PixelPoint at);

  PointerDrag drag() const { return drag_; }
  /// The press has moved past the click's slack.
  bool dragged() const { return dragged_; }
  PixelPoint pressedAt() const { return pressedAt_; }
  PixelPoint dragAt() const { return dragAt_; }

 private:
  PointerDrag drag_ = PointerDrag::kNone;
  PixelPoint pressedAt_;
  PixelPoint dragAt_;
  InputModifiers modifiers_;
  bool dragged_ = false;
};

/// The view that a click on `cluster` leads to: its points fill the view,
/// and it comes nearer by at least a level even when they all stand in one
/// place.
MapView ZoomedToCluster(const MapView& view, const MapCluster& cluster);

/// `view` centred on `position` when that lies outside it; else the view.
std::optional<MapView> ViewShowing(const MapView& view, LonLat position);

}  // namespace velorin
