#include "map/map_window_settings.h"

#include <array>
#include <charconv>
#include <memory>
#include <vector>

#include "platform/settings_file.h"

namespace velorin {
namespace {

constexpr std::string_view kSection = "window";
constexpr std::array<std::string_view, 4> kKeys = {"x", "y", "width", "height"};

/// One line of the file, its end apart.
struct Line {
  std::string_view text;
  std::string_view end;  ///< "\r\n", "\n" or empty (the last line)
};

/// The mark some editors (Notepad among them) put before UTF-8 text.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

/// The lines of the text after its UTF-8 mark, if it has one.
std::vector<Line> LinesOf(std::string_view settings) {
  if (settings.starts_with(kUtf8Mark)) settings.remove_prefix(kUtf8Mark.size());
  std::vector<Line> lines;
  while (!settings.empty()) {
    const std::size_t newline = settings.find('\n');
    std::string_view text = settings.substr(0, newline);
    std::size_t endSize = newline == std::string_view::npos ? 0 : 1;
    if (endSize == 1 && !text.empty() && text.back() == '\r') {
      text.remove_suffix(1);
      endSize = 2;
    }
    lines.push_back({text, settings.substr(text.size(), endSize)});
    settings.remove_prefix(std::min(settings.size(), text.size() + endSize));
  }
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// The section a header line opens, if it is one.
std::optional<std::string_view> SectionOf(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return Trimmed(trimmed.substr(1, trimmed.size() - 2));
}

/// The key of an entry line, and its value.
std::optional<std::pair<std::string_view, std::string_view>> EntryOf(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return std::pair{Trimmed(trimmed.substr(0, equals)), Trimmed(trimmed.substr(equals + 1))};
}

/// The lines of the first section named `name`: from its header to the
/// line before the next section (or the end).
std::pair<std::size_t, std::size_t> SectionLines(const std::vector<Line>& lines,
                                                 std::string_view name = kSection) {
  std::size_t header = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<std::string_view> section = SectionOf(lines[i].text);
    if (header == lines.size() && section == name) {
      header = i;
    } else if (header != lines.size() && section) {
      return {header, i};
    }
  }
  return {header, lines.size()};
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::array<int, 4> ValuesOf(const ScreenRect& place) {
  return {place.x, place.y, place.width, place.height};
}

/// Writes the settings file at `path` with `edit` applied to its text (a
/// missing file is made from nothing); a file that is no settings file is
/// refused.
template <typename Edit>
bool EditSettings(FileSystem& files, const std::string& path, Edit edit, std::error_code& error) {
  std::optional<std::string> settings = ReadSettingsFile(files, path, error);
  if (!settings && error == std::errc::no_such_file_or_directory) settings.emplace();
  if (!settings) return false;
  if (!IsMapSettingsText(*settings)) {
    error = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  return ReplaceSettingsFile(files, path, edit(*settings), error);
}

constexpr std::string_view kRoutesAndTracksKey = "routes_and_tracks";

}  // namespace

std::optional<std::string> ReadMapSettings(FileSystem& files, const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::error_code error;
  std::optional<std::string> settings = ReadSettingsFile(files, path, error);
  if (!settings || !IsMapSettingsText(*settings)) return std::nullopt;
  return settings;
}

std::optional<std::string> SectionEntryIn(std::string_view settings, std::string_view section,
                                          std::string_view key) {
  const std::vector<Line> lines = LinesOf(settings);
  const auto [header, end] = SectionLines(lines, section);
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto entry = EntryOf(lines[i].text);
    if (entry && entry->first == key) return std::string(entry->second);
  }
  return std::nullopt;
}

std::optional<ScreenRect> MapWindowPlaceIn(std::string_view settings) {
  const std::vector<Line> lines = LinesOf(settings);
  const auto [header, end] = SectionLines(lines);
  std::array<std::optional<int>, 4> values;
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto entry = EntryOf(lines[i].text);
    if (!entry) continue;
    for (std::size_t key = 0; key < kKeys.size(); ++key) {
      if (entry->first == kKeys[key] && !values[key]) values[key] = Number(entry->second);
    }
  }
  for (const std::optional<int>& value : values) {
    if (!value) return std::nullopt;
  }
  if (*values[2] <= 0 || *values[3] <= 0) return std::nullopt;
  return ScreenRect{*values[0], *values[1], *values[2], *values[3]};
}

std::string WithWindowEntries(std::string_view settings, const std::vector<WindowEntry>& entries) {
  const std::vector<Line> lines = LinesOf(settings);
  // New lines end as the file's first one does.
  const std::string end(!lines.empty() && !lines.front().end.empty() ? lines.front().end : "\n");
  auto entry = [&](std::size_t key) { return entries[key].first + "=" + entries[key].second; };
  const auto [header, sectionEnd] = SectionLines(lines);
  const bool hasSection = header != lines.size();
  std::size_t lastEntry = header;
  for (std::size_t i = header + 1; i < sectionEnd; ++i) {
    if (EntryOf(lines[i].text)) lastEntry = i;
  }
  // The mark stays where it was.
  const std::string_view mark = settings.starts_with(kUtf8Mark) ? kUtf8Mark : "";
  std::string text(mark);
  std::vector<bool> written(entries.size(), false);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto found = i > header && i < sectionEnd ? EntryOf(lines[i].text) : std::nullopt;
    std::string line(lines[i].text);
    for (std::size_t key = 0; found && key < entries.size(); ++key) {
      if (found->first == entries[key].first && !written[key]) {
        line = entry(key);
        written[key] = true;
      }
    }
    text += line;
    if (!hasSection || i != lastEntry) {
      text += lines[i].end;
      continue;
    }
    // The entries the section lacks follow its last one.
    text += lines[i].end.empty() ? std::string_view(end) : lines[i].end;
    for (std::size_t key = 0; key < entries.size(); ++key) {
      if (!written[key]) text += entry(key) + end;
    }
  }
  if (!hasSection) {
    if (text.size() > mark.size() && text.back() != '\n') text += end;
    text += "[window]" + end;
    for (std::size_t key = 0; key < entries.size(); ++key) text += entry(key) + end;
  }
  return text;
}

std::string WithMapWindowPlace(std::string_view settings, const ScreenRect& place) {
  const std::array<int, 4> values = ValuesOf(place);
  std::vector<WindowEntry> entries;
  for (std::size_t key = 0; key < kKeys.size(); ++key) {
    entries.emplace_back(std::string(kKeys[key]), std::to_string(values[key]));
  }
  return WithWindowEntries(settings, entries);
}

std::optional<std::string> WindowEntryIn(std::string_view settings, std::string_view key) {
  return SectionEntryIn(settings, kSection, key);
}

bool IsMapSettingsText(std::string_view settings) {
  if (!IsSettingsText(settings)) return false;
  for (const Line& line : LinesOf(settings)) {
    const std::string_view trimmed = Trimmed(line.text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
    if (SectionOf(line.text)) continue;
    const auto entry = EntryOf(line.text);
    if (!entry || entry->first.empty()) return false;
  }
  return true;
}

bool MapRoutesAndTracksIn(std::string_view settings) {
  return WindowEntryIn(settings, kRoutesAndTracksKey) == "1";
}

bool LoadMapRoutesAndTracks(FileSystem& files, const std::string& path) {
  const std::optional<std::string> settings = ReadMapSettings(files, path);
  return settings && MapRoutesAndTracksIn(*settings);
}

bool SaveMapRoutesAndTracks(FileSystem& files, const std::string& path, bool shown,
                            std::error_code& error) {
  return EditSettings(
      files, path,
      [shown](std::string_view settings) {
        return WithWindowEntries(settings, {{std::string(kRoutesAndTracksKey), shown ? "1" : "0"}});
      },
      error);
}

std::optional<ScreenRect> LoadMapWindowPlace(FileSystem& files, const std::string& path) {
  const std::optional<std::string> settings = ReadMapSettings(files, path);
  if (!settings) return std::nullopt;
  return MapWindowPlaceIn(*settings);
}

bool SaveMapWindowPlace(FileSystem& files, const std::string& path, const ScreenRect& place,
                        std::error_code& error) {
  return EditSettings(
      files, path,
      [&place](std::string_view settings) { return WithMapWindowPlace(settings, place); }, error);
}

}  // namespace velorin
