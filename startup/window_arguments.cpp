#include "startup/window_arguments.h"

#include <filesystem>

#include "startup/version.h"

namespace velorin {

WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments) {
  WindowArguments result;
  bool options = true;
  for (const std::string& argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {WindowAction::kHelp, std::string(), std::string()};
    } else if (options && argument == "--version") {
      return {WindowAction::kVersion, std::string(), std::string()};
    } else if (options && argument.size() > 1 && argument.front() == '-') {
      return {WindowAction::kUsageError, std::string(), "unknown option '" + argument + "'"};
    } else if (result.file.empty()) {
      result.file = argument;  // more than one file: the first counts, as with a drop
    }
  }
  return result;
}

std::string WindowUsageText() {
  return "Usage: velorin [FILE]\n"
         "Converts POT point lists into NVI files for car-navigation units, in a window.\n"
         "\n"
         "  FILE        take this POT file as the input, as if it had been dropped on\n"
         "              the window (the output becomes the same name with .nvi)\n"
         "  -h, --help  show this help and exit\n"
         "  --version   show the version and exit\n"
         "\n"
         "velorin-cli converts from the command line; see velorin(1) and velorin-cli(1).\n";
}

std::string WindowVersionText() { return std::string("velorin ") + kVersionNumber; }

std::string AbsoluteInputPath(const std::string& argument, const std::string& currentFolder) {
  if (argument.empty() || argument.front() == '/') return argument;
  return (std::filesystem::path(currentFolder) / argument).lexically_normal().string();
}

}  // namespace velorin
