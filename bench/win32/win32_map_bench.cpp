// Times the Win32 map window under Wine on a point file, as map_bench times
// the Qt one: from asking for the map to its first whole picture (reading,
// indexing, fitting, clustering, drawing), then the frames after pans and
// zooms at every zoom level and half a level above it, with the offline
// land only (no tiles). Prints figures; tests nothing.
//
// Usage: win32_map_bench POINT_FILE [PANS [WIDTH HEIGHT]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_start.h"
#include "platform/program_seams.h"
#include "startup/startup.h"
#include "win32/map_window.h"

namespace {

using namespace velorin;
using Steady = std::chrono::steady_clock;

int Fail(const char* what) {
  std::fprintf(stderr, "win32_map_bench: %s\n", what);
  return 1;
}

double Milliseconds(Steady::time_point since) {
  return std::chrono::duration<double, std::milli>(Steady::now() - since).count();
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// One frame: the map drawn whole into its picture off the screen.
double Frame(Win32MapCanvas& canvas) {
  const Steady::time_point start = Steady::now();
  canvas.DrawFrame();
  return Milliseconds(start);
}

struct Frames {
  double zoomed = 0.0;  ///< the frame after zooming there
  double median = 0.0;  ///< the frames after pans
  double worst = 0.0;
};

Frames FramesAt(Win32MapCanvas& canvas, const MapView& fitted, double zoom, int pans) {
  MapView view = fitted;
  view.zoom = zoom;
  canvas.SetView(view);
  Frames result;
  result.zoomed = Frame(canvas);
  std::vector<double> frames;
  for (int i = 0; i < pans; ++i) {
    canvas.PanBy(i % 2 == 0 ? 97.0 : -61.0, i % 3 == 0 ? 53.0 : -29.0);
    frames.push_back(Frame(canvas));
  }
  std::sort(frames.begin(), frames.end());
  result.median = frames[frames.size() / 2];
  result.worst = frames.back();
  return result;
}

void FramesAtEachZoom(Win32MapCanvas& canvas, int pans) {
  const MapView fitted = canvas.View();
  for (int zoom = 0; zoom <= static_cast<int>(kMaxMapZoom); ++zoom) {
    const Frames whole = FramesAt(canvas, fitted, zoom, pans);
    const Frames half = FramesAt(canvas, fitted, std::min(zoom + 0.5, kMaxMapZoom), pans);
    std::printf(
        "zoom %2d: after zoom %6.1f ms, after pan median %6.1f ms, worst %6.1f ms;"
        " +0.5: %6.1f, %6.1f, %6.1f ms\n",
        zoom, whole.zoomed, whole.median, whole.worst, half.zoomed, half.median, half.worst);
  }
}

// The window's size for a map of `width` x `height` pixels.
void SizeForMap(Win32MapWindow& map, int width, int height) {
  RECT frame{};
  GetWindowRect(map.Handle(), &frame);
  RECT canvas{};
  GetClientRect(map.Canvas().Handle(), &canvas);
  SetWindowPos(map.Handle(), nullptr, 0, 0, frame.right - frame.left + width - canvas.right,
               frame.bottom - frame.top + height - canvas.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = ProgramArguments();
  if (arguments.empty()) return Fail("usage: win32_map_bench POINT_FILE [PANS [WIDTH HEIGHT]]");
  const int pans = arguments.size() > 1 ? std::max(1, std::atoi(arguments[1].c_str())) : 10;
  const int width = arguments.size() > 3 ? std::atoi(arguments[2].c_str()) : 1024;
  const int height = arguments.size() > 3 ? std::atoi(arguments[3].c_str()) : 768;

  const std::optional<bench::BenchStart> velorin = bench::StartLikeVelorin();
  if (!velorin) return Fail("the start-up failed: are the data files next to win32_map_bench?");
  LocalFileSystem files;
  Win32MapWindow map(velorin->tables, velorin->mapLocations, nullptr, files);
  map.Show();
  SizeForMap(map, width, height);
  Pump();

  const Steady::time_point start = Steady::now();
  map.ShowFile(arguments[0]);
  while (map.Data() == nullptr) {
    Pump();
    Sleep(1);
  }
  // The first whole picture: the land's rings, made off the thread while
  // the file is read, are waited for.
  while (!map.Canvas().DrawFrame()) {
    Pump();
    Sleep(1);
  }
  const double first = Milliseconds(start);
  const std::size_t clusters = map.Canvas().Clusters().size();
  if (map.Data()->Failed() && map.Data()->read().outcome.readFailure)
    std::printf("reading failed: %s\n", map.Data()->read().outcome.readFailure->message.c_str());
  std::printf("points: %zu, map %dx%d, first clusters (%zu marks): %.0f ms\n",
              map.Data()->read().points.size(), map.Canvas().View().width,
              map.Canvas().View().height, clusters, first);
  FramesAtEachZoom(map.Canvas(), pans);
  return 0;
}
