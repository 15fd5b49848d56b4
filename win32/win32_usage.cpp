#include "win32/win32_usage.h"

#include "window/window_formats.h"

namespace velorin {

std::string Win32UsageText() {
  return "Usage: velorin.exe [FILE]\n"
         "       velorin.exe --map FILE\n"
         "Converts point files into NVI files for car-navigation units, in a window.\n"
         "It reads " +
         WindowInputFormatNames() +
         " files.\n"
         "\n"
         "  FILE        take this point file as the input, as if it had been dropped on\n"
         "              the window (the output becomes the same name with .nvi)\n"
         "  --map FILE  take FILE as the input and open its map beside the window\n"
         "  -h, --help  show this help and exit\n"
         "  --version   show the version and exit\n"
         "\n"
         "velorin-cli.exe converts between these formats and draws maps as pictures in\n"
         "a command prompt; see docs\\command-line.md and docs\\windows.md beside the\n"
         "programs.\n";
}

}  // namespace velorin
