#include "convert/point_selection.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <locale>
#include <map>
#include <regex>

#include "geo/surface_distance.h"
#include "text/ascii.h"
#include "text/text_encoding.h"

namespace velorin {

class TitlePattern {
 public:
  std::regex regex;
  /// The pattern in small letters when it holds no character the syntax
  /// gives a meaning: the regular expression would find just this text.
  std::optional<std::string> literal;
};

bool TitleMatches(const TitlePattern& pattern, std::string_view title) {
  if (pattern.literal) {
    const std::string& literal = *pattern.literal;
    return std::search(title.begin(), title.end(), literal.begin(), literal.end(),
                       [](char a, char b) { return AsciiLower(a) == b; }) != title.end() ||
           literal.empty();
  }
  return std::regex_search(title.begin(), title.end(), pattern.regex);
}

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

/// The words for what std::regex found wrong; its codes are broad (a "*"
/// with nothing before it is told as a parenthesis), so are the words.
std::string_view RegexErrorWords(std::regex_constants::error_type code) {
  namespace rc = std::regex_constants;
  switch (code) {
    case rc::error_collate:
    case rc::error_ctype:
      return "an unknown character class or collating element";
    case rc::error_escape:
      return "a backslash at its end or before a character it cannot escape";
    case rc::error_backref:
    case rc::error_complexity:
      // The executor that walks a title without recursing (see
      // CompileTitlePattern) refuses every back-reference.
      return "a back-reference (\\1 and the like), which title filters do not support";
    case rc::error_brack:
      return "a bracket expression [...] that is not closed or not valid";
    case rc::error_paren:
      return "a parenthesis not closed or not opened, an unknown (?...) group, or *, + or ? "
             "with nothing to repeat";
    case rc::error_brace:
      return "a { that is not closed";
    case rc::error_badbrace:
      return "a count in braces that is no count";
    case rc::error_range:
      return "a range in brackets that is no range or not closed";
    case rc::error_badrepeat:
      return "*, +, ? or a count in braces with nothing to repeat";
    default:  // error_space, error_stack, and the library's own codes
      break;
  }
  return "too large to search with";
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
    std::string why;
    filter.title = CompileTitlePattern(argument.value, why);
    if (!filter.title) {
      error = option + ": '" + argument.value + "' is no regular expression: " + why;
      return std::nullopt;
    }
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

std::shared_ptr<const TitlePattern> CompileTitlePattern(std::string_view pattern,
                                                        std::string& error) {
  if (!IsValidUtf8(pattern)) {
    error = "it is not UTF-8 text";
    return nullptr;
  }
  // The classic locale folds A to Z alone, whatever the program's locale.
  // The polynomial executor (libstdc++'s, on every system Velorin builds
  // for) keeps a queue of states where the standard one recurses once per
  // character: a title of 30,000 characters would overflow the stack.
  constexpr auto kFlags = std::regex::ECMAScript | std::regex::icase | std::regex::optimize |
                          std::regex_constants::__polynomial;
  try {
    auto compiled = std::make_shared<TitlePattern>();
    compiled->regex.imbue(std::locale::classic());
    compiled->regex.assign(pattern.begin(), pattern.end(), kFlags);
    // A word to find is found without the regular expression's machinery,
    // which costs microseconds a title.
    if (pattern.find_first_of("^$\\.*+?()[]{}|") == std::string_view::npos) {
      compiled->literal = AsciiToLower(pattern);
    }
    return compiled;
  } catch (const std::regex_error& failure) {
    error = RegexErrorWords(failure.code());
  }
  return nullptr;
}

bool IsOnGlobe(double longitude, double latitude) {
  return latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0;
}

std::optional<double> DistanceWithin(const NearArea& area, double longitude, double latitude) {
  if (!IsOnGlobe(longitude, latitude)) return std::nullopt;
  const double metres = SurfaceDistanceMetres(area.longitude, area.latitude, longitude, latitude);
  if (!(metres <= area.metres)) return std::nullopt;
  return metres;
}

bool IsWithin(const LatLonBox& box, double longitude, double latitude) {
  if (!IsOnGlobe(longitude, latitude) || latitude < box.south || latitude > box.north) {
    return false;
  }
  if (box.west > box.east) return longitude >= box.west || longitude <= box.east;
  // -180 and 180 are one meridian.
  return (longitude >= box.west && longitude <= box.east) ||
         (longitude == -180.0 && box.east == 180.0) || (longitude == 180.0 && box.west == -180.0);
}

bool TitleComesBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

}  // namespace velorin
