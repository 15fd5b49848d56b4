#pragma once
// The About box of the Win32 window: program name, version, the copyright
// notice by language and the program icon, laid out from twips. Modal.
// <windows.h> first: the declaration below needs its types.
#include <windows.h>
// Then the rest.
#include "window/main_view.h"

namespace velorin {

/// Shows the box over `owner`; returns when it has closed.
void ShowWin32AboutBox(HWND owner, const AboutContent& content);

}  // namespace velorin
