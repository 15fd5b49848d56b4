#pragma once
// The three fields of a point line that the conversion reads, found in one
// pass over the line.
#include <string_view>

namespace velorin {

struct PotLineFields {
  std::string_view title;
  std::string_view longitudeText;
  std::string_view latitudeText;
};

/// What ExtractKeyValue(line, key, "/", 1, true, true, true) gives for the
/// keys "/tex=", "/kei=" and "ido=": views into `line`, empty where a key is
/// absent.
PotLineFields ExtractPotLineFields(std::string_view line);

}  // namespace velorin
