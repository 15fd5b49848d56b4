#include "map/svg_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "formats/markup_escape.h"
#include "map/label_grid.h"
#include "map/view_scan.h"

namespace velorin {
namespace {

constexpr double kPointRadius = 4.0;
/// The counts of clusters: 11 pixels, digits about 0.6 of that wide.
constexpr double kCountFontSize = 11.0;
constexpr ClusterMarkSize kMarkSize{0.6 * kCountFontSize, kPointRadius};
constexpr double kFontSize = 12.0;
constexpr double kLabelGap = 3.0;
/// Points and clusters this far beyond the edge still show their part.
constexpr double kEdgeMargin = 24.0;

/// Screen numbers with one decimal.
class SvgWriter {
 public:
  explicit SvgWriter(BufferedWriter& out) : out_(out) {}
  SvgWriter& operator<<(std::string_view text) {
    out_.Append(text);
    return *this;
  }
  SvgWriter& operator<<(double value) {
    std::array<char, 32> digits{};
    const double rounded = std::round(value * 10.0) / 10.0;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                   rounded == 0.0 ? 0.0 : rounded, std::chars_format::fixed, 1)
                         .ptr;
    out_.Append(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
    return *this;
  }
  SvgWriter& operator<<(std::int64_t value) {
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    out_.Append(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
    return *this;
  }
  void Text(std::string_view utf8) { AppendXmlText(out_, utf8); }

 private:
  BufferedWriter& out_;
};

void WriteHeader(SvgWriter& svg, const SvgMapOptions& options) {
  const auto width = static_cast<std::int64_t>(options.width);
  const auto height = static_cast<std::int64_t>(options.height);
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << " " << height << "\" font-family=\"sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#aad3df\"/>\n";
}

/// The copies of the world in which a ring meets the view, as the shift of
/// its world x to the screen: one in most views, more when the view spans
/// more than the world's width, none when the ring is off the screen.
void RingCopies(const MapView& view, const LonLatBox& box, std::vector<double>& shifts) {
  shifts.clear();
  const PixelPoint west = ProjectToPixel({box.west, box.north}, view.zoom);
  const PixelPoint east = ProjectToPixel({box.east, box.south}, view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  if (east.y < topLeft.y || west.y > topLeft.y + view.height) return;
  const double size = WorldSize(view.zoom);
  const double first = std::ceil((topLeft.x - east.x) / size);
  const double last = std::floor((topLeft.x + view.width - west.x) / size);
  for (double copy = first; copy <= last; ++copy) shifts.push_back(copy * size - topLeft.x);
}

void WriteRing(SvgWriter& svg, std::span<const LonLat> ring, double zoom, double shiftX,
               double top) {
  char command = 'M';
  double lastX = 1e18, lastY = 1e18;
  for (const LonLat& p : ring) {
    const PixelPoint world = ProjectToPixel(p, zoom);
    const double x = std::round((world.x + shiftX) * 10.0) / 10.0;
    const double y = std::round((world.y - top) * 10.0) / 10.0;
    if (x == lastX && y == lastY) continue;
    svg << std::string_view(&command, 1) << x << " " << y;
    command = 'L';
    lastX = x;
    lastY = y;
  }
  svg << "Z";
}

void WriteLand(SvgWriter& svg, const LandMap& land, const MapView& view) {
  if (land.empty()) return;
  const LandLevel& level = land.ForZoom(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  svg << "<path fill=\"#f2efe9\" stroke=\"#9aa0a6\" stroke-width=\"0.5\" fill-rule=\"evenodd\" "
         "d=\"";
  std::vector<double> shifts;
  for (std::size_t r = 0; r < level.ringCount(); ++r) {
    RingCopies(view, level.ringBoxes[r], shifts);
    for (const double shift : shifts) WriteRing(svg, level.Ring(r), view.zoom, shift, topLeft.y);
  }
  svg << "\"/>\n";
}

/// A title to the right of its point, or to its left (ending there).
void WriteLabel(SvgWriter& svg, PixelPoint at, std::string_view title, bool left) {
  const double gap = kPointRadius + kLabelGap;
  svg << "<text x=\"" << (left ? at.x - gap : at.x + gap) << "\" y=\"" << at.y + kFontSize / 3.0
      << (left ? "\" text-anchor=\"end\">" : "\">");
  svg.Text(title);
  svg << "</text>\n";
}

ScreenBox LabelBox(PixelPoint at, std::string_view title, bool left) {
  const double gap = kPointRadius + kLabelGap;
  const double width = EstimateLabelWidth(title, kFontSize);
  const double start = left ? at.x - gap - width : at.x + gap;
  return {start, at.y - kFontSize / 2.0, start + width, at.y + kFontSize / 2.0};
}

ScreenBox MarkBox(PixelPoint at, double radius) {
  return {at.x - radius, at.y - radius, at.x + radius, at.y + radius};
}

/// A point drawn on its own.
struct ShownPoint {
  std::uint32_t index = 0;
  LonLat position;
  std::string_view title;
};

void BeginMarks(SvgWriter& svg) {
  svg << "<g fill=\"#d62728\" stroke=\"#ffffff\" stroke-width=\"1\">\n";
}

void WriteMark(SvgWriter& svg, PixelPoint at) {
  svg << "<circle cx=\"" << at.x << "\" cy=\"" << at.y << "\" r=\"" << kPointRadius << "\"/>\n";
}

void BeginLabels(SvgWriter& svg) {
  svg << "<g font-size=\"" << kFontSize << "\" fill=\"#202124\" stroke=\"#ffffff\" "
      << "stroke-width=\"3\" paint-order=\"stroke\">\n";
}

/// Points one by one: the marks first, then the titles the mode allows.
void WriteSinglePoints(SvgWriter& svg, std::vector<ShownPoint> shown, const MapView& view,
                       LabelMode labels) {
  std::stable_sort(shown.begin(), shown.end(),
                   [](const ShownPoint& a, const ShownPoint& b) { return a.index < b.index; });
  LabelGrid grid(view.width, view.height);
  BeginMarks(svg);
  for (const ShownPoint& point : shown) {
    const PixelPoint at = view.ToScreen(point.position);
    WriteMark(svg, at);
    grid.Occupy(MarkBox(at, kPointRadius));
  }
  svg << "</g>\n";
  if (labels == LabelMode::kNone) return;
  BeginLabels(svg);
  for (const ShownPoint& point : shown) {
    const PixelPoint at = view.ToScreen(point.position);
    if (labels == LabelMode::kAll || grid.TryPlace(LabelBox(at, point.title, false))) {
      WriteLabel(svg, at, point.title, false);
    } else if (grid.TryPlace(LabelBox(at, point.title, true))) {
      WriteLabel(svg, at, point.title, true);
    }
  }
  svg << "</g>\n";
}

std::vector<ShownPoint> Shown(const MapPoints& points, const std::vector<std::uint32_t>& indexes) {
  std::vector<ShownPoint> shown;
  shown.reserve(indexes.size());
  for (const std::uint32_t index : indexes) {
    shown.push_back({index, points.points()[index].position(), points.Title(index)});
  }
  return shown;
}

void WriteClusterMark(SvgWriter& svg, const MapCluster& cluster) {
  const double radius = kMarkSize.Radius(cluster.count);
  svg << "<circle cx=\"" << cluster.screen.x << "\" cy=\"" << cluster.screen.y << "\" r=\""
      << radius << "\" fill=\"#d62728\" fill-opacity=\"0.75\" stroke=\"#ffffff\"/>"
      << "<text x=\"" << cluster.screen.x << "\" y=\"" << cluster.screen.y + 4.0
      << "\" fill=\"#ffffff\">" << static_cast<std::int64_t>(cluster.count) << "</text>\n";
}

void BeginClusters(SvgWriter& svg) {
  svg << "<g font-size=\"" << kCountFontSize << "\" text-anchor=\"middle\">\n";
}

void WriteClusters(SvgWriter& svg, const MapPoints& points, const std::vector<MapCluster>& clusters,
                   const MapView& view, LabelMode labels) {
  std::vector<std::uint32_t> single;
  BeginClusters(svg);
  for (const MapCluster& cluster : clusters) {
    if (cluster.count == 1) {
      single.push_back(cluster.firstPoint);
    } else {
      WriteClusterMark(svg, cluster);
    }
  }
  svg << "</g>\n";
  WriteSinglePoints(svg, Shown(points, single), view, labels);
}

/// Every point of the view and every title, streamed twice: the marks,
/// then the titles.
bool WriteEveryPoint(SvgWriter& svg, const SpilledMapPoints& points, const MapView& view) {
  const ViewScan scan(view, kEdgeMargin);
  BeginMarks(svg);
  bool read = points.ForEach([&](std::uint32_t, LonLat position, std::string_view) {
    for (int hit = scan.Hits(position); hit > 0; --hit) WriteMark(svg, view.ToScreen(position));
  });
  svg << "</g>\n";
  BeginLabels(svg);
  read = read && points.ForEach([&](std::uint32_t, LonLat position, std::string_view title) {
    for (int hit = scan.Hits(position); hit > 0; --hit) {
      WriteLabel(svg, view.ToScreen(position), title, false);
    }
  });
  svg << "</g>\n";
  return read;
}

/// A point kept for drawing on its own, with its title.
struct KeptPoint {
  std::uint32_t index = 0;
  LonLat position;
  std::string title;
};

std::vector<ShownPoint> Shown(const std::vector<KeptPoint>& kept) {
  std::vector<ShownPoint> shown;
  shown.reserve(kept.size());
  for (const KeptPoint& point : kept) shown.push_back({point.index, point.position, point.title});
  return shown;
}

/// The points of the view in one pass: drawn one by one when they are few,
/// as counted clusters otherwise. The titles kept are those of the points
/// alone in their cell so far, which a cell's second point lets go.
bool WriteStreamedPoints(SvgWriter& svg, const SpilledMapPoints& points, const MapView& view,
                         LabelMode labels) {
  if (labels == LabelMode::kAll) return WriteEveryPoint(svg, points, view);
  const ViewScan scan(view, kEdgeMargin);
  ClusterGrid grid(view, kEdgeMargin, kMarkSize);
  std::unordered_map<std::uint32_t, KeptPoint> alone;  ///< by index
  std::unordered_map<std::size_t, std::uint32_t> aloneInCell;
  std::vector<KeptPoint> few;
  std::size_t inView = 0;
  const bool read =
      points.ForEach([&](std::uint32_t index, LonLat position, std::string_view title) {
        for (int hit = scan.Hits(position); hit > 0; --hit) {
          if (++inView <= kMostSinglePoints) few.push_back({index, position, std::string(title)});
          const std::size_t cell = grid.Add(index, IndexedUnit(position));
          if (grid.CountIn(cell) == 1) {
            alone[index] = {index, position, std::string(title)};
            aloneInCell[cell] = index;
          } else if (grid.CountIn(cell) == 2) {
            alone.erase(aloneInCell[cell]);
          }
        }
        if (inView > kMostSinglePoints && !few.empty()) std::vector<KeptPoint>().swap(few);
      });
  if (inView <= kMostSinglePoints) {
    WriteSinglePoints(svg, Shown(few), view, labels);
    return read;
  }
  std::vector<ShownPoint> single;
  BeginClusters(svg);
  for (const MapCluster& cluster : grid.Take()) {
    const auto kept = alone.find(cluster.firstPoint);
    if (cluster.count == 1 && kept != alone.end()) {
      single.push_back({cluster.firstPoint, kept->second.position, kept->second.title});
    } else {
      WriteClusterMark(svg, cluster);
    }
  }
  svg << "</g>\n";
  WriteSinglePoints(svg, std::move(single), view, labels);
  return read;
}

void WriteCentredNote(SvgWriter& svg, const MapView& view, std::string_view text) {
  svg << "<text x=\"" << view.width / 2.0 << "\" y=\"" << view.height / 2.0
      << "\" font-size=\"20\" text-anchor=\"middle\" fill=\"#202124\">" << text << "</text>\n";
}

void WriteAttribution(SvgWriter& svg, const MapView& view) {
  const double width = EstimateLabelWidth(kLandAttribution, 11.0) + 8.0;
  svg << "<rect x=\"" << view.width - width << "\" y=\"" << view.height - 16.0 << "\" width=\""
      << width << "\" height=\"16\" fill=\"#ffffff\" fill-opacity=\"0.8\"/>\n"
      << "<text x=\"" << view.width - 4.0 << "\" y=\"" << view.height - 4.0
      << "\" font-size=\"11\" text-anchor=\"end\" fill=\"#202124\">" << kLandAttribution
      << "</text>\n";
}

}  // namespace

MapView SvgMapView(const MapPoints& points, const SvgMapOptions& options) {
  return FitView(points.Bounds(), options.width, options.height);
}

void WriteSvgMap(BufferedWriter& out, const MapPoints& points, const PointIndex& index,
                 const LandMap& land, const MapView& view, const SvgMapOptions& options) {
  SvgWriter svg(out);
  WriteHeader(svg, options);
  WriteLand(svg, land, view);
  if (points.size() == 0) {
    WriteCentredNote(svg, view, kNoPointsText);
  } else if (options.labels == LabelMode::kAll ||
             index.CountInView(view, kMostSinglePoints + 1, kEdgeMargin) <= kMostSinglePoints) {
    WriteSinglePoints(svg, Shown(points, index.InView(view, kEdgeMargin)), view, options.labels);
  } else {
    WriteClusters(svg, points, index.Clusters(view, kEdgeMargin, kMarkSize), view, options.labels);
  }
  WriteAttribution(svg, view);
  svg << "</svg>\n";
}

bool WriteSvgMap(BufferedWriter& out, const SpilledMapPoints& points, const LandMap& land,
                 const SvgMapOptions& options) {
  const MapView view = FitView(points.Bounds(), options.width, options.height);
  if (!points.spilled()) {
    const PointIndex index(points.inMemory());
    WriteSvgMap(out, points.inMemory(), index, land, view, options);
    return true;
  }
  SvgWriter svg(out);
  WriteHeader(svg, options);
  WriteLand(svg, land, view);
  const bool read = WriteStreamedPoints(svg, points, view, options.labels);
  WriteAttribution(svg, view);
  svg << "</svg>\n";
  return read;
}

}  // namespace velorin
