#include "window/dialog_filter.h"

#include <vector>

namespace velorin {
namespace {

constexpr std::string_view kAllFormats = "{point files}";
constexpr std::string_view kEachFormat = "{each format}";
constexpr std::string_view kFormatName = "{format}";

std::vector<std::string_view> BarSeparated(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|')) {
    parts.push_back(text.substr(0, bar));
    text.remove_prefix(bar + 1);
  }
  parts.push_back(text);
  return parts;
}

/// "*.csv;*.tsv": the patterns of one format.
std::string PatternsOf(PointFormat format, bool written) {
  std::string patterns;
  for (const std::string_view extension : ExtensionsOf(InfoOf(format), written)) {
    if (!patterns.empty()) patterns += ';';
    patterns += '*';
    patterns += extension;
  }
  return patterns;
}

void AddPair(std::string& filter, std::string_view description, std::string_view patterns) {
  if (!filter.empty()) filter += '|';
  filter += description;
  filter += '|';
  filter += patterns;
}

/// The pair whose description names its patterns: "POT files (*.pot)|*.pot".
void AddShownPair(std::string& filter, std::string_view description, const std::string& patterns) {
  AddPair(filter, std::string(description) + " (" + patterns + ")", patterns);
}

std::string Named(std::string_view description, PointFormat format) {
  std::string named(description);
  const std::size_t at = named.find(kFormatName);
  if (at != std::string::npos) named.replace(at, kFormatName.size(), DisplayName(format));
  return named;
}

}  // namespace

std::string DialogFilter(std::string_view message, std::span<const PointFormat> formats,
                         bool written) {
  const std::vector<std::string_view> parts = BarSeparated(message);
  std::string filter;
  std::size_t i = 0;
  for (; i + 1 < parts.size(); i += 2) {
    const std::string_view description = parts[i];
    const std::string_view pattern = parts[i + 1];
    if (pattern == kAllFormats) {
      std::string all;
      for (const PointFormat format : formats) {
        if (!all.empty()) all += ';';
        all += PatternsOf(format, written);
      }
      if (!all.empty()) AddShownPair(filter, description, all);
    } else if (pattern == kEachFormat) {
      for (const PointFormat format : formats) {
        AddShownPair(filter, Named(description, format), PatternsOf(format, written));
      }
    } else {
      AddPair(filter, description, pattern);
    }
  }
  // A pattern without a description stays, as the dialogs take it.
  if (i < parts.size()) {
    if (!filter.empty()) filter += '|';
    filter += parts[i];
  }
  return filter;
}

std::string SaveAsFilter(std::span<const PointFormat> formats) {
  return DialogFilter("{format}|{each format}", formats, true);
}

}  // namespace velorin
