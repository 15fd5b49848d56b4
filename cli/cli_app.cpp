#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
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
#include "cli/empty_value.h"
#include "cli/exit_codes.h"
#include "cli/format_help.h"
#include "cli/map_command.h"
#include "cli/point_options.h"
#include "cli/position_commands.h"
#include "cli/printable_text.h"
#include "cli/stdio_file_system.h"
#include "cli/usage_error.h"
#include "formats/point_kinds.h"
#include "geo/datum.h"
#include "platform/terminal.h"
#include "text/ascii.h"

namespace velorin {

namespace {

struct PositionArguments {
  std::string longitude;
  std::string latitude;
  std::string position;
};

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

Datum DatumFromName(std::string_view name) {
  return DatumNamed(AsciiToLower(name)).value_or(Datum::kWgs84);
}

/// The names --input-datum and --output-datum take.
std::vector<std::string> DatumNames() {
  return {std::string(DatumName(Datum::kWgs84)), std::string(DatumName(Datum::kTokyo))};
}

std::optional<TextEncoding> InputEncodingFromName(std::string_view name) {
  if (EqualsIgnoringAsciiCase(name, "cp932")) return TextEncoding::kCp932;
  if (EqualsIgnoringAsciiCase(name, "utf-8")) return TextEncoding::kUtf8;
  return std::nullopt;
}

/// Help that names a flag with a default value ("--dedupe{0}") as it is
/// typed: "--dedupe".
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_name(const CLI::Option* option, bool positional) const override {
    std::string name = CLI::Formatter::make_option_name(option, positional);
    for (std::size_t open = name.find('{'); open != std::string::npos; open = name.find('{')) {
      const std::size_t close = name.find('}', open);
      if (close == std::string::npos) break;
      name.erase(open, close + 1 - open);
    }
    return name;
  }
};

/// A check that names nothing in the help (the option's type name says it).
CLI::Validator Silent(std::function<std::string(std::string&)> check) {
  CLI::Validator validator(std::move(check), "");
  return validator;
}

/// The options of a command that reads points and writes them (convert) or
/// draws them (map), as CLI11 sets them: the names, which points are read
/// and kept, and what becomes of an existing output.
struct PointArguments {
  ConvertOptions options;
  ConvertNames names;
  std::string untitled = "keep";
  std::string inputEncoding = "auto";
  std::string inputDatum = "wgs84";
  std::string dedupe;  ///< the metres of --dedupe, as given
  /// The filters as given, in their order.
  std::vector<SelectionArgument> selection;
  std::string sort;  ///< empty: the input's order
  CLI::Option* dedupeOption = nullptr;
  CLI::Option* outputOption = nullptr;
};

void AddPointKindOptions(CLI::App& command, ConvertOptions& options) {
  command
      .add_option_function<std::string>(
          "--points",
          [&options](const std::string& text) { options.points = *ParsePointKinds(text); },
          "Points read of a " + FormatsWithOption(FormatOption::kPointKinds, false, " or ") +
              " input: any of waypoints, routes, tracks, comma-separated (default: waypoints)")
      ->check(Silent([](std::string& text) {
        return ParsePointKinds(text) ? std::string()
                                     : "expects waypoints, routes and tracks, comma-separated "
                                       "(e.g. waypoints,tracks), not '" +
                                           text + "'";
      }))
      ->type_name("KINDS");
  command
      .add_option("--thin", options.thinMetres,
                  "Keep a track point only when it lies at least METRES along the track from "
                  "the last one kept (each segment's first and last are kept; 0 keeps all; "
                  "default 50)")
      ->check(Silent([](std::string& text) {
        double metres = 0.0;
        const bool number = CLI::detail::lexical_cast(text, metres);
        return number && std::isfinite(metres) && metres >= 0.0
                   ? std::string()
                   : "expects a distance in metres, 0 or more, not '" + text + "'";
      }))
      ->type_name("METRES");
}

/// --osm-tags and --osm-name: what an OSM extract gives.
void AddOsmOptions(CLI::App& command, ConvertOptions& options) {
  command
      .add_option_function<std::string>(
          "--osm-tags",
          [&options](const std::string& text) {
            std::string error;
            options.osm.tags = ParseOsmTags(text, error).value_or(OsmTagFilter{});
          },
          "Objects kept of an " + FormatsWithOption(FormatOption::kOsmTags, false, " or ") +
              " input: nodes, closed ways and multipolygons with any of these tags (KEY=* for "
              "any value), e.g. amenity=fuel,highway=services,natural=hot_spring; required for "
              "such an input")
      ->check(Silent([](std::string& text) {
        std::string error;
        return ParseOsmTags(text, error) ? std::string() : error;
      }))
      ->type_name("KEY=VALUE[,...]");
  command
      .add_option_function<std::string>(
          "--osm-name",
          [&options](const std::string& text) {
            options.osm.nameLanguage = text;
            options.osmNameGiven = true;
          },
          "Title an " + FormatsWithOption(FormatOption::kOsmTags, false, " or ") +
              " object by its name:LANG where it has one (ja, en ...), else by its name")
      ->check(Silent([](std::string& text) {
        return IsOsmLanguage(text) ? std::string()
                                   : "expects a language code such as ja or en, not '" + text + "'";
      }))
      ->type_name("LANG");
}

/// --near, --within, --match, --exclude and --sort.
void AddSelectionOptions(CLI::App& command, PointArguments& arguments) {
  struct Filter {
    const char* option;
    const char* value;
    const char* help;
  };
  static constexpr Filter kFilters[] = {
      {"--near", "LAT,LON,RADIUS",
       "Keep the points within RADIUS (with its unit: 500m, 50km) of the position LAT,LON in "
       "decimal degrees, along the earth's surface"},
      {"--within", "SOUTH,WEST,NORTH,EAST",
       "Keep the points between these latitudes and longitudes in decimal degrees (across 180 "
       "degrees when WEST > EAST)"},
      {"--match", "REGEX",
       "Keep the points whose title matches REGEX (ECMAScript syntax, A-Z and a-z alike, on "
       "the title as written)"},
      {"--exclude", "REGEX",
       "Drop the points whose title matches REGEX (the filters apply one after another, in "
       "the order given)"},
  };
  for (const Filter& filter : kFilters) {
    // Taken as each is parsed, so that they apply in the order given.
    command
        .add_option_function<std::string>(
            filter.option,
            [&arguments, option = filter.option](const std::string& value) {
              arguments.selection.push_back({option, value});
            },
            filter.help)
        ->type_name(filter.value)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
  command
      .add_option("--sort", arguments.sort,
                  "Write the points in the order of their titles, or nearest to --near's centre "
                  "first; all are held in memory until the input ends")
      ->check(CLI::IsMember({"title", "distance"}))
      ->type_name("KEY");
}

/// What both commands share: the names, --untitled, --input-encoding,
/// --points, --thin, --from, --dedupe, --log, the filters and --sort,
/// --force, --explain.
void AddPointOptions(CLI::App& command, PointArguments& arguments, const std::string& inputHelp) {
  ConvertOptions& options = arguments.options;
  command
      .add_option("--untitled", arguments.untitled,
                  "Points without a title: keep them as \"no title\" or skip them")
      ->check(CLI::IsMember({"keep", "skip"}))
      ->capture_default_str();
  command
      .add_option("--input-encoding", arguments.inputEncoding,
                  "Encoding of a " +
                      FormatsWithOption(FormatOption::kInputEncoding, false, " or ") +
                      " input: chosen from its bytes (auto: UTF-8 when they clearly are, else "
                      "CP932), or as given")
      ->check(CLI::IsMember({"auto", "cp932", "utf-8"}, CLI::ignore_case))
      ->capture_default_str();
  command
      .add_option("--input-datum", arguments.inputDatum,
                  "Datum of the positions of a " +
                      FormatsWithOption(FormatOption::kInputDatum, false, " or ") +
                      " input, which their files do not say: wgs84 or tokyo (the Tokyo datum "
                      "of older Japanese units and maps, moved by the operation PROJ chooses). "
                      "Other formats are WGS 84")
      ->check(CLI::IsMember(DatumNames(), CLI::ignore_case))
      ->capture_default_str();
  AddPointKindOptions(command, options);
  AddOsmOptions(command, options);
  command.add_option("--from", options.from, "Format of each INPUT instead of its extension")
      ->check(CLI::IsMember(FormatOptionNames(false), CLI::ignore_case))
      ->type_name("FORMAT");
  arguments.dedupeOption =
      command.add_flag("--dedupe{0}", arguments.dedupe,
                       "Drop a point whose title a point kept before has within METRES "
                       "(--dedupe alone: 0, the same position)");
  arguments.dedupeOption->type_name("[=METRES]");
  command
      .add_option("--log", options.logPath,
                  "Write what became of the input to FILE: every line of a POT file, every "
                  "skipped point of the others")
      ->type_name("FILE");
  AddSelectionOptions(command, arguments);
  command.add_flag("--force", options.force, "Replace an existing output file without asking");
  command.add_flag("--explain", options.explain,
                   "Tell on standard error why each skipped point was skipped, and which "
                   "points the filters left out");
  command.add_option("INPUT", arguments.names.names, inputHelp)->required();
}

/// Puts the arguments of AddPointOptions into their options; the usage
/// error in words when they do not fit.
std::string TakePointArguments(PointArguments& arguments) {
  ConvertOptions& options = arguments.options;
  options.untitled = arguments.untitled == "keep" ? UntitledRule::kKeep : UntitledRule::kSkip;
  options.inputEncoding = InputEncodingFromName(arguments.inputEncoding);
  options.inputDatum = DatumFromName(arguments.inputDatum);
  if (arguments.dedupeOption->count() > 0) {
    const std::optional<double> metres = ParseMetres(arguments.dedupe);
    if (!metres) {
      return "--dedupe takes a distance in metres, 0 or more, as --dedupe=METRES, not '" +
             PrintableText(arguments.dedupe) + "'";
    }
    options.dedupeMetres = metres;
  }
  ParsedSelection selection = ParsePointSelection(arguments.selection, arguments.sort);
  if (!selection.error.empty()) return PrintableText(selection.error);
  options.filters = std::move(selection.filters);
  options.sort = selection.sort;
  return ArrangeNames(arguments.names, options);
}

/// convert's own options: its output forms and what the written file holds.
struct ConvertArguments {
  PointArguments points;
  std::string csvEncoding = "utf-8";
  CLI::Option* csvEncodingOption = nullptr;
  std::string outputDatum = "wgs84";
  std::string nviFields;
  CLI::Option* nviFieldsOption = nullptr;
};

std::string ConvertInputHelp() {
  return "Files to read (\"-\": standard input, once): each POT unless its extension is " +
         InputExtensionsText() +
         ", or its first bytes show another format; a folder: the photos in it. Without -o or "
         "--output-dir, a second name "
         "is OUTPUT: the file to write (\"-\": standard output), NVI unless its extension is " +
         OutputExtensionsText() +
         "; default: INPUT with the extension of the format written (.nvi, or .gpx for NVI "
         "input, unless --to says)";
}

void AddConvertCommand(CLI::App& app, ConvertArguments& arguments) {
  CLI::App* convert = app.add_subcommand(
      "convert", "Convert points of interest into NVI, or between " + ConvertedFormatsText());
  PointArguments& points = arguments.points;
  ConvertOptions& options = points.options;
  AddPointOptions(*convert, points, ConvertInputHelp());
  convert->add_option("--to", options.to, "Format of OUTPUT instead of its extension")
      ->check(CLI::IsMember(FormatOptionNames(true), CLI::ignore_case))
      ->type_name("FORMAT");
  convert
      ->add_option("--timestamp", options.timestamp,
                   "Date and time written into every record instead of the local clock (" +
                       FormatsWithOption(FormatOption::kTimestamp, true) + " output)")
      ->type_name("'YYYY/MM/DD HH:MM:SS'");
  points.outputOption =
      convert
          ->add_option("-o,--output", points.names.output,
                       "File to write every INPUT into, in the order given (\"-\": standard "
                       "output); the only way to name an existing point file as OUTPUT")
          ->type_name("OUTPUT");
  convert
      ->add_option("--output-dir", points.names.outputDir,
                   "Convert each INPUT into its own file in DIR, named as without OUTPUT")
      ->type_name("DIR")
      ->excludes(points.outputOption);
  arguments.csvEncodingOption =
      convert
          ->add_option("--csv-encoding", arguments.csvEncoding,
                       "Encoding of " + FormatsWithOption(FormatOption::kCsvEncoding, true) +
                           " output: utf-8, utf-8-bom (a byte-order mark first, as spreadsheet "
                           "programs want) or cp932 (closest characters)")
          ->check(CLI::IsMember({"utf-8", "utf-8-bom", "cp932"}, CLI::ignore_case))
          ->capture_default_str();
  convert
      ->add_option("--output-datum", arguments.outputDatum,
                   "Datum to write the positions of " +
                       FormatsWithOption(FormatOption::kOutputDatum, true, " or ") +
                       " output in: wgs84 or tokyo; positions move only when it differs from "
                       "the input's datum (--input-datum). Other formats are WGS 84")
      ->check(CLI::IsMember(DatumNames(), CLI::ignore_case))
      ->capture_default_str();
  arguments.nviFieldsOption =
      convert
          ->add_option("--nvi-fields", arguments.nviFields,
                       "Fill the record's own fields of " +
                           FormatsWithOption(FormatOption::kNviFields, true) +
                           " output: addr (the address), comm (the description, comment and "
                           "telephone number), hpgl (the link), mail (the e-mail address), "
                           "separated by commas, or all; without it they stay empty")
          ->type_name("LIST");
}

/// map's own options: the picture.
struct MapArguments {
  PointArguments points;
  MapCommandOptions options;
  bool labels = false;
  bool noLabels = false;
};

void AddMapCommand(CLI::App& app, MapArguments& arguments) {
  CLI::App* map = app.add_subcommand(
      "map", "Draw the points of point files on a map of the land, as an SVG picture");
  PointArguments& points = arguments.points;
  AddPointOptions(*map, points,
                  "Point files to read (\"-\": standard input, once), as convert reads them; "
                  "without -o, a second name is OUTPUT: the SVG file to write (\"-\": standard "
                  "output)");
  map->add_option("--to", points.options.to,
                  "Leave out the points a conversion into FORMAT would skip (default: as "
                  "convert INPUT would write, NVI or GPX for NVI input)")
      ->check(CLI::IsMember(FormatOptionNames(true), CLI::ignore_case))
      ->type_name("FORMAT");
  map->add_option("-o,--output", points.names.output,
                  "SVG file to draw every INPUT into (\"-\": standard output)")
      ->type_name("OUTPUT");
  map->add_option("--size", arguments.options.size, "Size of the picture in pixels")
      ->type_name("WIDTHxHEIGHT")
      ->capture_default_str();
  CLI::Option* labels =
      map->add_flag("--labels", arguments.labels, "Write every title (no clusters)");
  map->add_flag("--no-labels", arguments.noLabels, "Write no title")->excludes(labels);
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

ConvertConsole TerminalConsole(StdioFileSystem& files) {
  const bool terminal = StandardErrorIsTerminal();
  ConvertConsole console{std::cerr};
  console.answers = terminal && StandardInputIsTerminal() ? &std::cin : nullptr;
  console.progressTerminal = terminal ? stderr : nullptr;
  console.readCount = &files;
  console.catchInterrupt = true;
  return console;
}

int RunConvert(ConvertArguments& arguments, StdioFileSystem& files) {
  ConvertOptions& options = arguments.points.options;
  if (arguments.csvEncodingOption->count() > 0) {
    options.csvEncoding = CsvEncodingFromName(arguments.csvEncoding);
  }
  options.outputDatum = DatumFromName(arguments.outputDatum);
  if (arguments.nviFieldsOption->count() > 0) {
    options.nviFields = ParseNviFieldList(arguments.nviFields);
    if (!options.nviFields) {
      std::cerr << "velorin-cli: --nvi-fields takes addr, comm, hpgl and mail separated by "
                   "commas, or all, not '"
                << PrintableText(arguments.nviFields) << "'\n";
      return kExitUsage;
    }
  }
  if (const std::string misfit = TakePointArguments(arguments.points); !misfit.empty()) {
    std::cerr << "velorin-cli: " << misfit << "\n";
    return kExitUsage;
  }
  ConvertConsole console = TerminalConsole(files);
  const std::optional<std::string>& outputDir = arguments.points.names.outputDir;
  if (outputDir) return RunConvertEach(options, *outputDir, console, files);
  return RunConvertCommand(options, files, console);
}

int RunMap(MapArguments& arguments, StdioFileSystem& files) {
  if (const std::string misfit = TakePointArguments(arguments.points); !misfit.empty()) {
    std::cerr << "velorin-cli: " << misfit << "\n";
    return kExitUsage;
  }
  MapCommandOptions& options = arguments.options;
  options.points = arguments.points.options;
  if (!options.points.output) {
    std::cerr << "velorin-cli: OUTPUT is required\n";
    return kExitUsage;
  }
  options.labels = arguments.labels     ? LabelMode::kAll
                   : arguments.noLabels ? LabelMode::kNone
                                        : LabelMode::kWhereRoom;
  ConvertConsole console = TerminalConsole(files);
  return RunMapCommand(options, files, console);
}

}  // namespace

int RunCliApp(int argc, char** argv, StdioFileSystem& files) {
  CLI::App app{
      "Converts lists of points of interest into NVI files for car navigation units, "
      "and between the point formats: reads " +
          FormatNamesText(false) + "; writes " + FormatNamesText(true) +
          ". Draws them on a map as an SVG picture.",
      "velorin-cli"};
  app.set_version_flag("--version", kCliVersion);
  app.formatter(std::make_shared<HelpFormatter>());
  // On Windows CLI11 would take "/tmp/x.pot" for an option "/tmp...".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);

  ConvertArguments convert;
  AddConvertCommand(app, convert);
  MapArguments map;
  AddMapCommand(app, map);
  PositionArguments positionArguments;
  AddPositionCommands(app, positionArguments);

  const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  if (const std::string empty = EmptyOptionValue(arguments, app); !empty.empty()) {
    std::cerr << "velorin-cli: " << PrintableText(empty) << "\n";
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return app.exit(done);  // --help or --version: printed on standard output
  } catch (const CLI::ParseError& error) {
    std::cerr << "velorin-cli: " << UsageErrorText(error, app) << "\n";
    return kExitUsage;
  }

  if (app.got_subcommand("convert")) return RunConvert(convert, files);
  if (app.got_subcommand("map")) return RunMap(map, files);
  if (app.got_subcommand("encode")) {
    return RunEncodeCommand(positionArguments.longitude, positionArguments.latitude, std::cout,
                            std::cerr);
  }
  return RunDecodeCommand(positionArguments.position, std::cout, std::cerr);
}

}  // namespace velorin
