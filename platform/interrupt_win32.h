#pragma once
// Windows only: what a read that waits on a pipe or console also waits on.
#include <windows.h>

namespace velorin {

/// A manual-reset event that is set when a console event has come; null
/// when the handler is not installed.
HANDLE InterruptWakeEvent();

}  // namespace velorin
