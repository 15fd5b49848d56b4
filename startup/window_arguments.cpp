#include "startup/window_arguments.h"

#include <filesystem>

#include "startup/version.h"

namespace velorin {
namespace {

constexpr char kMapOption[] = "--map";
constexpr char kMapOptionWithValue[] = "--map=";

WindowArguments UsageError(std::string error) {
  return {WindowAction::kUsageError, std::string(), std::move(error), false};
}

}  // namespace

WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments) {
  WindowArguments result;
  std::string mapFile;
  bool options = true;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options && argument == kMapOption) {
      if (i + 1 == arguments.size()) return UsageError("option '--map' needs a file");
      mapFile = arguments[++i];
      result.map = true;
    } else if (options && argument.rfind(kMapOptionWithValue, 0) == 0) {
      mapFile = argument.substr(sizeof(kMapOptionWithValue) - 1);
      if (mapFile.empty()) return UsageError("option '--map' needs a file");
      result.map = true;
    } else if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {WindowAction::kHelp, std::string(), std::string(), false};
    } else if (options && argument == "--version") {
      return {WindowAction::kVersion, std::string(), std::string(), false};
    } else if (options && argument.size() > 1 && argument.front() == '-') {
      return UsageError("unknown option '" + argument + "'");
    } else if (result.file.empty()) {
      result.file = argument;  // more than one file: the first counts, as with a drop
    }
  }
  if (result.map) result.file = mapFile;
  return result;
}

std::string WindowUsageText(std::string_view inputFormats) {
  return "Usage: velorin [FILE]\n"
         "       velorin --map FILE\n"
         "Converts point files into NVI files for car-navigation units, in a window,\n"
         "and shows their points on a map.\n"
         "It reads " +
         std::string(inputFormats) +
         " files.\n"
         "\n"
         "  FILE        take this point file as the input, as if it had been dropped on\n"
         "              the window (the output becomes the same name with .nvi)\n"
         "  --map FILE  the same, and open the map of its points beside the window\n"
         "  -h, --help  show this help and exit\n"
         "  --version   show the version and exit\n"
         "\n"
         "VELORIN_TILE_URL (a tile URL with {z}, {x} and {y}, or \"none\") chooses the\n"
         "map's tile server for this run.\n"
         "velorin-cli converts between these formats and NVI and draws maps as SVG\n"
         "pictures, from the command line; see velorin(1) and velorin-cli(1).\n";
}

std::string WindowVersionText() { return std::string("velorin ") + kVersionNumber; }

std::string AbsoluteInputPath(const std::string& argument, const std::string& currentFolder) {
  if (argument.empty() || argument.front() == '/') return argument;
  return (std::filesystem::path(currentFolder) / argument).lexically_normal().string();
}

}  // namespace velorin
