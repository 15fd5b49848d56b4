#include "cli/map_command.h"

#include <charconv>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/option_misfit.h"
#include "cli/printable_text.h"
#include "formats/output_path.h"
#include "map/svg_map_writer.h"
#include "startup/data_folder.h"

namespace velorin {
namespace {

constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 20000;
constexpr std::string_view kPictureExtension = ".svg";

std::optional<int> ParseSide(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < kSmallestSide || value > kLargestSide) return std::nullopt;
  return value;
}

/// The usage errors of the command: a size, an output that is no SVG file,
/// an option the formats do not take. Empty when there is none.
std::string MapMisfit(const MapCommandOptions& options, const FormatChoice& choice) {
  if (!ParseMapSize(options.size)) {
    return "--size: '" + PrintableText(options.size) +
           "' is no WIDTHxHEIGHT of 16 to 20000 pixels each";
  }
  const std::string& output = choice.outputPath;
  if (output != "-" && !HasExtension(output, kPictureExtension)) {
    return "the map is an SVG picture: name OUTPUT with the extension .svg (or \"-\" for "
           "standard output), not '" +
           PrintableText(output) + "'";
  }
  std::vector<PointFormat> inputs{choice.input};
  inputs.insert(inputs.end(), choice.moreInputs.begin(), choice.moreInputs.end());
  GivenOptions given;
  given.inputEncoding = options.points.inputEncoding.has_value();
  given.inputDatum = options.points.inputDatum;
  given.osmTags = !options.points.osm.tags.Empty();
  given.osmName = options.points.osmNameGiven;
  return OptionMisfit(given, inputs, choice.output);
}

/// The formats as convert would choose them; the output is the format a
/// conversion would write (--to, or the input's default), not the picture.
FormatChoice MapFormats(FileSystem& files, const ConvertOptions& options) {
  ConvertOptions convert = options;
  convert.output = "-";
  FormatChoice choice = ChooseFormats(files, convert);
  choice.outputPath = options.output.value_or("-");
  return choice;
}

}  // namespace

std::optional<std::pair<int, int>> ParseMapSize(std::string_view text) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return std::nullopt;
  const auto width = ParseSide(text.substr(0, x));
  const auto height = ParseSide(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return std::pair{*width, *height};
}

std::string DefaultLandPath() { return DataFolderHolding(kLandFileName) + kLandFileName; }

int RunMapCommand(const MapCommandOptions& options, FileSystem& files, ConvertConsole& console) {
  const FormatChoice choice = MapFormats(files, options.points);
  if (const std::string misfit = MapMisfit(options, choice); !misfit.empty()) {
    console.err << "velorin-cli: " << misfit << "\n";
    return kExitUsage;
  }
  const auto size = ParseMapSize(options.size);
  std::error_code landError;
  const std::string landPath = options.landPath.empty() ? DefaultLandPath() : options.landPath;
  const LandMap land = LandMap::Load(files, landPath, landError);
  if (landError) {
    console.err << "velorin-cli: no land drawn: cannot read " << DescribeFile("land file", landPath)
                << "\n";
  }
  SvgMapOptions picture;
  picture.width = size->first;
  picture.height = size->second;
  picture.labels = options.labels;

  CommandRun command;
  command.options = RunOptionsOf(options.points, choice);
  command.options.makeWriter = [&land, picture](BufferedWriter& out, Clock&) {
    return std::make_unique<SvgMapWriter>(out, land, picture);
  };
  command.context.input = choice.input;
  command.context.inputBasis = choice.inputBasis;
  command.context.output = choice.output;
  command.context.mapped = true;
  command.force = options.points.force;
  command.explain = options.points.explain;
  LocalClock clock;
  return RunOnCommandLine(std::move(command), files, clock, console);
}

}  // namespace velorin
