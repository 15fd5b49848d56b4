#pragma once
// Windows only: the program's command line as the words it was started
// with, in UTF-8, for a program whose entry point is not wmain (velorin.exe
// is a window's program).
#include <string>
#include <vector>

namespace velorin {

/// The arguments, without the program's own name; a word that cannot be
/// UTF-8 (a lone surrogate) is empty.
std::vector<std::string> ProgramArguments();

}  // namespace velorin
