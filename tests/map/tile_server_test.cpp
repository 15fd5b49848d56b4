// The tile server chosen from the settings' URL and credit and the
// VELORIN_TILE_URL variable; the User-Agent its requests carry.
#include "map/tile_server.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velorin {
namespace {

constexpr char kLocal[] = "http://127.0.0.1:9/{z}/{x}/{y}.png";

struct ChoiceCase {
  std::string name;
  std::string settingsUrl;
  std::string settingsCredit;
  std::optional<std::string> variable;  ///< nullopt: not set
  std::string url;
  std::string credit;
};

class TileServerTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(TileServerTest, ChoosesTheServerAndItsCredit) {
  const ChoiceCase& c = GetParam();
  const TileServer server =
      ChooseTileServer(c.settingsUrl, c.settingsCredit, c.variable ? c.variable->c_str() : nullptr);
  EXPECT_EQ(server.urlTemplate, c.url);
  EXPECT_EQ(server.attribution, c.credit);
  EXPECT_EQ(server.Enabled(), !c.url.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TileServerTest,
    testing::Values(
        ChoiceCase{"NothingSetMeansOpenStreetMap", "", "", std::nullopt, kOpenStreetMapTiles,
                   kOpenStreetMapAttribution},
        ChoiceCase{"GsiGetsItsOwnCredit", kGsiStandardTiles, "", std::nullopt, kGsiStandardTiles,
                   kGsiAttribution},
        ChoiceCase{"SettingsCreditGoesWithSettingsUrl", kLocal, "© Local", std::nullopt, kLocal,
                   "© Local"},
        ChoiceCase{"OtherServersCreditOpenStreetMap", kLocal, "", std::nullopt, kLocal,
                   kOpenStreetMapAttribution},
        ChoiceCase{"NoneSwitchesTilesOff", "none", "", std::nullopt, "", ""},
        ChoiceCase{"VariableWinsOverSettings", kGsiStandardTiles, "© GSI", kLocal, kLocal,
                   kOpenStreetMapAttribution},
        ChoiceCase{"VariableNoneSwitchesTilesOff", kGsiStandardTiles, "", "none", "", ""},
        ChoiceCase{"EmptyVariableLeavesTheSettings", kGsiStandardTiles, "", "", kGsiStandardTiles,
                   kGsiAttribution},
        ChoiceCase{"TemplateWithoutYIsNoServer", "http://h/{z}/{x}.png", "", std::nullopt, "", ""}),
    [](const auto& info) { return info.param.name; });

struct AgentCase {
  std::string name;
  std::string contact;
  std::string agent;
};

class TileUserAgentTest : public testing::TestWithParam<AgentCase> {};

TEST_P(TileUserAgentTest, NamesVelorinAndTheUsersContactOnly) {
  EXPECT_EQ(TileUserAgent("0.2.0", GetParam().contact), GetParam().agent);
}

INSTANTIATE_TEST_SUITE_P(
    Contacts, TileUserAgentTest,
    testing::Values(
        AgentCase{"NoContact", "", "Velorin/0.2.0"},
        AgentCase{"OnlySpaces", "   ", "Velorin/0.2.0"},
        AgentCase{"Mail", "me@example.org", "Velorin/0.2.0 (me@example.org)"},
        AgentCase{"SpacesAroundTrimmed", "  me@example.org ", "Velorin/0.2.0 (me@example.org)"},
        AgentCase{"LineEndsCannotAddAHeader", "me@example.org\r\nX-Evil: 1",
                  "Velorin/0.2.0 (me@example.orgX-Evil: 1)"},
        AgentCase{"BracketsCannotCloseTheComment", "a) b (c\\", "Velorin/0.2.0 (a b c)"},
        AgentCase{"OnlyAsciiKept", "\xE5\xB1\xB1\xE7\x94\xB0 yamada@example.org",
                  "Velorin/0.2.0 (yamada@example.org)"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
