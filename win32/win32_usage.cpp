#include "win32/win32_usage.h"

#include "window/window_formats.h"

namespace velorin {

std::string Win32UsageText() {
  return "Usage: velorin.exe [FILE]\n"
         "Converts point files into NVI files for car-navigation units, in a window.\n"
         "It reads " +
         WindowInputFormatNames() +
         " files.\n"
         "\n"
         "  FILE        take this point file as the input, as if it had been dropped on\n"
         "              the window (the output becomes the same name with .nvi)\n"
         "  -h, --help  show this help and exit\n"
         "  --version   show the version and exit\n"
         "\n"
         "velorin-cli.exe converts between these formats and draws maps in a command\n"
         "prompt; see docs\\command-line.md and docs\\windows.md beside the programs.\n";
}

}  // namespace velorin
