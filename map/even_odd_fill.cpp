#include "map/even_odd_fill.h"

namespace velorin {

void EvenOddFill::AddRing(std::span<const PixelPoint> ring) {
  if (ring.empty()) return;
  // Corners within half a pixel of the last one kept change no pixel's
  // centre much: the edges run between those kept.
  const auto edge = [this](const PixelPoint& a, const PixelPoint& b) {
    if (a.y == b.y) return;  // a level edge crosses no row's centre line
    const PixelPoint& top = a.y < b.y ? a : b;
    const PixelPoint& bottom = a.y < b.y ? b : a;
    edges_.push_back({top.y, bottom.y, top.x, (bottom.x - top.x) / (bottom.y - top.y)});
  };
  PixelPoint last = ring.front();
  for (const PixelPoint& corner : ring.subspan(1)) {
    if (std::abs(corner.x - last.x) < kNear && std::abs(corner.y - last.y) < kNear) continue;
    edge(last, corner);
    last = corner;
  }
  edge(last, ring.front());
}

namespace {

// The first row whose centre line lies at or below `top`, within 0 to `height`.
std::size_t FirstRow(double top, int height) {
  return static_cast<std::size_t>(
      std::clamp(std::ceil(top - 0.5), 0.0, static_cast<double>(height)));
}

}  // namespace

void EvenOddFill::SortByRow(int height) {
  rowStart_.assign(static_cast<std::size_t>(height) + 2, 0);
  for (const Edge& edge : edges_) ++rowStart_[FirstRow(edge.top, height) + 1];
  for (std::size_t row = 1; row < rowStart_.size(); ++row) rowStart_[row] += rowStart_[row - 1];
  sorted_.resize(edges_.size());
  std::vector<std::size_t> place(rowStart_.begin(), rowStart_.end() - 1);
  for (const Edge& edge : edges_) sorted_[place[FirstRow(edge.top, height)]++] = edge;
}

void EvenOddFill::Advance(int y) {
  const double centre = y + 0.5;
  // An edge counts for the rows whose centres lie in [top, bottom).
  std::size_t kept = 0;
  for (Edge& edge : active_) {
    if (edge.bottom <= centre) continue;
    edge.x += edge.slope;  // one row down
    active_[kept++] = edge;
  }
  active_.resize(kept);
  const auto row = static_cast<std::size_t>(y);
  for (std::size_t i = rowStart_[row]; i < rowStart_[row + 1]; ++i) {
    Edge edge = sorted_[i];
    if (edge.bottom <= centre) continue;
    edge.x += (centre - edge.top) * edge.slope;
    active_.push_back(edge);
  }
  // In order of x again: a row moves few edges past each other.
  for (std::size_t i = 1; i < active_.size(); ++i) {
    const Edge edge = active_[i];
    std::size_t j = i;
    for (; j > 0 && active_[j - 1].x > edge.x; --j) active_[j] = active_[j - 1];
    active_[j] = edge;
  }
}

}  // namespace velorin
