#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"
#include "cli/convert_names.h"
#include "cli/exit_codes.h"
#include "cli/map_command.h"
#include "cli/position_commands.h"
#include "cli/printable_text.h"
#include "cli/usage_error.h"
#include "formats/point_kinds.h"
#include "platform/terminal.h"
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

/// A distance in metres: a decimal number, 0 or more.
std::optional<double> ParseMetres(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
    return std::nullopt;
  }
  char* end = nullptr;
  const double metres = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(metres)) return std::nullopt;
  return metres;
}

CsvEncoding CsvEncodingFromName(std::string_view name) {
  if (EqualsIgnoringAsciiCase(name, "utf-8-bom")) return CsvEncoding::kUtf8Bom;
  if (EqualsIgnoringAsciiCase(name, "cp932")) return CsvEncoding::kCp932;
  return CsvEncoding::kUtf8;
}

/// The options of several inputs, their output and what becomes of their
/// points: -o, --output-dir, --dedupe, --csv-encoding.
struct ManyInputArguments {
  ConvertNames names;
  std::string dedupe;  ///< the metres of --dedupe, as given
  std::string csvEncoding = "utf-8";
  CLI::Option* dedupeOption = nullptr;
  CLI::Option* csvEncodingOption = nullptr;
};

void AddManyInputOptions(CLI::App& convert, ManyInputArguments& arguments) {
  CLI::Option* output =
      convert
          .add_option("-o,--output", arguments.names.output,
                      "File to write every INPUT into, in the order given (\"-\": standard "
                      "output); the only way to name an existing point file as OUTPUT")
          ->type_name("OUTPUT");
  convert
      .add_option("--output-dir", arguments.names.outputDir,
                  "Convert each INPUT into its own file in DIR, named as without OUTPUT")
      ->type_name("DIR")
      ->excludes(output);
  arguments.dedupeOption =
      convert.add_flag("--dedupe{0}", arguments.dedupe,
                       "Drop a point whose title a point written before has within METRES "
                       "(default 0: the same position)");
  arguments.dedupeOption->type_name("[=METRES]");
  arguments.csvEncodingOption =
      convert
          .add_option("--csv-encoding", arguments.csvEncoding,
                      "Encoding of CSV output: utf-8, utf-8-bom (a byte-order mark first, as "
                      "spreadsheet programs want) or cp932 (closest characters)")
          ->check(CLI::IsMember({"utf-8", "utf-8-bom", "cp932"}, CLI::ignore_case))
          ->capture_default_str();
}

/// Puts the arguments of AddManyInputOptions into `options`; the usage error
/// in words when they do not fit.
std::string TakeManyInputArguments(const ManyInputArguments& arguments, ConvertOptions& options) {
  if (arguments.dedupeOption->count() > 0) {
    const std::optional<double> metres = ParseMetres(arguments.dedupe);
    if (!metres) {
      return "--dedupe takes a distance in metres, 0 or more, as --dedupe=METRES, not '" +
             PrintableText(arguments.dedupe) + "'";
    }
    options.dedupeMetres = metres;
  }
  if (arguments.csvEncodingOption->count() > 0) {
    options.csvEncoding = CsvEncodingFromName(arguments.csvEncoding);
  }
  return ArrangeNames(arguments.names, options);
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
                       std::string& inputEncoding, ManyInputArguments& manyInputs) {
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
      ->add_option("INPUT", manyInputs.names.names,
                   "Files to read (\"-\": standard input, once): each POT unless its extension "
                   "is .nvi, .gpx, .kml, .kmz, .csv, .tsv (read as CSV), .geojson or .json, or "
                   "its first bytes show another format. Without -o or --output-dir, a second "
                   "name is OUTPUT: the file to write (\"-\": standard output), NVI unless its "
                   "extension is .gpx, .kml, .csv, .geojson, .json or .pot; default: INPUT with "
                   "the extension of the format written (.nvi, or .gpx for NVI input, unless --to "
                   "says)")
      ->required();
  AddManyInputOptions(*convert, manyInputs);
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

int RunConvert(const ConvertOptions& options, const std::optional<std::string>& outputDir) {
  const bool terminal = StandardErrorIsTerminal();
  ConvertConsole console{std::cerr};
  console.answers = terminal && StandardInputIsTerminal() ? &std::cin : nullptr;
  console.progressTerminal = terminal ? stderr : nullptr;
  console.catchInterrupt = true;
  if (outputDir) return RunConvertEach(options, *outputDir, console);
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
  ManyInputArguments manyInputs;
  AddConvertCommand(app, convertOptions, untitled, inputEncoding, manyInputs);
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
    if (const std::string misfit = TakeManyInputArguments(manyInputs, convertOptions);
        !misfit.empty()) {
      std::cerr << "velorin-cli: " << misfit << "\n";
      return kExitUsage;
    }
    return RunConvert(convertOptions, manyInputs.names.outputDir);
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
