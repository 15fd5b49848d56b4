#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/map_command.h"
#include "cli/position_commands.h"
#include "cli/terminal.h"
#include "cli/usage_error.h"
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

/// The map command's switches as CLI11 sets them.
struct MapSwitches {
  bool labels = false;
  bool noLabels = false;
  std::string untitled = "keep";
  std::string inputEncoding = "auto";
};

void AddMapCommand(CLI::App& app, MapCommandOptions& options, MapSwitches& switches) {
  CLI::App* map = app.add_subcommand(
      "map", "Draw the points of a point file on a map of the land, as an SVG picture");
  map->add_option("--size", options.size, "Size of the picture in pixels")
      ->type_name("WIDTHxHEIGHT")
      ->capture_default_str();
  CLI::Option* labels =
      map->add_flag("--labels", switches.labels, "Write every title (no clusters)");
  map->add_flag("--no-labels", switches.noLabels, "Write no title")->excludes(labels);
  map->add_option("--untitled", switches.untitled,
                  "Points without a title: draw them as \"no title\" or skip them")
      ->check(CLI::IsMember({"keep", "skip"}))
      ->capture_default_str();
  map->add_option("--input-encoding", switches.inputEncoding,
                  "Encoding of a POT or CSV input, as for convert")
      ->check(CLI::IsMember({"auto", "cp932", "utf-8"}, CLI::ignore_case))
      ->capture_default_str();
  map->add_option("--from", options.from, "Format of INPUT instead of its extension")
      ->check(CLI::IsMember(FormatNames(false), CLI::ignore_case))
      ->type_name("FORMAT");
  map->add_option("--to", options.to,
                  "Skip the points a conversion into FORMAT would skip (default: as convert "
                  "INPUT would write, NVI or GPX for NVI input)")
      ->check(CLI::IsMember(FormatNames(true), CLI::ignore_case))
      ->type_name("FORMAT");
  map->add_option("INPUT", options.input,
                  "Point file to read (\"-\": standard input), as convert reads it")
      ->required();
  map->add_option("OUTPUT", options.output, "SVG file to write (\"-\": standard output)")
      ->required();
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
  MapCommandOptions mapOptions;
  MapSwitches mapSwitches;
  AddMapCommand(app, mapOptions, mapSwitches);
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
  if (app.got_subcommand("map")) {
    mapOptions.labels = mapSwitches.labels     ? LabelMode::kAll
                        : mapSwitches.noLabels ? LabelMode::kNone
                                               : LabelMode::kWhereRoom;
    mapOptions.untitled =
        mapSwitches.untitled == "keep" ? UntitledRule::kKeep : UntitledRule::kSkip;
    mapOptions.inputEncoding = InputEncodingFromName(mapSwitches.inputEncoding);
    return RunMapCommand(mapOptions, std::cerr);
  }
  if (app.got_subcommand("encode")) {
    return RunEncodeCommand(positionArguments.longitude, positionArguments.latitude, std::cout,
                            std::cerr);
  }
  return RunDecodeCommand(positionArguments.position, std::cout, std::cerr);
}

}  // namespace velorin
