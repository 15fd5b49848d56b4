// Map tiles of velorin.exe against tile_test_server.py on the loopback
// address (run_with_tile_server.py starts it): Velorin's User-Agent, two
// requests at a time, the disk cache, and a table of misbehaving servers
// (bodies endless or far too long, no picture, pictures far too large,
// redirects in a loop, errors) that must neither fill the memory or the
// disk nor be asked again and again; then the map window with tiles over
// its land, and its note when they fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "map/svg_map.h"
#include "map/tile_grid.h"
#include "platform/http_session_win32.h"
#include "win32/map_window.h"
#include "win32_map_support.h"
#include "win32_test_folder.h"

// <windows.h> comes in through the headers above; the process's memory
// needs this.
#include <psapi.h>

namespace velorin {
namespace {

using namespace win32_test;

std::string Port() {
  const char* port = std::getenv("VELORIN_TEST_TILE_PORT");
  return port != nullptr ? port : "";
}

std::string Server() { return "http://127.0.0.1:" + Port(); }

/// Asks the test server something: its answer's body.
std::string Ask(const std::string& path) {
  static const HttpSession session("velorin tests");
  HttpRequest request{Server() + path, {}, 1 << 20, std::chrono::seconds(10)};
  return session.Get(request, HttpCancel()).body;
}

std::vector<std::string> RequestedPaths() {
  std::vector<std::string> paths;
  std::istringstream lines(Ask("/requests"));
  for (std::string line; std::getline(lines, line);)
    paths.push_back(line.substr(0, line.find('\t')));
  return paths;
}

std::string LastUserAgent() {
  const std::string lines = Ask("/requests");
  const std::size_t tab = lines.rfind('\t');
  return tab == std::string::npos ? "" : lines.substr(tab + 1, lines.find('\n', tab) - tab - 1);
}

TileServer LocalServer() {
  return ChooseTileServer(Server() + "/{z}/{x}/{y}.png", std::string(), nullptr);
}

// A hidden window that hands the loader what its requests bring.
LRESULT CALLBACK LoaderWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loader = reinterpret_cast<Win32TileLoader*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (loader != nullptr && message == Win32TileLoader::kTilesMessage) loader->TakeFinished();
  if (loader != nullptr && message == WM_TIMER) loader->Wake();
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeLoaderWindow() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = LoaderWindow;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelorinTileTestWindow";
    return RegisterClassW(&windowClass) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowW(L"VelorinTileTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
}

/// A loader with its window.
struct Loader {
  Loader(TileServer server, const std::string& cache)
      : window(MakeLoaderWindow()), tiles(std::move(server), cache, window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tiles));
  }
  ~Loader() {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  bool Holds(const std::vector<TileId>& keys) {
    for (const TileId& key : keys) {
      if (tiles.Image(key) == nullptr) return false;
    }
    return true;
  }
  HWND window;
  Win32TileLoader tiles;
};

COLORREF CentreOf(const TileBitmap& tile) {
  DIBSECTION section{};
  GetObjectW(tile.bitmap(), sizeof section, &section);
  const auto* pixels = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
  const std::uint32_t pixel = pixels[tile.width() * (tile.height() / 2) + tile.width() / 2];
  return RGB((pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
}

// The colour tile_test_server.py gives tile z/x/y.
COLORREF TileColour(int z, int x, int y) {
  return RGB(40 + (z * 37) % 200, 40 + (x * 53) % 200, 40 + (y * 71) % 200);
}

std::uint64_t BytesUnder(const fs::path& folder) {
  std::uint64_t bytes = 0;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; ++it) {
    if (it->is_regular_file()) bytes += it->file_size();
  }
  return bytes;
}

std::uint64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage;
}

// Six tiles of one view, the first two asked for at once.
const std::vector<TileId> kSixTiles = {{7, 113, 50}, {7, 114, 50}, {7, 113, 51},
                                       {7, 114, 51}, {7, 115, 50}, {7, 115, 51}};

class Win32TilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Port().empty()) GTEST_SKIP() << "no tile server: run through run_with_tile_server.py";
    Ask("/behave/tiles");
    Ask("/delay/0");
    Ask("/clear");
    folder_ = win32_test::OwnTestFolder(L"velorin_tiles");
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Cache() const { return Narrow((folder_ / "cache").wstring() + L"\\").value_or(""); }

  fs::path folder_;
};

TEST_F(Win32TilesTest, RequestsNameVelorinAndItsVersionAndTwoGoAtOnce) {
  Ask("/delay/60");
  Loader loader(LocalServer(), "");
  const std::vector<TileId> keys = {{4, 1, 1}, {4, 2, 1}, {4, 3, 1}, {4, 1, 2}, {4, 2, 2}};
  loader.tiles.Want(keys);
  EXPECT_EQ(loader.tiles.RequestsInFlight(), kMaxTileRequests);
  ASSERT_TRUE(PumpUntil([&] { return loader.Holds(keys); }));
  EXPECT_EQ(RequestedPaths().size(), keys.size());
  EXPECT_EQ(Ask("/most-open"), "2");
  EXPECT_EQ(LastUserAgent(), "Velorin/0.2.0");
  EXPECT_EQ(CentreOf(*loader.tiles.Image({4, 3, 1})), TileColour(4, 3, 1));
}

TEST_F(Win32TilesTest, SecondOpeningWithinTheLifetimeAsksNothing) {
  const std::vector<TileId> keys = {{5, 27, 12}, {5, 28, 12}};
  {
    Loader first(LocalServer(), Cache());
    first.tiles.Want(keys);
    ASSERT_TRUE(PumpUntil([&] { return first.Holds(keys); }));
  }
  EXPECT_EQ(RequestedPaths().size(), keys.size());
  Loader second(LocalServer(), Cache());
  second.tiles.Want(keys);
  ASSERT_TRUE(PumpUntil([&] { return second.Holds(keys); }));
  EXPECT_EQ(RequestedPaths().size(), keys.size());  // from the disk cache alone
}

struct Misbehaviour {
  const char* name;
  const char* behaviour;
  int side;  ///< of the tiles held; 0: none held
  std::set<TileFailure> failures;
  std::size_t mostRequests;
};

void PrintTo(const Misbehaviour& c, std::ostream* out) { *out << c.name; }

class Win32MisbehavingServerTest : public Win32TilesTest,
                                   public ::testing::WithParamInterface<Misbehaviour> {};

TEST_P(Win32MisbehavingServerTest, NeitherFillsTheMemoryOrTheDiskNorIsAskedAgain) {
  const Misbehaviour& c = GetParam();
  Ask(std::string("/behave/") + c.behaviour);
  const std::uint64_t before = PrivateBytes();
  {
    Loader loader(LocalServer(), Cache());
    loader.tiles.SetRetryDelay(std::chrono::minutes(10));
    loader.tiles.SetBackOff(std::chrono::minutes(1), std::chrono::minutes(10));
    loader.tiles.Want(kSixTiles);
    ASSERT_TRUE(PumpUntil([&] {
      return loader.tiles.RequestsInFlight() == 0 &&
             (c.failures.empty() ? loader.Holds(kSixTiles)
                                 : loader.tiles.FailureOf(kSixTiles[0]).has_value());
    }));
    for (const TileId& tile : kSixTiles) {
      const TileBitmap* image = loader.tiles.Image(tile);
      EXPECT_EQ(image != nullptr ? image->width() : 0, c.side);
      if (const std::optional<TileFailure> why = loader.tiles.FailureOf(tile)) {
        EXPECT_EQ(c.failures.count(*why), 1U) << static_cast<int>(*why);
      }
    }
    // A failing server is left alone: nothing more goes out for a while.
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_LE(RequestedPaths().size(), c.mostRequests);
    EXPECT_LT(PrivateBytes(), before + 64 * 1024 * 1024);
  }
  // Nothing refused lies in the disk cache: once the server is mended, the
  // next opening asks for those tiles again; good tiles come from the disk.
  EXPECT_LT(BytesUnder(folder_), 2U * 1024 * 1024);
  const std::size_t asked = RequestedPaths().size();
  Ask("/behave/tiles");
  Loader mended(LocalServer(), Cache());
  mended.tiles.Want(kSixTiles);
  ASSERT_TRUE(PumpUntil([&] { return mended.Holds(kSixTiles); }));
  EXPECT_EQ(RequestedPaths().size() - asked, c.side > 0 ? 0U : kSixTiles.size());
}

using F = TileFailure;

INSTANTIATE_TEST_SUITE_P(
    Servers, Win32MisbehavingServerTest,
    ::testing::Values(
        Misbehaviour{"GoodTiles", "tiles", 256, {}, 6},
        Misbehaviour{"LargeTilesDecodedAsDrawn", "large", 256, {}, 6},
        Misbehaviour{"EndlessBodyStopped", "endless", 0, {F::kTooLarge}, 2},
        Misbehaviour{"HugeLengthRefusedAtOnce", "huge-length", 0, {F::kTooLarge}, 2},
        Misbehaviour{"RandomBytes", "not-image", 0, {F::kNotAnImage}, 2},
        // WIC may refuse such a header outright rather than read its size.
        Misbehaviour{"DeclaredHugeRefusedBeforeDecoding",
                     "declared-huge",
                     0,
                     {F::kTooManyPixels, F::kNotAnImage},
                     2},
        Misbehaviour{"HugePictureRefusedBeforeDecoding", "huge-picture", 0, {F::kTooManyPixels}, 2},
        // Two tiles at once, each followed through three redirects, then rest.
        Misbehaviour{"RedirectLoop", "redirect-loop", 0, {F::kRedirectedAway}, 8},
        Misbehaviour{"ServerError", "server-error", 0, {F::kServerFault}, 2},
        // A server that has no such tiles answers: the other tiles are asked.
        Misbehaviour{"MissingTiles", "missing", 0, {F::kMissing}, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32TilesTest, TheMapDrawsTilesOverItsLandAndSaysWhenTheyFail) {
  WriteFile(folder_ / "velorin_map.ini", "[tiles]\r\nurl=" + Server() + "/{z}/{x}/{y}.png\r\n");
  WriteFile(folder_ / "three.csv", "name,lat,lon\nA,35.65,139.74\nB,34.68,135.52\n");
  LocalFileSystem files;
  Win32MapWindow map(NumberedTables("1"), MapLocations(folder_), nullptr, files);
  map.Show();
  map.ShowFile(Narrow((folder_ / "three.csv").wstring()).value_or(""));
  ASSERT_TRUE(PumpUntil([&] { return map.Data() != nullptr; }));
  const std::vector<TileId> wanted = DistinctTiles(TilesOfView(map.Canvas().View()));
  ASSERT_TRUE(PumpUntil([&] {
    for (const TileId& tile : wanted) {
      if (map.Tiles().Image(tile) == nullptr) return false;
    }
    return true;
  }));
  ASSERT_TRUE(PumpUntil([&] { return map.Canvas().DrawFrame(); }));
  EXPECT_EQ(map.Canvas().Attribution(), "© OpenStreetMap contributors");
  EXPECT_EQ(LastUserAgent(), "Velorin/0.2.0");
  // A corner of the map away from the points and the texts: the tile there.
  const PixelPoint corner{20, 20};
  const int z = TileZoomOf(map.Canvas().View());
  const TileId under = TileOfPixel(ProjectToPixel(map.Canvas().View().ToLonLat(corner), z), z);
  EXPECT_EQ(map.Canvas().PixelAt(20, 20), TileColour(under.z, under.x, under.y));
  // The server fails from now on: far away, the land alone, and a note.
  Ask("/behave/server-error");
  map.Tiles().SetRetryDelay(std::chrono::minutes(10));
  map.Canvas().PanBy(20000, 0);
  ASSERT_TRUE(PumpUntil([&] {
    map.Canvas().DrawFrame();
    return map.Canvas().ShowsTilesFailed();
  }));
  EXPECT_EQ(map.Canvas().Attribution(), kLandAttribution);
}

}  // namespace
}  // namespace velorin
