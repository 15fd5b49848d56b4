#include "startup/settings_entry.h"

#include <array>
#include <memory>

#include "platform/file_system.h"
#include "platform/replacing_file.h"

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

bool ReadWhole(const std::string& path, std::string& text, std::error_code& error) {
  LocalFileSystem files;
  const std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return false;
  std::array<char, 4096> buffer{};
  for (std::ptrdiff_t got; (got = source->Read(buffer.data(), buffer.size())) != 0;) {
    if (got < 0) {
      error = source->error();
      return false;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return true;
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

bool SaveSettingsEntry(const std::string& path, std::size_t index, std::string_view entry,
                       std::error_code& error) {
  std::string settings;
  if (!ReadWhole(path, settings, error)) return false;
  const std::string text = WithSettingsEntry(settings, index, entry);
  std::unique_ptr<ReplacingSink> sink = OpenReplacingFile(path, error);
  if (!sink) return false;
  if (!sink->Write(text.data(), text.size()) || !sink->Commit()) {
    error = sink->error();
    return false;
  }
  return true;
}

}  // namespace velorin
