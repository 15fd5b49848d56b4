#include "cli/format_help.h"

#include <string_view>

#include "formats/format_table.h"

namespace velorin {

std::string FormatNamesText(bool written) {
  std::vector<std::string_view> names;
  for (const FormatInfo& info : PointFormats()) {
    const bool can = written ? info.makeWriter != nullptr : info.makeReader != nullptr;
    if (can) names.push_back(info.displayName);
  }
  return ListedNames(names);
}

std::string ConvertedFormatsText() {
  std::vector<std::string> parts;
  std::vector<std::string_view> names;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeReader == nullptr && info.makeWriter == nullptr) continue;
    std::string name(info.displayName);
    if (info.makeWriter == nullptr) {
      // Joined to the format before it: "KML (KMZ read only)".
      if (!parts.empty()) parts.back() += " (" + name + " read only)";
      continue;
    }
    if (info.makeReader == nullptr) name += " (written only)";
    parts.push_back(std::move(name));
  }
  for (const std::string& part : parts) names.push_back(part);
  return ListedNames(names);
}

std::string InputExtensionsText() {
  std::vector<std::string> parts;
  for (const FormatInfo& info : PointFormats()) {
    if (info.format == PointFormat::kPot || info.makeReader == nullptr) continue;
    const std::vector<std::string_view> written = ExtensionsOf(info, true);
    const std::vector<std::string_view> read = ExtensionsOf(info, false);
    for (std::size_t i = 0; i < read.size(); ++i) {
      // The extensions written come first; the others are read as this format.
      parts.push_back(i < written.size() ? std::string(read[i])
                                         : std::string(read[i]) + " (read as " +
                                               std::string(info.displayName) + ")");
    }
  }
  std::vector<std::string_view> names(parts.begin(), parts.end());
  return ListedNames(names, " or ");
}

std::string OutputExtensionsText() {
  std::vector<std::string_view> names;
  for (const FormatInfo& info : PointFormats()) {
    if (info.format == PointFormat::kNvi || info.makeWriter == nullptr) continue;
    for (const std::string_view extension : ExtensionsOf(info, true)) names.push_back(extension);
  }
  return ListedNames(names, " or ");
}

std::vector<std::string> FormatOptionNames(bool written) {
  std::vector<std::string> names;
  for (const FormatInfo& info : PointFormats()) {
    if (!written || info.makeWriter != nullptr) names.emplace_back(info.name);
  }
  return names;
}

}  // namespace velorin
