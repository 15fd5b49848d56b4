#pragma once
// Where labels have room: a grid of screen cells remembers the boxes already
// taken, and a new box is placed only where it overlaps none of them.
#include <cstdint>
#include <string_view>
#include <vector>

namespace velorin {

struct ScreenBox {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  bool Overlaps(const ScreenBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

class LabelGrid {
 public:
  LabelGrid(int width, int height, int cellSize = 32);
  /// Takes `box` and answers true when it overlaps no box taken before and
  /// lies on the screen; false (and nothing taken) otherwise.
  bool TryPlace(const ScreenBox& box);
  /// Takes `box` whatever it overlaps (a point's mark, that labels avoid).
  void Occupy(const ScreenBox& box);
  bool Free(const ScreenBox& box) const;

 private:
  struct CellRange {
    int x0, y0, x1, y1;
  };
  CellRange CellsOf(const ScreenBox& box) const;
  int width_;
  int height_;
  int cellSize_;
  int columns_;
  int rows_;
  std::vector<std::vector<ScreenBox>> cells_;
};

/// The width in pixels of a label of `utf8` text at `fontSize`, estimated:
/// wide (CJK) characters a full em, others about half.
double EstimateLabelWidth(std::string_view utf8, double fontSize);

}  // namespace velorin
