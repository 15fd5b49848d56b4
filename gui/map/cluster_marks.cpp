#include "gui/map/cluster_marks.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "gui/map/map_colours.h"

namespace velorin {
namespace {

constexpr double kRimWidth = 1.5;
// Beyond this many count texts the oldest views' ones are let go.
constexpr std::size_t kMostTexts = 4096;

// The side of a disc's picture: the circle, its rim and a pixel to spare.
int DiscSide(double radius) { return static_cast<int>(std::ceil(2 * (radius + kRimWidth))) + 2; }

}  // namespace

const QImage& ClusterMarks::Disc(int quarterPixels, double pixelRatio) {
  const auto key = std::make_pair(quarterPixels, pixelRatio);
  const auto found = discs_.find(key);
  if (found != discs_.end()) return found->second;
  const double radius = quarterPixels / 4.0;
  const int side = DiscSide(radius);
  const int deviceSide = static_cast<int>(std::ceil(side * pixelRatio));
  QImage disc(deviceSide, deviceSide, QImage::Format_ARGB32_Premultiplied);
  disc.setDevicePixelRatio(pixelRatio);
  disc.fill(Qt::transparent);
  QPainter painter(&disc);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kHaloColour, kRimWidth));
  painter.setBrush(QColor(fill_.red(), fill_.green(), fill_.blue(), kClusterFillAlpha));
  painter.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
  painter.end();
  return discs_.emplace(key, std::move(disc)).first->second;
}

const QStaticText& ClusterMarks::Text(std::uint32_t count, const QFont& font, double pixelRatio) {
  // Glyphs are placed for the font and the pixel density they were laid out
  // with.
  if (font != textFont_ || pixelRatio != textRatio_ || texts_.size() >= kMostTexts) {
    texts_.clear();
    textFont_ = font;
    textRatio_ = pixelRatio;
  }
  const auto [it, added] = texts_.try_emplace(count);
  if (added) {
    it->second.setText(QString::number(count));
    it->second.setTextFormat(Qt::PlainText);
    it->second.setPerformanceHint(QStaticText::AggressiveCaching);
    it->second.prepare(QTransform(), font);
  }
  return it->second;
}

void ClusterMarks::Draw(QPainter& painter, const QPointF& centre, double radius,
                        std::uint32_t count, const QFont& font) {
  const double pixelRatio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1;
  const int quarterPixels = static_cast<int>(std::lround(radius * 4));
  const QImage& disc = Disc(quarterPixels, pixelRatio);
  const double half = DiscSide(quarterPixels / 4.0) / 2.0;
  painter.drawImage(QPointF(std::round(centre.x() - half), std::round(centre.y() - half)), disc);
  const QStaticText& text = Text(count, font, pixelRatio);
  const QSizeF size = text.size();
  painter.setPen(kHaloColour);
  painter.drawStaticText(QPointF(centre.x() - size.width() / 2, centre.y() - size.height() / 2),
                         text);
}

}  // namespace velorin
