#include <unistd.h>

#include "platform/terminal.h"

namespace velorin {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace velorin
