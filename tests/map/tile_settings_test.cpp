// The tile server of the map's settings file: its [tiles] section's url,
// attribution and contact as they read (quoted or not, with a comment
// after), other sections left alone, the variable over the file, and a
// file that is no settings file left unread.
#include "map/tile_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/memory_file_system.h"
#include "platform/settings_file.h"

namespace velorin {
namespace {

const std::string kOsm = kOpenStreetMapTiles;
const std::string kOsmCredit = kOpenStreetMapAttribution;

struct SettingsCase {
  std::string name;
  std::string settings;
  std::optional<std::string> variable;
  std::string url;
  std::string credit;
  std::string contact;
};

class TileSettingsTest : public testing::TestWithParam<SettingsCase> {};

TEST_P(TileSettingsTest, ReadsTheServerAsTheFileSaysIt) {
  const SettingsCase& c = GetParam();
  const TileServer server =
      TileServerOfSettings(c.settings, c.variable ? c.variable->c_str() : nullptr);
  EXPECT_EQ(server.urlTemplate, c.url);
  EXPECT_EQ(server.attribution, c.credit);
  EXPECT_EQ(server.contact, c.contact);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TileSettingsTest,
    testing::Values(
        SettingsCase{"Empty", "", std::nullopt, kOsm, kOsmCredit, ""},
        SettingsCase{"Gsi",
                     "[tiles]\r\nurl=https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png\r\n"
                     "attribution=\xE5\x9C\xB0\xE7\x90\x86\xE9\x99\xA2\r\n",
                     std::nullopt, kGsiStandardTiles, "\xE5\x9C\xB0\xE7\x90\x86\xE9\x99\xA2", ""},
        SettingsCase{"CreditWithAComma",
                     "[tiles]\nurl=http://h/{z}/{x}/{y}.png\nattribution=A, B\n", std::nullopt,
                     "http://h/{z}/{x}/{y}.png", "A, B", ""},
        SettingsCase{"QuotedContactUnescaped",
                     "[tiles]\ncontact=\"me@example.org\\r\\nX: \\\"1\\\"\"\n", std::nullopt, kOsm,
                     kOsmCredit, "me@example.org\r\nX: \"1\""},
        SettingsCase{"CommentAfterAValue", "[tiles]\nurl = none ; offline\ncontact=me\n",
                     std::nullopt, "", "", ""},
        SettingsCase{"OtherSectionsLeftAlone",
                     "[window]\nurl=http://w/{z}/{x}/{y}.png\n[tiles]\ncontact=me\n[more]\n"
                     "url=none\n",
                     std::nullopt, kOsm, kOsmCredit, "me"},
        SettingsCase{"VariableOverTheFile",
                     "[tiles]\nurl=http://f/{z}/{x}/{y}.png\nattribution=F\ncontact=me\n",
                     "http://v/{z}/{x}/{y}.png", "http://v/{z}/{x}/{y}.png", kOsmCredit, "me"},
        SettingsCase{"VariableNone", "[tiles]\nurl=http://f/{z}/{x}/{y}.png\n", "none", "", "",
                     ""}),
    [](const auto& info) { return info.param.name; });

// A file that is no settings file (a picture or a program linked or copied
// in its place, or one longer than any settings file) chooses no server.
struct FileCase {
  const char* name;
  std::string bytes;
  bool chosen;  ///< its server is taken
};

class TileSettingsFileKindTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(TileSettingsFileKindTest, OnlyASettingsFileChoosesTheServer) {
  const FileCase& c = GetParam();
  if (std::getenv(kTileUrlVariable) != nullptr) GTEST_SKIP() << "VELORIN_TILE_URL is set";
  MemoryFileSystem files;
  files.AddFile("/map.ini", c.bytes);
  const TileServer server = TileServerFromSettings(files, "/map.ini");
  EXPECT_EQ(server.urlTemplate == "http://f/{z}/{x}/{y}.png", c.chosen) << server.urlTemplate;
  if (!c.chosen) {
    EXPECT_EQ(server.attribution, kOsmCredit);
  }
}

const std::string kServerLines = "[tiles]\nurl=http://f/{z}/{x}/{y}.png\n";

INSTANTIATE_TEST_SUITE_P(
    Files, TileSettingsFileKindTest,
    ::testing::Values(FileCase{"SettingsFile", kServerLines, true},
                      FileCase{"AfterTheMarkOfUtf8", "\xEF\xBB\xBF" + kServerLines, true},
                      FileCase{"ANulInside", kServerLines + std::string(1, '\0'), false},
                      FileCase{"ALineThatIsNoEntry", kServerLines + "MZ\x90\n", false},
                      FileCase{"LongerThanAnySettingsFile",
                               kServerLines + "; " + std::string(kSettingsFileLimit, 'x') + "\n",
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TileSettingsFileTest, AMissingFileMeansTheDefaults) {
  MemoryFileSystem files;
  EXPECT_EQ(TileServerFromSettings(files, "/missing.ini").attribution, kOsmCredit);
  files.AddFile("/map.ini", "[tiles]\nurl=none\n");
  if (std::getenv(kTileUrlVariable) == nullptr) {
    EXPECT_FALSE(TileServerFromSettings(files, "/map.ini").Enabled());
  }
}

}  // namespace
}  // namespace velorin
