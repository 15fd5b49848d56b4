#include "startup/settings_entry.h"

#include <array>
#include <memory>

#include "platform/file_system.h"
#include "platform/replacing_file.h"

namespace velorin {

namespace {

/// The whole file; nothing when it cannot be read.
bool ReadWhole(const std::string& path, std::string& text, std::error_code& error) {
  LocalFileSystem files;
  const std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return false;
  std::array<char, 4096> buffer{};
  for (std::ptrdiff_t got; (got = source->Read(buffer.data(), buffer.size())) != 0;) {
    if (got < 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace

std::string WithSettingsEntry(std::string_view settings, std::size_t index,
                              std::string_view value) {
  std::string text;
  std::size_t line = 0;
  for (; !settings.empty(); ++line) {
    const std::size_t end = settings.find('\n');
    const bool ended = end != std::string_view::npos;
    std::string_view content = settings.substr(0, end);
    std::string_view ending = ended ? "\n" : "";
    if (ended && content.ends_with('\r')) {
      content.remove_suffix(1);
      ending = "\r\n";
    }
    if (line == index) {
      text += value;
      text += ended ? ending : "\r\n";
    } else {
      text += content;
      text += ending;
    }
    settings = ended ? settings.substr(end + 1) : std::string_view();
  }
  if (line > index) return text;
  // A file too short for the entry: empty lines up to it.
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  for (; line < index; ++line) text += "\r\n";
  text += value;
  text += "\r\n";
  return text;
}

bool SaveSettingsEntry(const std::string& path, std::size_t index, std::string_view value,
                       std::error_code& error) {
  std::string settings;
  if (!ReadWhole(path, settings, error)) return false;
  const std::string text = WithSettingsEntry(settings, index, value);
  std::unique_ptr<ReplacingSink> sink = OpenReplacingFile(path, error);
  if (!sink) return false;
  if (!sink->Write(text.data(), text.size()) || !sink->Commit()) {
    error = sink->error();
    return false;
  }
  return true;
}

}  // namespace velorin
