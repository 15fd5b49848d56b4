#pragma once
// What velorin.exe says of itself on its command line: it differs from the Qt
// window's (no man pages, Windows' programs and folders).
#include <string>

namespace velorin {

/// The text of velorin.exe --help.
std::string Win32UsageText();

}  // namespace velorin
