#include "cli/option_misfit.h"

#include <algorithm>

namespace velorin {

namespace {

std::string Upper(PointFormat format) { return std::string(InfoOf(format).displayName); }

/// "--timestamp applies to NVI output only (the output is GPX)".
std::string AppliesOnly(FormatOption option, bool written, PointFormat actual) {
  return std::string(OptionName(option)) + " applies to " + FormatsWithOption(option, written) +
         (written ? " output" : " input") + " only (the " + (written ? "output" : "input") +
         " is " + Upper(actual) + ")";
}

/// "--input-datum=tokyo applies to POT, NVI and CSV input only: GPX
/// positions are WGS 84 by definition".
std::string DatumMisfit(FormatOption option, Datum datum, PointFormat format) {
  const bool written = option == FormatOption::kOutputDatum;
  return std::string(OptionName(option)) + "=" + std::string(DatumName(datum)) + " applies to " +
         FormatsWithOption(option, written) + (written ? " output" : " input") +
         " only: " + Upper(format) + " positions are WGS 84 by definition";
}

std::string DatumMisfits(const GivenOptions& given, const std::vector<PointFormat>& inputs,
                         PointFormat output) {
  if (given.inputDatum != Datum::kWgs84) {
    for (const PointFormat input : inputs) {
      if (!OptionApplies(FormatOption::kInputDatum, input, false)) {
        return DatumMisfit(FormatOption::kInputDatum, given.inputDatum, input);
      }
    }
  }
  if (given.outputDatum != Datum::kWgs84 &&
      !OptionApplies(FormatOption::kOutputDatum, output, true)) {
    return DatumMisfit(FormatOption::kOutputDatum, given.outputDatum, output);
  }
  return {};
}

/// An OSM input without --osm-tags (every node is never what a unit wants),
/// or --osm-tags or --osm-name without an OSM input.
std::string OsmMisfit(const GivenOptions& given, const std::vector<PointFormat>& inputs) {
  const auto osm = [](PointFormat f) { return OptionApplies(FormatOption::kOsmTags, f, false); };
  const auto first = std::find_if(inputs.begin(), inputs.end(), osm);
  if (first == inputs.end()) {
    if (given.osmTags) return AppliesOnly(FormatOption::kOsmTags, false, inputs.front());
    if (given.osmName) {
      return "--osm-name applies to " + FormatsWithOption(FormatOption::kOsmTags, false) +
             " input only (the input is " + Upper(inputs.front()) + ")";
    }
    return {};
  }
  if (given.osmTags) return {};
  return Upper(*first) +
         " input needs --osm-tags=KEY=VALUE[,KEY=VALUE...] to choose the objects kept "
         "(e.g. --osm-tags=amenity=fuel,natural=hot_spring; KEY=* for any value)";
}

}  // namespace

std::string OptionMisfit(const GivenOptions& given, const std::vector<PointFormat>& inputs,
                         PointFormat output) {
  const FormatInfo& written = InfoOf(output);
  if (written.makeWriter == nullptr) {
    const bool readable = written.makeReader != nullptr;
    return Upper(output) +
           (readable ? " can only be read" : " is neither read nor written by this build") +
           "; write " +
           (written.writeInstead ? Upper(*written.writeInstead) : std::string("another format")) +
           " instead";
  }
  for (const auto& [isGiven, option] : {std::pair{given.timestamp, FormatOption::kTimestamp},
                                        std::pair{given.csvEncoding, FormatOption::kCsvEncoding},
                                        std::pair{given.nviFields, FormatOption::kNviFields}}) {
    if (isGiven && !OptionApplies(option, output, true)) return AppliesOnly(option, true, output);
  }
  const auto reads = [&](FormatOption option) {
    return std::any_of(inputs.begin(), inputs.end(),
                       [option](PointFormat f) { return OptionApplies(option, f, false); });
  };
  if (given.inputEncoding && !reads(FormatOption::kInputEncoding)) {
    return AppliesOnly(FormatOption::kInputEncoding, false, inputs.front());
  }
  if (std::string misfit = DatumMisfits(given, inputs, output); !misfit.empty()) return misfit;
  if (std::string misfit = OsmMisfit(given, inputs); !misfit.empty()) return misfit;
  for (const PointFormat input : inputs) {
    // A build without an XML reader.
    if (InfoOf(input).makeReader == nullptr) {
      return Upper(input) + " files are not read by this build of velorin-cli";
    }
  }
  return {};
}

}  // namespace velorin
