#include "platform/settings_file.h"

#include <array>
#include <memory>

namespace velorin {

bool IsSettingsText(std::string_view text) {
  if (text.size() > kSettingsFileLimit) return false;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') return false;
  }
  return true;
}

std::optional<std::string> ReadSettingsFile(FileSystem& files, const std::string& path,
                                            std::error_code& error) {
  error.clear();
  const std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return std::nullopt;
  std::string text;
  std::array<char, 4096> buffer{};
  for (std::ptrdiff_t got; (got = source->Read(buffer.data(), buffer.size())) != 0;) {
    if (got < 0) {
      error = source->error();
      return std::nullopt;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
    // Far longer than settings: no need to read the rest to know.
    if (text.size() > kSettingsFileLimit) break;
  }
  if (!IsSettingsText(text)) {
    error = std::make_error_code(std::errc::invalid_argument);
    return std::nullopt;
  }
  return text;
}

bool ReplaceSettingsFile(FileSystem& files, const std::string& path, std::string_view text,
                         std::error_code& error) {
  error.clear();
  const std::unique_ptr<ReplacingSink> sink = files.OpenForReplacingInFolder(path, error);
  if (!sink || error) return false;
  if (!sink->Write(text.data(), text.size()) || !sink->Commit()) {
    error = sink->error();
    if (!error) error = std::make_error_code(std::errc::io_error);
    return false;
  }
  return true;
}

}  // namespace velorin
