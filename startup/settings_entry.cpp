#include "startup/settings_entry.h"

#include <optional>

#include "platform/settings_file.h"

namespace velorin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

/// Where the line after the one beginning at `start` begins (a line ends
/// at CR LF, CR or LF, as the settings are read), and where its text ends.
std::pair<std::size_t, std::size_t> LineAt(std::string_view text, std::size_t start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) return {text.size(), text.size()};
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  return {end + (crlf ? 2 : 1), end};
}

/// The text of line `index` (from 0); nothing when the file has fewer.
std::optional<std::string_view> LineText(std::string_view text, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t line = 0; line < index; ++line) {
    if (start >= text.size()) return std::nullopt;
    start = LineAt(text, start).first;
  }
  if (start >= text.size()) return std::nullopt;
  return text.substr(start, LineAt(text, start).second - start);
}

}  // namespace

std::string WithSettingsEntry(std::string_view settings, std::size_t index,
                              std::string_view entry) {
  std::size_t start = 0;
  std::size_t line = 0;
  for (; line < index && start < settings.size(); ++line) start = LineAt(settings, start).first;
  std::string text(settings.substr(0, start));
  if (start < settings.size()) {
    const std::size_t textEnd = LineAt(settings, start).second;
    return text + std::string(entry) + std::string(settings.substr(textEnd));
  }
  // The file ends before the entry: empty entries fill the gap.
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += kLineEnd;
  for (; line < index; ++line) text += kLineEnd;
  return text + std::string(entry) + std::string(kLineEnd);
}

bool MayWriteSettingsEntry(std::string_view settings, std::size_t index, SettingsEntryKind kind) {
  // Start-up reads sixteen lines: a file with fewer is none.
  if (!LineText(settings, kSettingsLines - 1)) return false;
  const std::optional<std::string_view> current = LineText(settings, index);
  return !current || current->empty() || kind(*current);
}

bool SaveSettingsEntry(FileSystem& files, const std::string& path, std::size_t index,
                       std::string_view entry, SettingsEntryKind kind, std::error_code& error) {
  const std::optional<std::string> settings = ReadSettingsFile(files, path, error);
  if (!settings) return false;
  if (!MayWriteSettingsEntry(*settings, index, kind)) {
    error = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  return ReplaceSettingsFile(files, path, WithSettingsEntry(*settings, index, entry), error);
}

}  // namespace velorin
