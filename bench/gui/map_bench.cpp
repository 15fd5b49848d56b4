// Times the map window offscreen on a point file: from asking for the map
// to its first whole picture (reading, indexing, fitting, drawing), then the
// frames after pans and zooms at every zoom level and half a level above
// it, with the offline land only (no tiles). Prints figures; tests nothing.
//
// Usage: map_bench POINT_FILE [PANS]
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/app_start.h"
#include "gui/mainform.h"
#include "gui/map/map_window.h"
#include "gui/path_selection.h"
#include "platform/program_folder.h"

namespace {

using namespace velorin;

int Fail(const char* what) {
  std::fprintf(stderr, "map_bench: %s\n", what);
  return 1;
}

double Milliseconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// One frame: the canvas drawn whole into an image.
double Frame(MapCanvas& canvas, QImage& image) {
  QElapsedTimer timer;
  timer.start();
  canvas.render(&image);
  return Milliseconds(timer);
}

struct Frames {
  double zoomed = 0.0;  ///< the frame after zooming there
  double median = 0.0;  ///< the frames after pans
  double worst = 0.0;
};

Frames FramesAt(MapCanvas& canvas, QImage& image, const MapView& fitted, double zoom, int pans) {
  MapView view = fitted;
  view.zoom = zoom;
  canvas.SetView(view);
  Frames result;
  result.zoomed = Frame(canvas, image);
  std::vector<double> frames;
  for (int i = 0; i < pans; ++i) {
    canvas.PanBy(i % 2 == 0 ? 97.0 : -61.0, i % 3 == 0 ? 53.0 : -29.0);
    frames.push_back(Frame(canvas, image));
  }
  std::sort(frames.begin(), frames.end());
  result.median = frames[frames.size() / 2];
  result.worst = frames.back();
  return result;
}

// Whole zoom levels, and half a level above each (the zoom "Fit to points"
// and steps from it leave).
void FramesAtEachZoom(MapCanvas& canvas, int pans) {
  QImage image(canvas.size(), QImage::Format_RGB32);
  const MapView fitted = canvas.View();
  for (int zoom = 0; zoom <= static_cast<int>(kMaxMapZoom); ++zoom) {
    const Frames whole = FramesAt(canvas, image, fitted, zoom, pans);
    const Frames half = FramesAt(canvas, image, fitted, std::min(zoom + 0.5, kMaxMapZoom), pans);
    std::printf(
        "zoom %2d: after zoom %6.1f ms, after pan median %6.1f ms, worst %6.1f ms;"
        " +0.5: %6.1f, %6.1f, %6.1f ms\n",
        zoom, whole.zoomed, whole.median, whole.worst, half.zoomed, half.median, half.worst);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VELORIN_TILE_URL", "none");
  QApplication application(argc, argv);
  if (argc < 2) return Fail("usage: map_bench POINT_FILE [PANS]");
  const QString input = QString::fromLocal8Bit(argv[1]);
  const int pans = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

  const std::string folder = ProgramFolder();
  std::unique_ptr<mainform> window = StartMainWindow(folder);
  if (!window) return Fail("the start-up failed: are the data files next to map_bench?");
  window->show();
  AcceptInputPath(*window, input);

  QElapsedTimer timer;
  timer.start();
  window->ShowMap();
  MapWindow& map = *window->Map();
  map.resize(1024, 768);
  QSignalSpy shown(&map, &MapWindow::Shown);
  if (!shown.wait(600000)) return Fail("the map did not show the file");
  QImage image(map.Canvas()->size(), QImage::Format_RGB32);
  map.Canvas()->render(&image);
  std::printf("points: %zu, map %dx%d, first picture (%zu marks): %.0f ms\n",
              map.Data()->read().points.size(), map.Canvas()->width(), map.Canvas()->height(),
              map.Canvas()->Clusters().size(), Milliseconds(timer));
  FramesAtEachZoom(*map.Canvas(), pans);
  return 0;
}
