#include "cli/point_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "text/utf8.h"

namespace velorin {

namespace {

constexpr std::string_view kNearShape =
    "--near takes LAT,LON,RADIUS in decimal degrees and a radius with its unit, m or km (e.g. "
    "--near=35.6812,139.7671,50km)";
constexpr std::string_view kWithinShape =
    "--within takes SOUTH,WEST,NORTH,EAST in decimal degrees (e.g. "
    "--within=34.3,135.0,35.1,136.0)";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last + 1 - first);
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(Trimmed(text.substr(start, comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

/// A finite decimal number, the whole text.
std::optional<double> Number(std::string_view text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

/// A latitude or longitude of the globe; `error` says why not.
std::optional<double> Angle(std::string_view option, std::string_view text, bool latitude,
                            std::string& error) {
  const char* const name = latitude ? "latitude" : "longitude";
  const double limit = latitude ? 90.0 : 180.0;
  const std::optional<double> value = Number(text);
  if (!value) {
    error =
        std::string(option) + ": '" + std::string(text) + "' is no " + name + " in decimal degrees";
  } else if (!(*value >= -limit && *value <= limit)) {
    error = std::string(option) + ": " + name + " " + std::string(text) + " is outside " +
            (latitude ? "-90 to 90" : "-180 to 180") + " degrees";
  } else {
    return value;
  }
  return std::nullopt;
}

/// "500m", "50 km": metres above 0.
std::optional<double> Radius(std::string_view text, std::string& error) {
  const std::string given(text);
  double factor = 1.0;
  if (text.size() > 2 && text.substr(text.size() - 2) == "km") {
    factor = 1000.0;
    text.remove_suffix(2);
  } else if (text.size() > 1 && text.back() == 'm') {
    text.remove_suffix(1);
  } else {
    error = Number(text) ? "--near: the radius '" + given + "' needs its unit, m or km (e.g. 50km)"
                         : "--near: '" + given + "' is no radius such as 500m or 50km";
    return std::nullopt;
  }
  const std::optional<double> value = Number(Trimmed(text));
  if (!value) {
    error = "--near: '" + given + "' is no radius such as 500m or 50km";
  } else if (!(*value > 0.0)) {
    error = "--near: the radius must be more than 0, not '" + given + "'";
  } else if (!(*value * factor <= kLongestRadiusMetres)) {
    // Past half the earth's circumference every place is inside; a radius
    // such as 1e308km would not even be a number of metres.
    error = "--near: the radius '" + given +
            "' is more than 20015km, half the earth's circumference, which holds every place";
  } else {
    return *value * factor;
  }
  return std::nullopt;
}

std::optional<NearArea> ParseNear(std::string_view value, std::string& error) {
  const std::vector<std::string_view> fields = Fields(value);
  if (fields.size() != 3) {
    error = std::string(kNearShape) + ", not '" + std::string(value) + "'";
    return std::nullopt;
  }
  const auto latitude = Angle("--near", fields[0], true, error);
  if (!latitude) return std::nullopt;
  const auto longitude = Angle("--near", fields[1], false, error);
  if (!longitude) return std::nullopt;
  const auto metres = Radius(fields[2], error);
  if (!metres) return std::nullopt;
  return NearArea{*latitude, *longitude, *metres};
}

std::optional<LatLonBox> ParseWithin(std::string_view value, std::string& error) {
  const std::vector<std::string_view> fields = Fields(value);
  if (fields.size() != 4) {
    error = std::string(kWithinShape) + ", not '" + std::string(value) + "'";
    return std::nullopt;
  }
  double angles[4] = {};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto angle = Angle("--within", fields[i], i % 2 == 0, error);
    if (!angle) return std::nullopt;
    angles[i] = *angle;
  }
  const LatLonBox box{angles[0], angles[1], angles[2], angles[3]};
  if (box.south > box.north) {
    error = "--within: SOUTH " + std::string(fields[0]) + " lies north of NORTH " +
            std::string(fields[2]);
    return std::nullopt;
  }
  return box;
}

/// A pattern as a refusal quotes it: a long one by its first characters and
/// its length, so that the reason stays in sight.
std::string QuotedPattern(std::string_view pattern) {
  constexpr std::size_t kShownBytes = 60;
  if (pattern.size() <= kShownBytes + 20) return "'" + std::string(pattern) + "'";
  std::size_t shown = kShownBytes;
  // Cut before a character, not inside one.
  while (shown > 0 && utf8::IsContinuation(static_cast<unsigned char>(pattern[shown]))) --shown;
  return "'" + std::string(pattern.substr(0, shown)) + "...' (" + std::to_string(pattern.size()) +
         " bytes)";
}

/// How often each option was given: a filter is named by its value too
/// when its option was given more than once.
std::map<std::string, int> TimesGiven(const std::vector<SelectionArgument>& arguments) {
  std::map<std::string, int> times;
  for (const SelectionArgument& argument : arguments) ++times[argument.option];
  return times;
}

std::optional<PointFilter> ParseFilter(const SelectionArgument& argument, std::string& error) {
  PointFilter filter;
  const std::string& option = argument.option;
  if (option == "--near") {
    const auto area = ParseNear(argument.value, error);
    if (!area) return std::nullopt;
    filter.kind = FilterKind::kNear;
    filter.area = *area;
  } else if (option == "--within") {
    const auto box = ParseWithin(argument.value, error);
    if (!box) return std::nullopt;
    filter.kind = FilterKind::kWithin;
    filter.box = *box;
  } else if (option == "--match" || option == "--exclude") {
    CompiledRegex compiled = CompileRegex(argument.value);
    if (!compiled.program) {
      error = option + ": " + QuotedPattern(argument.value) + ": " + compiled.error;
      return std::nullopt;
    }
    filter.title = std::move(compiled.program);
    filter.kind = option == "--match" ? FilterKind::kMatch : FilterKind::kExclude;
  } else {
    error = "no point filter is called " + option;
    return std::nullopt;
  }
  return filter;
}

}  // namespace

ParsedSelection ParsePointSelection(const std::vector<SelectionArgument>& arguments,
                                    std::string_view sort) {
  ParsedSelection parsed;
  const std::map<std::string, int> times = TimesGiven(arguments);
  for (const SelectionArgument& argument : arguments) {
    std::optional<PointFilter> filter = ParseFilter(argument, parsed.error);
    if (!filter) return parsed;
    filter->name = argument.option;
    if (times.at(argument.option) > 1) filter->name += "=" + argument.value;
    parsed.filters.push_back(std::move(*filter));
  }
  if (sort.empty()) return parsed;
  if (sort == "title") {
    parsed.sort = PointSort{PointSort::Key::kTitle};
    return parsed;
  }
  if (sort != "distance") {
    parsed.error = "--sort takes title or distance, not '" + std::string(sort) + "'";
    return parsed;
  }
  const auto nearFilter =
      std::find_if(parsed.filters.begin(), parsed.filters.end(),
                   [](const PointFilter& f) { return f.kind == FilterKind::kNear; });
  if (nearFilter == parsed.filters.end()) {
    parsed.error = "--sort=distance needs --near: distances are measured from its centre";
    return parsed;
  }
  parsed.sort =
      PointSort{PointSort::Key::kDistance, nearFilter->area.latitude, nearFilter->area.longitude};
  return parsed;
}

}  // namespace velorin
