// Whole conversions hosted by the window rules on a view without a toolkit:
// the questions and the final message of each way a run ends, the running
// layout seen from inside the run's event step, and the idle layout after.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fake_main_view.h"
#include "platform/program_seams.h"
#include "window/main_presenter.h"

namespace velorin::window_test {
namespace {

namespace fs = std::filesystem;
using C = MainControl;

std::string PointLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "ORD=POI/tex=P" + std::to_string(i) + "/kei=139'46'1'6/ido=35'40'52'3\r\n";
  return text;
}

struct RunCase {
  const char* name;
  const char* input;   ///< file name in the folder; "" writes no input file
  const char* output;  ///< file name in the folder
  std::vector<MessageAnswer> answers;
  bool cancelInFirstStep;
  std::string lastBoxStart;  ///< how the last box's text begins
  bool outputWritten;
};

class WindowRunTest : public ::testing::TestWithParam<RunCase> {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("velorin_window_run_" + std::string(GetParam().name));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

StartupTables RunTables() {
  StartupTables tables;
  tables.systemSettings[0] = "1";
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[1] = "9";
  return tables;
}

TEST_P(WindowRunTest, AsksAndEndsWithItsMessage) {
  const RunCase& c = GetParam();
  const fs::path input = folder_ / (*c.input ? c.input : "missing.pot");
  if (*c.input) std::ofstream(input, std::ios::binary) << PointLines(20);
  FakeMainView view;
  MainPresenter presenter(view, RunTables(), PortableLocations(folder_.string() + "/"),
                          ProgramFileSystem(), ProgramClock());
  presenter.Load();
  presenter.AcceptInputPath(input.string());
  presenter.AcceptOutputPath((folder_ / c.output).string());
  presenter.SetEventStepInterval(0);
  for (MessageAnswer answer : c.answers) view.boxAnswers.push_back(answer);
  bool sawRunningLayout = false;
  view.onEventStep = [&] {
    if (sawRunningLayout) return;
    sawRunningLayout = view.controls[C::kCommand_for_Cancel].visible &&
                       !view.controls[C::kFrame_for_POT].visible &&
                       !view.controls[C::kWindow].dropAccepted && !presenter.CanClose();
    if (c.cancelInFirstStep) presenter.CancelCommand();
  };

  presenter.ConvertCommand();

  ASSERT_FALSE(view.boxes.empty());
  for (const FakeBox& box : view.boxes) EXPECT_FALSE(box.unexpected) << box.text;
  EXPECT_EQ(view.boxes.back().text.rfind(c.lastBoxStart, 0), 0U) << view.boxes.back().text;
  EXPECT_EQ(fs::exists(folder_ / c.output), c.outputWritten);
  // A run that got as far as its records showed the running layout.
  if (c.lastBoxStart.starts_with("M106") || c.lastBoxStart.starts_with("M110")) {
    EXPECT_TRUE(sawRunningLayout);
  }
  // Every way out of a run ends in the idle layout with drops on.
  EXPECT_TRUE(view.controls[C::kFrame_for_POT].visible);
  EXPECT_FALSE(view.controls[C::kCommand_for_Cancel].visible);
  EXPECT_TRUE(view.controls[C::kWindow].dropAccepted);
  EXPECT_TRUE(presenter.CanClose());
}

using A = MessageAnswer;

INSTANTIATE_TEST_SUITE_P(
    Runs, WindowRunTest,
    ::testing::Values(
        RunCase{"finished", "in.pot", "out.nvi", {A::kYes, A::kOk}, false, "M106\r\nM107 20", true},
        RunCase{"cancelled",
                "in.pot",
                "out.nvi",
                {A::kYes, A::kYes, A::kOk},
                true,
                "M110\r\nM111 0",
                true},
        RunCase{"not_started", "in.pot", "out.nvi", {A::kNo}, false, "M100\r\nM101", false},
        RunCase{"same_path", "in.pot", "in.pot", {A::kOk}, false, "M120\r\nM121", true},
        RunCase{"input_missing", "", "out.nvi", {A::kYes, A::kOk}, false, "M122\r\nM123", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin::window_test
