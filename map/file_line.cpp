#include "map/file_line.h"

#include <string_view>
#include <system_error>

#include "formats/numbered_lines.h"
#include "text/cp932_decoder.h"
#include "text/utf8.h"

namespace velorin {

namespace {

// Enough for the lines of the files shown; a longer line (a hostile file)
// is not shown rather than held whole.
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
constexpr std::size_t kMaxLineSize = std::size_t{1} << 24;

/// Line `number` of the file, its bytes as they stand; nothing when the
/// file or the line is not there.
std::optional<std::string> LineBytes(FileSystem& files, const std::string& path,
                                     std::int64_t number) {
  if (number < 1) return std::nullopt;
  std::error_code error;
  std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return std::nullopt;
  NumberedLines lines(*source, kBufferSize, kMaxLineSize);
  std::string_view line;
  while (lines.number() < number) {
    if (!lines.Read(line)) return std::nullopt;
  }
  return std::string(line);
}

}  // namespace

std::string ReadFileLine(FileSystem& files, const std::string& path, std::int64_t number,
                         TextEncoding encoding, std::size_t maxBytes) {
  const std::optional<std::string> bytes = LineBytes(files, path, number);
  if (!bytes) return std::string();
  std::string utf8 = encoding == TextEncoding::kUtf8 ? *bytes : Cp932ToUtf8(*bytes);
  utf8.resize(utf8::CharacterEdgeAtOrBefore(utf8, maxBytes));
  return utf8;
}

TextEncoding LineEncodingOf(const MapReadResult& read) {
  if (!OptionApplies(FormatOption::kInputEncoding, read.format, false)) return TextEncoding::kUtf8;
  return read.outcome.inputEncoding;
}

}  // namespace velorin
