// The NVI fields the window fills: the items under File show the choice of
// the settings file, a click changes it, the settings file keeps it, and
// the next conversion fills those fields.
#include <gtest/gtest.h>

#include "fake_main_view.h"
#include "platform/program_seams.h"
#include "startup/settings_entry.h"
#include "tests/support/temp_folder.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"

namespace velorin::window_test {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

constexpr MainMenu kItems[] = {MainMenu::kFileNviAddr, MainMenu::kFileNviComm,
                               MainMenu::kFileNviHpgl, MainMenu::kFileNviMail};

StartupTables Tables(const std::string& nviFields) {
  StartupTables tables;
  tables.systemSettings[0] = "1";
  tables.systemSettings[kNviFieldsSetting] = nviFields;
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n) {
    tables.messageTable[n] = "M" + std::to_string(n);
  }
  tables.messageTable[1] = "9";
  return tables;
}

/// "1010": the items checked, ADDR first.
std::string Checks(FakeMainView& view) {
  std::string checks;
  for (const MainMenu item : kItems) checks += view.menus[item].checked ? "1" : "0";
  return checks;
}

struct MenuCase {
  const char* name;
  std::string remembered;  ///< the settings entry at start-up
  std::vector<NviField> clicks;
  std::string checks;  ///< after the clicks
  std::string saved;   ///< the settings entry written
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

class NviFieldMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(NviFieldMenuTest, ClicksChangeTheChoiceAndTheSettingsKeepIt) {
  const MenuCase& c = GetParam();
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  // Sixteen lines, as start-up reads them: a settings file to write into.
  std::string lines;
  for (int line = 7; line <= 16; ++line) lines += "\r\n";
  const std::string settings = "1\r\n0\r\n\r\n0\r\n\r\n" + c.remembered + "\r\n" + lines;
  WriteBytes(folder.PathOf("velorin.ini"), settings);
  FakeMainView view;
  MainPresenter presenter(view, Tables(c.remembered), PortableLocations(folder.PathOf("")),
                          ProgramFileSystem(), ProgramClock());
  presenter.Load();
  EXPECT_EQ(view.menus[MainMenu::kFileNviAddr].text, "M174");
  EXPECT_EQ(view.menus[MainMenu::kFileNviMail].text, "M177");
  EXPECT_TRUE(view.menus[MainMenu::kFileNviSeparator].separator);
  for (const NviField field : c.clicks) presenter.NviFieldCommand(field);
  EXPECT_EQ(Checks(view), c.checks);
  EXPECT_EQ(ReadBytes(folder.PathOf("velorin.ini")),
            c.clicks.empty() ? settings : "1\r\n0\r\n\r\n0\r\n\r\n" + c.saved + "\r\n" + lines);
  EXPECT_TRUE(view.boxes.empty());
  // The next conversion fills the fields chosen.
  EXPECT_EQ(
      NviFieldListText(RunOptionsFromSettings(presenter.Tables().systemSettings).run.nviFields),
      c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, NviFieldMenuTest,
    ::testing::Values(
        MenuCase{"NoneAtFirst", "", {}, "0000", ""},
        MenuCase{"RememberedFromBefore", "addr,mail", {}, "1001", "addr,mail"},
        MenuCase{"AllRemembered", "all", {}, "1111", "all"},
        MenuCase{"UnknownEntryFillsNone", "street", {}, "0000", ""},
        MenuCase{"OneClickChecks", "", {NviField::kComm}, "0100", "comm"},
        MenuCase{"SecondClickUnchecks", "", {NviField::kHpgl, NviField::kHpgl}, "0000", ""},
        MenuCase{"FourMakeAll",
                 "addr",
                 {NviField::kComm, NviField::kHpgl, NviField::kMail},
                 "1111",
                 "all"},
        MenuCase{"OneOffAll", "all", {NviField::kAddr}, "0111", "comm,hpgl,mail"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NviFieldMenu, AChoiceThatCannotBeSavedIsSaidAndStillFilled) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  FakeMainView view;
  // No settings file where the locations say: nothing to write into.
  MainPresenter presenter(view, Tables(""), PortableLocations(folder.PathOf("gone/")),
                          ProgramFileSystem(), ProgramClock());
  presenter.Load();
  presenter.NviFieldCommand(NviField::kAddr);
  ASSERT_EQ(view.boxes.size(), 1U);
  EXPECT_EQ(view.boxes[0].title, "M91");
  EXPECT_EQ(view.boxes[0].text, "M178\r\n" + folder.PathOf("gone/velorin.ini"));
  EXPECT_FALSE(view.boxes[0].dropsOnWhileShown);
  EXPECT_EQ(view.boxes[0].icon, MessageIcon::kWarning) << "the fields are filled all the same";
  EXPECT_TRUE(view.controls[MainControl::kWindow].dropAccepted);
  EXPECT_EQ(Checks(view), "1000");
  EXPECT_EQ(
      NviFieldListText(RunOptionsFromSettings(presenter.Tables().systemSettings).run.nviFields),
      "addr");
}

TEST(NviFieldMenu, ARunningConversionIgnoresAClick) {
  FakeMainView view;
  MainPresenter presenter(view, Tables(""), PortableLocations("/nonexistent/velorin/"),
                          ProgramFileSystem(), ProgramClock());
  presenter.Load();
  presenter.ShowExecutionPanel(1);
  presenter.NviFieldCommand(NviField::kAddr);
  EXPECT_EQ(Checks(view), "0000");
  EXPECT_TRUE(view.boxes.empty());
}

}  // namespace
}  // namespace velorin::window_test
