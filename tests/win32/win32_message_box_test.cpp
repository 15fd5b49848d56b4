// The style of velorin.exe's message boxes: the run's boxes without icon,
// the others with the icon of their kind; the buttons and the default one.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "win32/message_box_style.h"

namespace velorin {
namespace {

struct StyleCase {
  const char* name;
  MessageButtons buttons;
  MessageAnswer defaultAnswer;
  MessageIcon icon;
  UINT style;
};

void PrintTo(const StyleCase& c, std::ostream* out) { *out << c.name; }

class MessageBoxStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageBoxStyleTest, HasTheButtonsAndTheIconOfItsKind) {
  const StyleCase& c = GetParam();
  EXPECT_EQ(Win32MessageBoxStyle(c.buttons, c.defaultAnswer, c.icon), c.style);
}

constexpr UINT kModal = MB_APPLMODAL;

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxStyleTest,
    ::testing::Values(StyleCase{"StartQuestion", MessageButtons::kYesNo, MessageAnswer::kYes,
                                MessageIcon::kNone, kModal | MB_YESNO | MB_DEFBUTTON1},
                      StyleCase{"OverwriteQuestion", MessageButtons::kYesNo, MessageAnswer::kNo,
                                MessageIcon::kNone, kModal | MB_YESNO | MB_DEFBUTTON2},
                      StyleCase{"RunFailure", MessageButtons::kOk, MessageAnswer::kOk,
                                MessageIcon::kNone, kModal | MB_OK},
                      StyleCase{"Help", MessageButtons::kOk, MessageAnswer::kOk,
                                MessageIcon::kInformation, kModal | MB_OK | MB_ICONINFORMATION},
                      StyleCase{"SettingsNotKept", MessageButtons::kOk, MessageAnswer::kOk,
                                MessageIcon::kWarning, kModal | MB_OK | MB_ICONWARNING},
                      StyleCase{"RefusedArgument", MessageButtons::kOk, MessageAnswer::kOk,
                                MessageIcon::kError, kModal | MB_OK | MB_ICONERROR}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
