#pragma once
// `velorin-cli map`: the points of a point file, read as `convert` reads
// them, drawn on the offline land as an SVG picture.
#include <iosfwd>
#include <optional>
#include <string>

#include "map/svg_map.h"
#include "text/text_encoding.h"

namespace velorin {

struct MapCommandOptions {
  std::string size = "1024x768";  ///< WIDTHxHEIGHT
  LabelMode labels = LabelMode::kWhereRoom;
  UntitledRule untitled = UntitledRule::kKeep;
  std::optional<TextEncoding> inputEncoding;
  std::optional<std::string> from;  ///< input format name (--from)
  std::optional<std::string> to;    ///< the conversion's output format (--to)
  std::string input;                ///< "-" is standard input
  std::string output;               ///< "-" is standard output
  /// The land file; found beside the program or in its data folder when empty.
  std::string landPath;
};

/// "800x600" as a size of at least 16 and at most 20000 pixels each way.
std::optional<std::pair<int, int>> ParseMapSize(std::string_view text);

/// The land file: beside the program (a build tree, an unpacked folder) or
/// in the installed data folder.
std::string DefaultLandPath();

/// Runs the command; what it says goes to `err`. Returns the exit code.
int RunMapCommand(const MapCommandOptions& options, std::ostream& err);

}  // namespace velorin
