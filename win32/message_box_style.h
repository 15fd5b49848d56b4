#pragma once
// The style MessageBoxW is given for a box of the window: its buttons, the
// default one, and the icon of its kind (none for the boxes of a run).
// <windows.h> first: UINT.
#include <windows.h>

#include "window/message_box_request.h"

namespace velorin {

/// Application-modal; Yes/No with Yes or No as the default, else OK alone.
UINT Win32MessageBoxStyle(MessageButtons buttons, MessageAnswer defaultAnswer, MessageIcon icon);

}  // namespace velorin
