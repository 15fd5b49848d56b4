#pragma once
// `velorin-cli convert` between any two point formats: the formats chosen
// from --from/--to or the paths, POT to NVI handed to the conversion run as
// always, every other pair run through a point reader and writer.
#include <string>
#include <variant>

#include "cli/convert_command.h"
#include "formats/format_table.h"

namespace velorin {

struct FormatChoice {
  PointFormat input = PointFormat::kPot;
  PointFormat output = PointFormat::kNvi;
  std::string outputPath;  ///< as given, or the default for the input ("-": standard output)
};

/// The formats of a command: --from and --to when given, else the paths'
/// extensions (standard input counts as POT, standard output as NVI, or as
/// GPX when the input is NVI). A one-line usage error, without the
/// program's name, when an option does not apply to them.
std::variant<FormatChoice, std::string> ChooseFormats(const ConvertOptions& options);

/// Runs the convert command for any pair of formats; returns the exit code.
int RunConvertBetweenFormats(const ConvertOptions& options, ConvertConsole& console);

}  // namespace velorin
