#pragma once
// `velorin-cli convert` between any two point formats: the formats chosen
// from --from/--to or the paths, POT to NVI handed to the conversion run as
// always, every other pair run through a point reader and writer.
#include <string>

#include "cli/convert_command.h"
#include "formats/format_table.h"

namespace velorin {

struct FormatChoice {
  PointFormat input = PointFormat::kPot;
  PointFormat output = PointFormat::kNvi;
  std::string outputPath;  ///< as given, or the default for the input ("-": standard output)
  /// An option that does not apply to these formats: one line, without the
  /// program's name; empty when all is well.
  std::string usageError;
};

/// The formats of a command: --from and --to when given, else the paths'
/// extensions (standard input counts as POT, standard output as NVI, or as
/// GPX when the input is NVI), and whether every option applies to them.
FormatChoice ChooseFormats(const ConvertOptions& options);

/// Runs the convert command for any pair of formats; returns the exit code.
int RunConvertBetweenFormats(const ConvertOptions& options, ConvertConsole& console);

}  // namespace velorin
