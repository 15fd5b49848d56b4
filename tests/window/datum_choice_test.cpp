// The window's datum choices under Tool > Option: read from the settings
// file, ticked in the menu, turned over by a click and written back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_main_view.h"
#include "platform/program_seams.h"
#include "tests/support/temp_folder.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"

namespace velorin::window_test {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;

struct SettingsCase {
  const char* name;
  std::vector<std::string> entries;  ///< from entry 8 on; fewer when the table is short
  Datum input;
  Datum output;
};

void PrintTo(const SettingsCase& c, std::ostream* out) { *out << c.name; }

class DatumSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(DatumSettings, GiveTheRunsDatums) {
  std::vector<std::string> settings(8);
  settings.insert(settings.end(), GetParam().entries.begin(), GetParam().entries.end());
  const WindowRunOptions options = RunOptionsFromSettings(settings);
  EXPECT_EQ(options.run.inputDatum, GetParam().input);
  EXPECT_EQ(options.run.outputDatum, GetParam().output);
}

constexpr Datum kTokyo = Datum::kTokyo;
constexpr Datum kWgs84 = Datum::kWgs84;

// Exactly "tokyo", as every entry is compared whole and in its case.
INSTANTIATE_TEST_SUITE_P(
    Entries, DatumSettings,
    ::testing::Values(SettingsCase{"AsShipped", {"", ""}, kWgs84, kWgs84},
                      SettingsCase{"InputInTokyo", {"tokyo", ""}, kTokyo, kWgs84},
                      SettingsCase{"OutputInTokyo", {"wgs84", "tokyo"}, kWgs84, kTokyo},
                      SettingsCase{"OtherCase", {"Tokyo", "TOKYO"}, kWgs84, kWgs84},
                      SettingsCase{"Blanks", {" tokyo", "tokyo "}, kWgs84, kWgs84},
                      SettingsCase{"TableTooShort", {"tokyo"}, kTokyo, kWgs84}),
    [](const auto& info) { return std::string(info.param.name); });

StartupTables Tables(const std::string& input, const std::string& output) {
  StartupTables tables;
  tables.systemSettings[0] = "1";
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[1] = "9";
  tables.systemSettings[kInputDatumEntry] = input;
  tables.systemSettings[kOutputDatumEntry] = output;
  return tables;
}

/// The lines of a portable copy's settings file: sixteen, the last
/// without a line end.
const std::vector<std::string> kSettingsLines = {"1", "0", "", "1", "kept", "", "", "",
                                                 "",  "",  "", "",  "",     "", "", "last"};

std::string SettingsFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

class DatumChoiceTest : public ::testing::Test {
 protected:
  explicit DatumChoiceTest(const std::string& input = "", const std::string& output = "")
      : presenter_(view_, Tables(input, output), PortableLocations(folder_.Folder()),
                   ProgramFileSystem(), ProgramClock()) {
    folder_.Write("velorin.ini", SettingsFile(kSettingsLines));
    presenter_.Load();
  }
  std::string SettingsLine(std::size_t index) const {
    std::string text = ReadBytes(folder_.PathOf("velorin.ini"));
    for (std::size_t i = 0; i < index; ++i) text.erase(0, text.find("\r\n") + 2);
    return text.substr(0, text.find("\r\n"));
  }

  TempFolder folder_;
  FakeMainView view_;
  MainPresenter presenter_;
};

TEST_F(DatumChoiceTest, TheToolMenuShowsOptionWithTheChoicesUnticked) {
  EXPECT_TRUE(view_.menus[MainMenu::kTool].visible);
  EXPECT_TRUE(view_.menus[MainMenu::kToolOption].visible);
  EXPECT_EQ(view_.menus[MainMenu::kToolOption].text, "M16");
  EXPECT_EQ(view_.menus[MainMenu::kToolOptionInputDatum].text, "M170");
  EXPECT_EQ(view_.menus[MainMenu::kToolOptionOutputDatum].text, "M171");
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionInputDatum].checked);
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionOutputDatum].checked);
  EXPECT_EQ(presenter_.InputDatum(), Datum::kWgs84);
}

TEST_F(DatumChoiceTest, AClickTurnsTheChoiceOverAndKeepsItInTheSettingsFile) {
  presenter_.InputDatumCommand();
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionInputDatum].checked);
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionOutputDatum].checked);
  EXPECT_EQ(presenter_.InputDatum(), Datum::kTokyo);
  EXPECT_EQ(RunOptionsFromSettings(presenter_.Tables().systemSettings).run.inputDatum,
            Datum::kTokyo);
  // Line 9 alone changed; the others keep every byte.
  std::vector<std::string> expected = kSettingsLines;
  expected[kInputDatumEntry] = "tokyo";
  EXPECT_EQ(ReadBytes(folder_.PathOf("velorin.ini")), SettingsFile(expected));

  presenter_.OutputDatumCommand();
  presenter_.OutputDatumCommand();
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionOutputDatum].checked);
  EXPECT_EQ(SettingsLine(kOutputDatumEntry), "wgs84");
  EXPECT_EQ(SettingsLine(4), "kept");
  EXPECT_EQ(SettingsLine(15), "last");
}

// The OpenStreetMap kinds sit under Option too: a click adds the kind's
// tags to line 11, or takes them out, every other byte kept.
TEST_F(DatumChoiceTest, AnOsmKindIsAddedToTheTagsKeptAndTakenOut) {
  EXPECT_EQ(view_.menus[MainMenu::kToolOptionOsmFuel].text, "M181");
  EXPECT_EQ(view_.menus[MainMenu::kToolOptionOsmParking].text, "M184");
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionOsmFuel].checked);
  presenter_.OsmTagsCommand(OsmPreset::kFuel);
  presenter_.OsmTagsCommand(OsmPreset::kServices);
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionOsmFuel].checked);
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionOsmServices].checked);
  EXPECT_EQ(SettingsLine(kOsmTagsEntry), "amenity=fuel,highway=services,highway=rest_area");
  EXPECT_EQ(RunOptionsFromSettings(presenter_.Tables().systemSettings).run.osm.tags.Text(),
            "amenity=fuel,highway=services,highway=rest_area");
  presenter_.OsmTagsCommand(OsmPreset::kFuel);
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionOsmFuel].checked);
  std::vector<std::string> expected = kSettingsLines;
  expected[kOsmTagsEntry] = "highway=services,highway=rest_area";
  EXPECT_EQ(ReadBytes(folder_.PathOf("velorin.ini")), SettingsFile(expected));
}

TEST_F(DatumChoiceTest, AChoiceThatCannotBeWrittenHoldsForTheSession) {
  std::filesystem::remove(folder_.PathOf("velorin.ini"));
  presenter_.OutputDatumCommand();
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionOutputDatum].checked);
  EXPECT_EQ(RunOptionsFromSettings(presenter_.Tables().systemSettings).run.outputDatum,
            Datum::kTokyo);
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_FALSE(testutil::Exists(folder_.PathOf("velorin.ini")));
}

class RememberedDatumTest : public DatumChoiceTest {
 protected:
  RememberedDatumTest() : DatumChoiceTest("tokyo", "tokyo") {}
};

TEST_F(RememberedDatumTest, IsTickedAtTheStart) {
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionInputDatum].checked);
  EXPECT_TRUE(view_.menus[MainMenu::kToolOptionOutputDatum].checked);
  presenter_.InputDatumCommand();
  EXPECT_FALSE(view_.menus[MainMenu::kToolOptionInputDatum].checked);
  EXPECT_EQ(SettingsLine(kInputDatumEntry), "wgs84");
}

}  // namespace
}  // namespace velorin::window_test
