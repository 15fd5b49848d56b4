#include "window/main_layout.h"

namespace velorin {
namespace {

using C = MainControl;

constexpr TwipsPlacement kLayout[] = {
    {C::kFrame1, C::kWindow, 0, -90, 4695, 105},
    {C::kFrame_for_POT, C::kWindow, 45, 135, 4560, 690},
    {C::kText_for_POT, C::kFrame_for_POT, 135, 270, 3885, 285},
    {C::kCommand_for_POT, C::kFrame_for_POT, 4095, 270, 330, 285},
    {C::kFrame_for_NVI, C::kWindow, 45, 945, 4560, 690},
    {C::kText_for_NVI, C::kFrame_for_NVI, 135, 270, 3885, 285},
    {C::kCommand_for_NVI, C::kFrame_for_NVI, 4095, 270, 330, 285},
    {C::kCommand_for_Convert, C::kWindow, 3555, 1755, 1050, 375},
    {C::kCommand_for_Quit, C::kWindow, 2340, 1755, 1050, 375},
    {C::kFrame_for_While_Execute, C::kWindow, 45, 45, 4560, 1590},
    {C::kLabel_for_While_Execute1, C::kFrame_for_While_Execute, 225, 315, 4155, 420},
    {C::kLabel_for_While_Execute2, C::kFrame_for_While_Execute, 225, 990, 4155, 285},
    {C::kCommand_for_Cancel, C::kWindow, 3555, 1755, 1050, 375},
};

}  // namespace

std::span<const TwipsPlacement> MainWindowLayout() { return kLayout; }

}  // namespace velorin
