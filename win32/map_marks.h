#pragma once
// The marks of the Win32 map, drawn once each as antialiased pictures (a
// disc per size a quarter pixel apart, a dot, a ring) and blended where
// they go: GDI's own circles have no smooth edges, and hundreds of marks a
// frame cost a blit each.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <map>
#include <tuple>

#include "map/map_colours.h"

namespace velorin {

class MarkPictures {
 public:
  MarkPictures();
  ~MarkPictures();
  MarkPictures(const MarkPictures&) = delete;
  MarkPictures& operator=(const MarkPictures&) = delete;

  /// A disc of `radius` pixels filled with `fill` (`alpha` of 255) within
  /// a white rim 1.5 pixels wide, centred near (`x`, `y`) on whole pixels.
  void Disc(HDC target, double x, double y, double radius, MapColour fill, int alpha);
  /// A ring of `radius` pixels, `width` wide.
  void Ring(HDC target, double x, double y, double radius, double width, MapColour colour);

 private:
  struct Picture {
    HBITMAP bitmap = nullptr;
    int side = 0;
  };
  /// Kind (0 disc, 1 ring), radius and width in quarter pixels, colour, alpha.
  using Key = std::tuple<int, int, int, int, int>;

  const Picture& Make(const Key& key, double radius, double width, MapColour colour, int alpha);
  void Blend(HDC target, const Picture& picture, double x, double y);

  HDC scratch_;
  std::map<Key, Picture> pictures_;
};

}  // namespace velorin
