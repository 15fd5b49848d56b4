// The Win32 map window through its own messages, with no tile server: File >
// Map of the input file, the clusters and the land, what hovering says, a
// counted circle's click, the keys, buttons, wheel and drags that move the
// view, its place remembered and kept on the screen, routes and tracks on
// request, a new input shown, Escape, a file larger than the map, the
// OpenStreetMap objects Tool > Option keeps; both languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "map/land_shapes.h"
#include "map/map_colours.h"
#include "map/point_texts.h"
#include "map/svg_map.h"
#include "platform/file_system.h"
#include "win32/main_window.h"
#include "win32/map_window.h"
#include "win32_map_support.h"
#include "win32_test_folder.h"
#include "window/osm_tag_choice.h"

namespace velorin {
namespace {

using namespace win32_test;

constexpr char kThreePlaces[] =
    "name,lat,lon\n"
    "Tokyo Tower,35.658581,139.745433\n"
    "Osaka Castle,34.6873,135.5259\n"
    "Sapporo,43.0618,141.3545\n";

COLORREF Gdi(MapColour colour) { return RGB(colour.red, colour.green, colour.blue); }

class Win32MapTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    folder_ = win32_test::OwnTestFolder(L"velorin_map_" + Widen(GetParam()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    WriteFile(folder_ / "velorin_map.ini", "[tiles]\r\nurl=none\r\n");
    Win32Seams seams;
    seams.messageBox = [this](const std::string& title, const std::string& text, MessageButtons,
                              MessageAnswer answer, MessageIcon) {
      boxes_.push_back(title + "|" + text);
      return answer;
    };
    window_ =
        std::make_unique<Win32MainWindow>(NumberedTables(GetParam()), MapLocations(folder_), seams);
    ShowWindow(window_->Handle(), SW_SHOWNA);
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(folder_);
  }

  /// Opens the map of a file holding `text` through File > Map.
  Win32MapWindow& Open(const std::string& name, const std::string& text) {
    const fs::path file = folder_ / name;
    Win32MapWindow& map = OpenMap(*window_, file, text);
    EXPECT_TRUE(map.Data() != nullptr && map.Data()->path() == Narrow(file.wstring())) << name;
    return map;
  }
  std::function<void(MSG&)> Dispatch() {
    return [this](MSG& message) { window_->Dispatch(message); };
  }
  static std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
  }
  static PixelPoint At(Win32MapWindow& map, LonLat position) {
    return map.Canvas().View().ToScreen(position);
  }
  static void Mouse(Win32MapWindow& map, UINT message, PixelPoint at, WPARAM keys = 0) {
    SendMessageW(
        map.Canvas().Handle(), message, keys,
        MAKELPARAM(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))));
  }
  std::string M(int number) const { return "M" + std::to_string(number); }

  fs::path folder_;
  std::unique_ptr<Win32MainWindow> window_;
  /// The boxes shown, as "title|text".
  std::vector<std::string> boxes_;
};

TEST_P(Win32MapTest, FileMenuOpensTheClustersOverTheLand) {
  const auto mapItemState = [this] {
    return GetMenuState(GetSubMenu(GetMenu(window_->Handle()), 0), Win32MainWindow::kMapCommand,
                        MF_BYCOMMAND);
  };
  EXPECT_NE(mapItemState() & MF_GRAYED, 0U);  // no input yet
  Win32MapWindow& map = Open("grid.csv", GridCsv(2000, 0.01));
  EXPECT_EQ(mapItemState() & MF_GRAYED, 0U);
  EXPECT_TRUE(map.Shown());
  EXPECT_EQ(Narrow(Text(map.Handle())), M(140) + " - grid.csv");
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 2,000");
  const std::vector<MapCluster>& clusters = map.Canvas().Clusters();
  const std::uint32_t counted =
      std::accumulate(clusters.begin(), clusters.end(), 0U,
                      [](std::uint32_t sum, const MapCluster& c) { return sum + c.count; });
  EXPECT_EQ(counted, 2000U);
  EXPECT_TRUE(std::any_of(clusters.begin(), clusters.end(),
                          [](const MapCluster& c) { return c.count > 1; }));
  EXPECT_EQ(map.Canvas().Attribution(), kLandAttribution);
  EXPECT_EQ(map.Canvas().Notice(), "");
}

TEST_P(Win32MapTest, TheLandLiesWhereItIsAndTheSeaElsewhere) {
  Win32MapWindow& map = Open("three.csv", kThreePlaces);
  // The land's rings are made off the window's thread: the sea alone until then.
  ASSERT_TRUE(
      PumpUntil([&] { return map.Canvas().DrawFrame(); }, std::chrono::seconds(30), Dispatch()));
  LocalFileSystem disk;
  const std::shared_ptr<const LandMap> land = SharedLandMap(disk, std::string(VELORIN_BIN) + "\\");
  int checked = 0;
  // Places away from the points and the corners' texts: land or sea as the
  // land file has them.
  for (const LonLat place : {LonLat{137.6, 36.1}, LonLat{134.0, 39.0}, LonLat{142.5, 38.0},
                             LonLat{140.5, 40.3}, LonLat{136.0, 37.5}, LonLat{139.0, 41.5}}) {
    const PixelPoint at = At(map, place);
    if (at.x < 20 || at.y < 20 || at.x > map.Canvas().View().width - 20 ||
        at.y > map.Canvas().View().height - 30)
      continue;
    ++checked;
    EXPECT_EQ(map.Canvas().PixelAt(static_cast<int>(at.x), static_cast<int>(at.y)),
              Gdi(land->Contains(place) ? kLandRgb : kSeaRgb))
        << place.longitude << " " << place.latitude;
  }
  EXPECT_GE(checked, 4);
  // Each point's dot where the point lies.
  const PixelPoint tokyo = At(map, {139.745433, 35.658581});
  EXPECT_EQ(map.Canvas().PixelAt(static_cast<int>(tokyo.x), static_cast<int>(tokyo.y)),
            Gdi(kPointRgb));
}

TEST_P(Win32MapTest, HoveringAPointSaysWhatItIs) {
  Win32MapWindow& map = Open("three.csv", kThreePlaces);
  Mouse(map, WM_MOUSEMOVE, At(map, {139.745433, 35.658581}));
  EXPECT_EQ(map.Canvas().TipText(), "Tokyo Tower\n" + M(154) + " 139'44'43'6 (139.745433000)\n" +
                                        M(155) + " 35'39'30'9 (35.658581000)\n" + M(150) +
                                        " $168733DF7E085B86\n" + M(149) + " 2");
  Mouse(map, WM_MOUSEMOVE, At(map, {137.6, 36.1}));
  EXPECT_EQ(map.Canvas().TipText(), "");
}

TEST_P(Win32MapTest, ACountedCircleSaysItsCountAndAClickZoomsToItsPoints) {
  Win32MapWindow& map = Open("grid.csv", GridCsv(2000, 0.01));
  const std::vector<MapCluster> clusters = map.Canvas().Clusters();
  const auto circle =
      std::max_element(clusters.begin(), clusters.end(),
                       [](const MapCluster& a, const MapCluster& b) { return a.count < b.count; });
  ASSERT_GT(circle->count, 1U);
  Mouse(map, WM_MOUSEMOVE, circle->screen);
  EXPECT_EQ(map.Canvas().TipText(), M(148) + " " + GroupedCount(circle->count));
  const double zoom = map.Canvas().View().zoom;
  Mouse(map, WM_LBUTTONDOWN, circle->screen, MK_LBUTTON);
  Mouse(map, WM_LBUTTONUP, circle->screen);
  EXPECT_GE(map.Canvas().View().zoom, zoom + 1);
  const std::optional<LonLat> first = map.Data()->editor->points().Position(circle->firstPoint);
  ASSERT_TRUE(first.has_value());
  const PixelPoint now = At(map, *first);
  EXPECT_TRUE(now.x >= 0 && now.y >= 0 && now.x < map.Canvas().View().width &&
              now.y < map.Canvas().View().height);
}

TEST_P(Win32MapTest, KeysButtonsWheelAndDragsMoveTheView) {
  Win32MapWindow& map = Open("grid.csv", GridCsv(500, 0.01));
  const HWND canvas = map.Canvas().Handle();
  const MapView fitted = map.Canvas().View();
  const auto zoom = [&] { return map.Canvas().View().zoom; };
  SendMessageW(canvas, WM_CHAR, L'+', 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom + 1);
  SendMessageW(canvas, WM_CHAR, L'-', 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom);
  SendMessageW(canvas, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_NEAR(At(map, fitted.center).x, fitted.width / 2.0 + fitted.width / 4.0, 0.5);
  SendMessageW(canvas, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_NEAR(At(map, fitted.center).y, fitted.height / 2.0 - fitted.height / 4.0, 0.5);
  SendMessageW(canvas, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(map.Canvas().View().center, fitted.center);
  SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom + 1);
  SendMessageW(canvas, WM_CHAR, L'0', 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom);
  SendMessageW(map.ControlHandle(kMapZoomIn), BM_CLICK, 0, 0);
  SendMessageW(map.ControlHandle(kMapZoomIn), BM_CLICK, 0, 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom + 2);
  SendMessageW(map.ControlHandle(kMapZoomOut), BM_CLICK, 0, 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom + 1);
  SendMessageW(map.ControlHandle(kMapFit), BM_CLICK, 0, 0);
  EXPECT_DOUBLE_EQ(zoom(), fitted.zoom);
  // Dragged 60 right and 30 down, the map follows the mouse.
  Mouse(map, WM_LBUTTONDOWN, {100, 100}, MK_LBUTTON);
  Mouse(map, WM_MOUSEMOVE, {130, 110}, MK_LBUTTON);
  Mouse(map, WM_MOUSEMOVE, {160, 130}, MK_LBUTTON);
  Mouse(map, WM_LBUTTONUP, {160, 130});
  EXPECT_NEAR(At(map, fitted.center).x, fitted.width / 2.0 + 60, 0.5);
  EXPECT_NEAR(At(map, fitted.center).y, fitted.height / 2.0 + 30, 0.5);
}

TEST_P(Win32MapTest, ItsPlaceIsRememberedAndKeptOnTheScreen) {
  WriteFile(folder_ / "velorin_map.ini",
            "[tiles]\r\nurl=none\r\n[window]\r\nx=-3000\r\ny=-3000\r\nwidth=700\r\nheight=500\r\n");
  Win32MapWindow& map = Open("three.csv", kThreePlaces);
  RECT rect{};
  GetWindowRect(map.Handle(), &rect);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(rect.right - rect.left, 700);
  EXPECT_EQ(rect.bottom - rect.top, 500);
  EXPECT_TRUE(rect.left >= work.left && rect.top >= work.top) << rect.left << " " << rect.top;
  SetWindowPos(map.Handle(), nullptr, 40, 30, 650, 450, SWP_NOZORDER);
  SendMessageW(map.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(map.Shown());
  EXPECT_EQ(ReadFile(folder_ / "velorin_map.ini"),
            "[tiles]\r\nurl=none\r\n[window]\r\nx=40\r\ny=30\r\nwidth=650\r\nheight=450\r\n");
  SendMessageW(window_->Handle(), WM_COMMAND, Win32MainWindow::kMapCommand, 0);
  GetWindowRect(map.Handle(), &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
}

TEST_P(Win32MapTest, RoutesAndTracksAreShownOnRequestAndRemembered) {
  const std::string gpx =
      "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"t\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\"><wpt lat=\"35.68\" lon=\"139.76\">"
      "<name>Station</name></wpt><trk><name>Walk</name><trkseg>"
      "<trkpt lat=\"35.60\" lon=\"139.60\"/><trkpt lat=\"35.70\" lon=\"139.70\"/>"
      "<trkpt lat=\"35.80\" lon=\"139.80\"/></trkseg></trk></gpx>";
  Win32MapWindow& map = Open("walk.gpx", gpx);
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 1");
  SendMessageW(map.Handle(), WM_COMMAND, kMapRoutesCommand, 0);
  ASSERT_TRUE(PumpUntil([&] { return Narrow(Text(map.ControlHandle(kMapCount))) != M(148) + " 1"; },
                        std::chrono::seconds(30), Dispatch()));
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 4");
  EXPECT_NE(GetMenuState(GetMenu(map.Handle()), kMapRoutesCommand, MF_BYCOMMAND) & MF_CHECKED, 0U);
  EXPECT_NE(ReadFile(folder_ / "velorin_map.ini").find("routes_and_tracks=1"), std::string::npos);
}

TEST_P(Win32MapTest, ANewInputIsShownAndEscapeHidesTheMap) {
  Win32MapWindow& map = Open("three.csv", kThreePlaces);
  const fs::path other = folder_ / "grid.csv";
  WriteFile(other, GridCsv(120, 0.02));
  window_->Presenter().AcceptInputPath(Narrow(other.wstring()).value_or(""));
  ASSERT_TRUE(
      PumpUntil([&] { return map.Data() != nullptr && map.Data()->read().points.size() == 120; },
                std::chrono::seconds(30), Dispatch()));
  EXPECT_EQ(Narrow(Text(map.Handle())), M(140) + " - grid.csv");
  SetFocus(map.Canvas().Handle());
  PostMessageW(map.Canvas().Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !map.Shown(); }, std::chrono::seconds(5), Dispatch()));
}

TEST_P(Win32MapTest, AFileThatCannotBeReadSaysSo) {
  const fs::path missing = folder_ / "gone.csv";
  window_->Presenter().AcceptInputPath(Narrow(missing.wstring()).value_or(""));
  window_->ShowMap();
  Win32MapWindow& map = *window_->Map();
  ASSERT_TRUE(
      PumpUntil([&] { return map.Data() != nullptr; }, std::chrono::seconds(30), Dispatch()));
  EXPECT_EQ(map.Canvas().Notice(), M(147));
  Open("empty.csv", "name,lat,lon\n");
  EXPECT_EQ(map.Canvas().Notice(), M(145));
}

TEST_P(Win32MapTest, AFileLargerThanTheMapSaysSoAtOnce) {
  Win32MapWindow& map = Open("three.csv", kThreePlaces);
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 3");
  map.SetCapacity(2);
  const fs::path grid = folder_ / "grid.csv";
  WriteFile(grid, GridCsv(5, 0.02));
  window_->Presenter().AcceptInputPath(Narrow(grid.wstring()).value_or(""));
  ASSERT_TRUE(PumpUntil(
      [&] {
        return map.File() == Narrow(grid.wstring()) && map.Data() != nullptr &&
               map.Data()->read().full;
      },
      std::chrono::seconds(30), Dispatch()));
  EXPECT_EQ(map.Data()->read().points.size(), 2U);
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 2");
  EXPECT_EQ(boxes_, std::vector<std::string>{M(91) + "|" + M(71) + " 2"});
}

// The OpenStreetMap objects of Tool > Option, as Convert keeps them.
TEST_P(Win32MapTest, AnExtractShowsTheObjectsToolOptionKeeps) {
  const std::string osm =
      "<?xml version=\"1.0\"?><osm version=\"0.6\">"
      "<node id=\"1\" lat=\"35.60\" lon=\"139.60\"><tag k=\"amenity\" v=\"fuel\"/>"
      "<tag k=\"name\" v=\"Fuel\"/></node>"
      "<node id=\"2\" lat=\"35.70\" lon=\"139.70\"><tag k=\"amenity\" v=\"parking\"/>"
      "<tag k=\"name\" v=\"Park\"/></node>"
      "<node id=\"3\" lat=\"35.80\" lon=\"139.80\"><tag k=\"amenity\" v=\"parking\"/>"
      "<tag k=\"name\" v=\"Lot\"/></node></osm>";
  window_->Presenter().OsmTagsCommand(OsmPreset::kParking);
  Win32MapWindow& map = Open("extract.osm", osm);
  EXPECT_EQ(Narrow(Text(map.ControlHandle(kMapCount))), M(148) + " 2");
}

INSTANTIATE_TEST_SUITE_P(Languages, Win32MapTest, ::testing::Values("0", "1"),
                         [](const auto& info) {
                           return std::string(info.param) == "0" ? "japanese" : "english";
                         });

}  // namespace
}  // namespace velorin
