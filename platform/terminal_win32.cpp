#include <windows.h>

#include "platform/handle_win32.h"
#include "platform/terminal.h"

namespace velorin {

bool StandardInputIsTerminal() { return IsConsoleHandle(GetStdHandle(STD_INPUT_HANDLE)); }
bool StandardErrorIsTerminal() { return IsConsoleHandle(GetStdHandle(STD_ERROR_HANDLE)); }

}  // namespace velorin
