#pragma once
// The counted circles of clusters, drawn from pictures made once: a disc
// per size (a quarter pixel apart) blitted instead of an antialiased circle
// stroked and filled each time, and each count's text laid out once. Hundreds
// of clusters a frame then cost a few milliseconds.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QStaticText>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

class QPainter;

namespace velorin {

class ClusterMarks {
 public:
  /// Circles filled with `fill` (a little see-through).
  explicit ClusterMarks(const QColor& fill) : fill_(fill) {}

  /// The circle of `count` points of `radius` pixels centred near `centre`
  /// (on whole pixels), the count in its middle in `font`.
  void Draw(QPainter& painter, const QPointF& centre, double radius, std::uint32_t count,
            const QFont& font);

 private:
  const QImage& Disc(int quarterPixels, double pixelRatio);
  const QStaticText& Text(std::uint32_t count, const QFont& font, double pixelRatio);

  std::map<std::pair<int, double>, QImage> discs_;
  std::unordered_map<std::uint32_t, QStaticText> texts_;
  QColor fill_;
  QFont textFont_;
  double textRatio_ = 0.0;
};

}  // namespace velorin
