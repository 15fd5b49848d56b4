// What the Win32 map window says when a reading ends short: a file that
// cannot be read, one whose reading fails part way, one with no points,
// one larger than the map. The files are in memory, so that a reading can
// be made to fail; boxes are answered through the seams.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "map/map_messages.h"
#include "platform/memory_file_system.h"
#include "win32/map_window.h"
#include "win32_map_support.h"

namespace velorin {
namespace {

using namespace win32_test;

constexpr char kSix[] =
    "name,lat,lon\n"
    "Tokyo,35.6812,139.7671\n"
    "Osaka,34.7025,135.4959\n"
    "Nagoya,35.1709,136.8815\n"
    "Sapporo,43.0687,141.3508\n"
    "Fukuoka,33.5902,130.4017\n"
    "Sendai,38.2601,140.8824\n";

struct ReadingCase {
  const char* name;
  std::string path;
  std::int32_t capacity;
  std::string notice;
  std::string detailsStart;
  std::string count;
  /// The boxes shown, as "title|text".
  std::vector<std::string> boxes;
  /// Reading the file fails after so many bytes.
  std::optional<std::size_t> failsAfter;
};

class Win32MapReadingTest : public ::testing::TestWithParam<ReadingCase> {
 protected:
  static std::string Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Narrow(text).value_or("?");
  }

  MemoryFileSystem files_;
  std::vector<std::string> boxes_;
};

TEST_P(Win32MapReadingTest, SaysWhatWasNotRead) {
  files_.AddFile("/map/velorin_map.ini", "[tiles]\r\nurl=none\r\n");
  files_.AddFile("/m/six.csv", kSix);
  files_.AddFile("/m/empty.csv", "name,lat,lon\n");
  files_.FaultsOf("/m/six.csv").readFailsAfter = GetParam().failsAfter;
  FileLocations locations;
  // Land of its own: none, and the real land's copy shared by other tests
  // left alone.
  locations.dataFolder = "/land/";
  locations.mapSettingsPath = "/map/velorin_map.ini";
  locations.tileCacheFolder = "/map/tiles/";
  Win32Seams seams;
  seams.messageBox = [this](const std::string& title, const std::string& text, MessageButtons,
                            MessageAnswer answer, MessageIcon) {
    boxes_.push_back(title + "|" + text);
    return answer;
  };
  Win32MapWindow map(NumberedTables("1"), locations, nullptr, files_, seams);
  int shown = 0;
  map.SetShownListener([&shown] { ++shown; });
  map.SetCapacity(GetParam().capacity);
  ASSERT_TRUE(map.ShowFile(GetParam().path));
  ASSERT_TRUE(PumpUntil([&] { return shown > 0; }));
  EXPECT_EQ(map.Canvas().Notice(), GetParam().notice);
  EXPECT_EQ(Text(map.ControlHandle(kMapDetails)).substr(0, GetParam().detailsStart.size()),
            GetParam().detailsStart);
  EXPECT_EQ(Text(map.ControlHandle(kMapCount)), GetParam().count);
  EXPECT_EQ(boxes_, GetParam().boxes);
  EXPECT_EQ(shown, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, Win32MapReadingTest,
    ::testing::Values(
        ReadingCase{"Whole", "/m/six.csv", kMapPointLimit, "", "", "M148 6", {}, {}},
        ReadingCase{"Missing", "/m/gone.csv", kMapPointLimit, "M147", "", "M148 0", {}, {}},
        // The points read before stay; the details say why no more.
        ReadingCase{"ReadFails", "/m/six.csv", kMapPointLimit, "", "M147\r\n", "M148 1", {}, 50},
        ReadingCase{"NoPoints", "/m/empty.csv", kMapPointLimit, "M145", "", "M148 0", {}, {}},
        ReadingCase{"Full", "/m/six.csv", 2, "", "", "M148 2", {"M91|M71 2"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
