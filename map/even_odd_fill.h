#pragma once
// A shape of many rings filled by the even-odd rule into whole pixels,
// whatever draws it: for each row of a picture, the runs of pixels whose
// centres lie inside (a point inside an odd number of rings). The land of a
// view is tens of thousands of corners; a system whose own polygon fill is
// slow draws these runs instead.
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "map/web_mercator.h"

namespace velorin {

class EvenOddFill {
 public:
  void Clear() { edges_.clear(); }
  /// A ring, closed implicitly, in the picture's pixels.
  void AddRing(std::span<const PixelPoint> ring);

  /// Calls `run(y, left, right)` for each run of row `y` inside the shape,
  /// pixels `left` to `right - 1`, within a picture of `width` x `height`.
  template <typename Run>
  void Runs(int width, int height, Run run);

 private:
  /// Corners nearer than this to the last one kept are passed over.
  static constexpr double kNear = 0.5;

  struct Edge {
    double top;     ///< the smaller y
    double bottom;  ///< the larger y
    double x;       ///< x at `top`, then at the row's centre while active
    double slope;   ///< dx/dy
  };
  /// The edges by the first row they cross (a counting sort: no
  /// comparison of tens of thousands of edges).
  void SortByRow(int height);
  /// The edges crossing row `y`, their x at its centre line, in order of x
  /// (kept nearly in order from row to row).
  void Advance(int y);

  std::vector<Edge> edges_;
  std::vector<Edge> sorted_;
  std::vector<std::size_t> rowStart_;  ///< per row, its first edge in sorted_
  std::vector<Edge> active_;
};

template <typename Run>
void EvenOddFill::Runs(int width, int height, Run run) {
  SortByRow(height);
  active_.clear();
  for (int y = 0; y < height; ++y) {
    Advance(y);
    for (std::size_t i = 0; i + 1 < active_.size(); i += 2) {
      const int left = std::clamp(static_cast<int>(std::ceil(active_[i].x - 0.5)), 0, width);
      const int right = std::clamp(static_cast<int>(std::ceil(active_[i + 1].x - 0.5)), 0, width);
      if (left < right) run(y, left, right);
    }
  }
}

}  // namespace velorin
