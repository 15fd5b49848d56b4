#include "map/label_grid.h"

#include <algorithm>
#include <cmath>

namespace velorin {

LabelGrid::LabelGrid(int width, int height, int cellSize)
    : width_(width),
      height_(height),
      cellSize_(std::max(1, cellSize)),
      columns_(std::max(1, (width + cellSize_ - 1) / cellSize_)),
      rows_(std::max(1, (height + cellSize_ - 1) / cellSize_)),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

LabelGrid::CellRange LabelGrid::CellsOf(const ScreenBox& box) const {
  auto cell = [this](double v, int count) {
    return std::clamp(static_cast<int>(std::floor(v / cellSize_)), 0, count - 1);
  };
  return {cell(box.left, columns_), cell(box.top, rows_), cell(box.right, columns_),
          cell(box.bottom, rows_)};
}

bool LabelGrid::Free(const ScreenBox& box) const {
  const CellRange range = CellsOf(box);
  for (int y = range.y0; y <= range.y1; ++y) {
    for (int x = range.x0; x <= range.x1; ++x) {
      for (const ScreenBox& taken :
           cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(x)]) {
        if (taken.Overlaps(box)) return false;
      }
    }
  }
  return true;
}

void LabelGrid::Occupy(const ScreenBox& box) {
  const CellRange range = CellsOf(box);
  for (int y = range.y0; y <= range.y1; ++y) {
    for (int x = range.x0; x <= range.x1; ++x) {
      cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
             static_cast<std::size_t>(x)]
          .push_back(box);
    }
  }
}

bool LabelGrid::TryPlace(const ScreenBox& box) {
  const bool onScreen =
      box.left >= 0 && box.top >= 0 && box.right <= width_ && box.bottom <= height_;
  if (!onScreen || !Free(box)) return false;
  Occupy(box);
  return true;
}

double EstimateLabelWidth(std::string_view utf8, double fontSize) {
  double width = 0.0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      width += 0.55 * fontSize;
    } else if (byte >= 0xE0) {
      width += fontSize;  // three- and four-byte characters: mostly CJK, a full em
    } else if (byte >= 0xC0) {
      width += 0.6 * fontSize;  // two-byte characters: accented Latin, Greek ...
    }
  }
  return width;
}

}  // namespace velorin
