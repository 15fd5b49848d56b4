#pragma once
// The command line of the desktop program: `velorin [FILE...]`, the first FILE
// taken as a dropped file; `velorin --map FILE` opens the map of FILE as well;
// --help and --version answer without a window.
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

enum class WindowAction {
  kRun,         ///< open the window (with `file` as the input when given)
  kHelp,        ///< print the usage on standard output, exit 0
  kVersion,     ///< print the version on standard output, exit 0
  kUsageError,  ///< print `error` on standard error, exit 2
};

struct WindowArguments {
  WindowAction action = WindowAction::kRun;
  std::string file;   ///< the first file named; empty when none
  std::string error;  ///< what was wrong, for kUsageError
  bool map = false;   ///< --map: open the map of `file` beside the window
};

inline constexpr int kWindowUsageExit = 2;

/// The arguments after the program name. "--" ends the options, so that a
/// file whose name begins with "-" can be named; "-" alone is a file name.
/// "--map FILE" (or "--map=FILE") names the file whose map opens; it is the
/// input then, whatever other files are named.
WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments);

/// The text of --help of the Qt window (the Win32 window has its own), which
/// reads `inputFormats` ("POT, GPX and CSV").
std::string WindowUsageText(std::string_view inputFormats);

/// The text of --version: "velorin 0.2.0".
std::string WindowVersionText();

/// `argument` as an absolute path: relative names are taken from
/// `currentFolder`, as a shell means them.
std::string AbsoluteInputPath(const std::string& argument, const std::string& currentFolder);

}  // namespace velorin
