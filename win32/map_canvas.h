#pragma once
// The map of the Win32 map window, a child window drawn with GDI into a
// picture held off the screen (no flicker): the offline land, tiles over it
// when a server is set, the points and clusters of the file, its skipped
// points greyed where they lie, rings round the points chosen and found,
// the attribution, a note when tiles failed and a notice in the middle.
// The wheel, +/- and the window's buttons zoom; dragging and the arrow keys
// pan; Home and 0 fit; hovering shows what a point or a circle is; a click
// on a counted circle zooms to its points (map/map_input.h decides).
//
// Choosing and editing are told to whoever listens (the map window's
// editor, when it has one): a click on a point or beside every point, a
// rectangle drawn with Shift, the drag of chosen points, the shortcut menu.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/map_input.h"
#include "map/map_load.h"
#include "map/map_messages.h"
#include "map/map_view.h"
#include "map/view_clusters.h"
#include "win32/map_painter.h"
#include "win32/map_tiles.h"
#include "win32/tracking_tip.h"

namespace velorin {

/// What the canvas tells of the choosing and editing it does not do.
struct MapCanvasListener {
  std::function<void(std::uint32_t item, InputModifiers modifiers)> itemClicked;
  std::function<void(InputModifiers modifiers)> emptyClicked;
  std::function<void(std::vector<std::uint32_t> items, InputModifiers modifiers)> rectangle;
  std::function<void(double dx, double dy)> chosenDragged;
  /// The shortcut menu was asked for at `position` on the map (by the
  /// right button, or the keyboard: the middle), shown at `screen`.
  std::function<void(LonLat position, POINT screen)> menuAsked;
};

class Win32MapCanvas {
 public:
  /// A child of `parent` with the id `id`, drawing tiles from `tiles`
  /// (which may be null) and saying things in `words`.
  Win32MapCanvas(HWND parent, int id, std::shared_ptr<const LandMap> land, Win32TileLoader* tiles,
                 const MapMessages& words);
  ~Win32MapCanvas();
  Win32MapCanvas(const Win32MapCanvas&) = delete;
  Win32MapCanvas& operator=(const Win32MapCanvas&) = delete;

  HWND Handle() const { return hwnd_; }
  /// The font of titles, counts and notices (the window's).
  void SetFont(HFONT font);
  void SetListener(MapCanvasListener listener) { listener_ = std::move(listener); }

  /// The points shown (null: none yet). The view is fitted to them.
  void SetData(std::shared_ptr<MapData> data);
  MapData* Data() const { return data_.get(); }
  /// The points edited: their indexes or choice changed. Draws again.
  void PointsChanged();
  /// A text in the middle of the map (UTF-8); empty: none.
  void SetNotice(const std::string& notice);
  const std::string& Notice() const { return notice_; }

  const MapView& View() const { return view_; }
  void SetView(const MapView& view);
  /// Fitted to the points: they fill the view but for a margin.
  void Fit();
  /// Fitted to `items` (none: as it was).
  void FitTo(const std::vector<std::uint32_t>& items);
  /// Moved so that `item` lies in the view, if it has a position.
  void Show(std::uint32_t item);
  void ZoomBy(int steps);
  void PanBy(double dx, double dy);
  /// The attribution in the corner: the tiles' while any are drawn, the
  /// land's otherwise.
  std::string Attribution() const;
  /// Whether the last frame said that tiles failed.
  bool ShowsTilesFailed() const { return tilesFailed_; }
  /// The clusters of the view as they are drawn, and those of the
  /// skipped points.
  const std::vector<MapCluster>& Clusters();
  const std::vector<MapCluster>& SkippedClusters();
  /// What hovering shows now (UTF-8); empty while nothing is hovered.
  const std::string& TipText() const { return tip_->Text(); }

  /// Draws the frame into the picture off the screen, as a repaint does;
  /// false while the land is not ready (the frame has the sea alone).
  bool DrawFrame();
  /// A pixel of the last frame.
  COLORREF PixelAt(int x, int y) const;

  static void RegisterClass();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  /// The mouse's and the wheel's messages; false for any other.
  bool Mouse(UINT message, WPARAM wParam, LPARAM lParam);
  void Resized(int width, int height);
  void ViewChanged();
  void ZoomAt(int steps, PixelPoint anchor);
  void Step(MapKey key);
  void Pressed(PixelPoint at, InputModifiers modifiers);
  void Moved(PixelPoint at);
  void Released(PixelPoint at);
  void Clicked(PixelPoint at, InputModifiers modifiers);
  void Hover(PixelPoint at);
  /// WM_CONTEXTMENU: `lParam` is where on the screen, or -1 from the
  /// keyboard.
  void MenuAsked(LPARAM lParam);
  std::optional<std::uint32_t> ItemAt(PixelPoint at) const;
  const MapCluster* CircleAt(PixelPoint at);
  void Paint();
  void MakeBuffer(int width, int height);

  HWND hwnd_ = nullptr;
  std::unique_ptr<TrackingTip> tip_;
  const MapMessages& words_;
  Win32MapPainter painter_;
  Win32TileLoader* tiles_;
  MapCanvasListener listener_;
  std::shared_ptr<MapData> data_;
  MapView view_;
  std::string notice_;
  ViewClusters clusters_;
  /// The view is the one Fit chose and nothing has moved it since.
  bool fitted_ = false;
  bool tilesShown_ = false;
  bool tilesFailed_ = false;
  MapPointer pointer_;
  WheelNotches wheel_;
  bool tracking_ = false;
  HFONT font_ = nullptr;
  HDC buffer_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  int bufferWidth_ = 0;
  int bufferHeight_ = 0;
};

}  // namespace velorin
