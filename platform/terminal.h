#pragma once
// Whether a person sits at the other end of a standard stream: a terminal on
// Linux, a real console on Windows (where the C runtime's isatty() also says
// yes for NUL). One sibling file per system.

namespace velorin {

bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();

}  // namespace velorin
