#include "formats/osm_tags.h"

#include <algorithm>

namespace velorin {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<OsmTagRule> ParseRule(std::string_view item, std::string& error) {
  const std::size_t equals = item.find('=');
  if (equals == std::string_view::npos) {
    error = "expects KEY=VALUE or KEY=*, not '" + std::string(item) + "'";
    return std::nullopt;
  }
  const std::string_view key = Trimmed(item.substr(0, equals));
  const std::string_view value = Trimmed(item.substr(equals + 1));
  if (key.empty() || value.empty()) {
    error = "expects a key and a value (or *) in '" + std::string(item) + "'";
    return std::nullopt;
  }
  OsmTagRule rule{std::string(key), std::nullopt};
  if (value != "*") rule.value = std::string(value);
  return rule;
}

}  // namespace

bool OsmTagFilter::Keeps(std::string_view key, std::string_view value) const {
  return std::any_of(rules.begin(), rules.end(), [&](const OsmTagRule& rule) {
    return rule.key == key && (!rule.value || *rule.value == value);
  });
}

std::string OsmTagFilter::Text() const {
  std::string text;
  for (const OsmTagRule& rule : rules) {
    if (!text.empty()) text += ',';
    text += rule.key + "=" + rule.value.value_or("*");
  }
  return text;
}

std::optional<OsmTagFilter> ParseOsmTags(std::string_view text, std::string& error) {
  OsmTagFilter filter;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = Trimmed(text.substr(start, end - start));
    if (!item.empty()) {
      std::optional<OsmTagRule> rule = ParseRule(item, error);
      if (!rule) return std::nullopt;
      filter.rules.push_back(std::move(*rule));
    }
    start = end + 1;
  }
  if (filter.Empty()) {
    error = "expects at least one KEY=VALUE (or KEY=*)";
    return std::nullopt;
  }
  return filter;
}

bool IsOsmLanguage(std::string_view language) {
  if (language.empty() || language.size() > 16) return false;
  return std::all_of(language.begin(), language.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
}

}  // namespace velorin
