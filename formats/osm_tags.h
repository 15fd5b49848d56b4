#pragma once
// The OpenStreetMap objects a run keeps, as --osm-tags and the window's
// Tool > Option give them: "amenity=fuel,tourism=*" keeps every object
// with any of those tags ("*": any value), and the language whose names
// are preferred as titles (--osm-name).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

struct OsmTagRule {
  std::string key;
  std::optional<std::string> value;  ///< nothing: any value ("KEY=*")
};

struct OsmTagFilter {
  std::vector<OsmTagRule> rules;

  bool Empty() const { return rules.empty(); }
  /// Whether a tag of this key and value is one the filter keeps.
  bool Keeps(std::string_view key, std::string_view value) const;
  /// "amenity=fuel,tourism=*", as it is parsed.
  std::string Text() const;
};

/// What an OSM input is read with.
struct OsmReadOptions {
  OsmTagFilter tags;
  /// Titles from "name:LANG" where an object has it, else from "name";
  /// empty: "name" alone.
  std::string nameLanguage;
};

/// Parses "KEY=VALUE[,KEY=VALUE...]"; nothing, with the reason in `error`,
/// for an empty list, an item without "=", an empty key or value.
std::optional<OsmTagFilter> ParseOsmTags(std::string_view text, std::string& error);

/// Whether `language` can follow "name:" ("ja", "en", "zh-Hant"): letters,
/// digits, "-" and "_", 1 to 16 of them.
bool IsOsmLanguage(std::string_view language);

}  // namespace velorin
