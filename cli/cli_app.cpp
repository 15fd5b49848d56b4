#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/position_commands.h"
#include "cli/terminal.h"
#include "cli/usage_error.h"
#include "formats/point_kinds.h"
#include "text/ascii.h"

namespace velorin {

namespace {

struct PositionArguments {
  std::string longitude;
  std::string latitude;
  std::string position;
};

/// The names --from takes (every format of the table), or --to takes (those
/// with a writer).
std::vector<std::string> FormatNames(bool written) {
  std::vector<std::string> names;
  for (const FormatInfo& info : PointFormats()) {
    if (!written || info.makeWriter != nullptr) names.emplace_back(info.name);
  }
  return names;
}

/// --points and --thin: the points read of a file with routes and tracks.
void AddPointKindOptions(CLI::App& convert, ConvertOptions& options) {
  convert
      .add_option_function<std::string>(
          "--points",
          [&options](const std::string& text) { options.points = *ParsePointKinds(text); },
          "Points read of a GPX, KML, KMZ or GeoJSON input: any of waypoints, routes, tracks, "
          "comma-separated (default: waypoints)")
      ->check(CLI::Validator(
          [](std::string& text) {
            return ParsePointKinds(text) ? std::string()
                                         : "expects waypoints, routes and tracks, "
                                           "comma-separated (e.g. waypoints,tracks), not '" +
                                               text + "'";
          },
          "KINDS"))
      ->type_name("KINDS");
  convert
      .add_option("--thin", options.thinMetres,
                  "Keep a track point only when it lies at least METRES along the track from "
                  "the last one kept (each segment's first and last are kept; 0 keeps all)")
      ->check(CLI::Validator(
          [](std::string& text) {
            double metres = 0.0;
            const bool number = CLI::detail::lexical_cast(text, metres);
            return number && std::isfinite(metres) && metres >= 0.0
                       ? std::string()
                       : "expects a distance in metres, 0 or more, not '" + text + "'";
          },
          "METRES"))
      ->type_name("METRES")
      ->capture_default_str();
}

void AddConvertCommand(CLI::App& app, ConvertOptions& options, std::string& untitled,
                       std::string& inputEncoding) {
  CLI::App* convert =
      app.add_subcommand("convert",
                         "Convert points of interest into NVI, or between POT, NVI, GPX, KML "
                         "(KMZ read only), CSV and GeoJSON");
  convert
      ->add_option("--untitled", untitled,
                   "Points without a title: keep them as \"no title\" or skip them")
      ->check(CLI::IsMember({"keep", "skip"}))
      ->capture_default_str();
  convert
      ->add_option("--log", options.logPath,
                   "Write what became of the input to FILE: every line of a POT file, every "
                   "skipped point of the others")
      ->type_name("FILE");
  convert
      ->add_option(
          "--timestamp", options.timestamp,
          "Date and time written into every record instead of the local clock (NVI output)")
      ->type_name("'YYYY/MM/DD HH:MM:SS'");
  convert->add_flag("--force", options.force, "Overwrite an existing output file without asking");
  convert->add_flag("--explain", options.explain,
                    "Tell on standard error why each skipped point line was skipped");
  convert
      ->add_option("--input-encoding", inputEncoding,
                   "Encoding of a POT or CSV input: chosen from its first bytes (auto: UTF-8 "
                   "when they clearly are, else CP932), or as given")
      ->check(CLI::IsMember({"auto", "cp932", "utf-8"}, CLI::ignore_case))
      ->capture_default_str();
  AddPointKindOptions(*convert, options);
  // Point formats beyond POT and NVI.
  convert->add_option("--from", options.from, "Format of INPUT instead of its extension")
      ->check(CLI::IsMember(FormatNames(false), CLI::ignore_case))
      ->type_name("FORMAT");
  convert->add_option("--to", options.to, "Format of OUTPUT instead of its extension")
      ->check(CLI::IsMember(FormatNames(true), CLI::ignore_case))
      ->type_name("FORMAT");
  convert
      ->add_option("INPUT", options.input,
                   "File to read (\"-\": standard input): POT unless its extension is .nvi, "
                   ".gpx, .kml, .kmz, .csv, .tsv (read as CSV), .geojson or .json, or its first "
                   "bytes show another format")
      ->required();
  convert->add_option(
      "OUTPUT", options.output,
      "File to write (\"-\": standard output): NVI unless its extension is "
      ".gpx, .kml, .csv, .geojson, .json or .pot; default: INPUT with the extension of the "
      "format written (.nvi, or .gpx for NVI input, unless --to says)");
}

void AddPositionCommands(CLI::App& app, PositionArguments& arguments) {
  CLI::App* encode =
      app.add_subcommand("encode", "Print the NVI position text of two coordinate texts");
  encode->add_option("LONGITUDE", arguments.longitude, "Longitude as D'M'S'T")->required();
  encode->add_option("LATITUDE", arguments.latitude, "Latitude as D'M'S'T")->required();

  CLI::App* decode = app.add_subcommand(
      "decode", "Print the longitude and latitude of an NVI position text ($ and 16 hex digits)");
  decode->add_option("POSITION", arguments.position, "Position text, e.g. $168736AFD305033D")
      ->required();
}

std::optional<TextEncoding> InputEncodingFromName(std::string_view name) {
  if (EqualsIgnoringAsciiCase(name, "cp932")) return TextEncoding::kCp932;
  if (EqualsIgnoringAsciiCase(name, "utf-8")) return TextEncoding::kUtf8;
  return std::nullopt;
}

int RunConvert(const ConvertOptions& options) {
  const bool terminal = StandardErrorIsTerminal();
  ConvertConsole console{std::cerr};
  console.answers = terminal && StandardInputIsTerminal() ? &std::cin : nullptr;
  console.progressTerminal = terminal ? stderr : nullptr;
  console.catchInterrupt = true;
  return RunConvertCommand(options, console);
}

}  // namespace

int RunCliApp(int argc, char** argv) {
  CLI::App app{
      "Converts lists of points of interest into NVI files for car navigation units, and "
      "between the point formats: reads POT, NVI, GPX, KML, KMZ and CSV; writes NVI, POT, GPX, "
      "KML and CSV.",
      "velorin-cli"};
  app.set_version_flag("--version", kCliVersion);
  // On Windows CLI11 would take "/tmp/x.pot" for an option "/tmp...".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);

  ConvertOptions convertOptions;
  std::string untitled = "keep";
  std::string inputEncoding = "auto";
  PositionArguments positionArguments;
  AddConvertCommand(app, convertOptions, untitled, inputEncoding);
  AddPositionCommands(app, positionArguments);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return app.exit(done);  // --help or --version: printed on standard output
  } catch (const CLI::ParseError& error) {
    std::cerr << "velorin-cli: " << UsageErrorText(error, app) << "\n";
    return kExitUsage;
  }

  if (app.got_subcommand("convert")) {
    convertOptions.untitled = untitled == "keep" ? UntitledRule::kKeep : UntitledRule::kSkip;
    convertOptions.inputEncoding = InputEncodingFromName(inputEncoding);
    return RunConvert(convertOptions);
  }
  if (app.got_subcommand("encode")) {
    return RunEncodeCommand(positionArguments.longitude, positionArguments.latitude, std::cout,
                            std::cerr);
  }
  return RunDecodeCommand(positionArguments.position, std::cout, std::cerr);
}

}  // namespace velorin
