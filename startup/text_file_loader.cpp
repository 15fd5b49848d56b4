// Line loader for the settings and message files.
#include "startup/text_file_loader.h"

#include <memory>
#include <string_view>
#include <system_error>

#include "platform/line_reader.h"

namespace velorin {
namespace {

constexpr std::int16_t kAllRead = 0;
constexpr std::int16_t kFileEndedFirst = 1;
constexpr std::int16_t kCannotOpen = -1;
constexpr std::int16_t kBadCount = -2;
constexpr std::int16_t kReadFailed = -3;

// The files are a few kilobytes; the reader grows its buffer for a longer line.
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

}  // namespace

std::int16_t LoadTextLines(FileSystem& files, const std::string& path, std::int32_t maxCount,
                           std::vector<std::string>& lines) {
  if (maxCount < 1) return kBadCount;

  std::error_code ec;
  std::unique_ptr<ByteSource> file = files.OpenForReading(path, ec);
  if (!file || ec) return kCannotOpen;

  // The file closes when `file` goes out of scope, on every way out.
  LineReader reader(*file, kBufferSize);
  std::int32_t count = 0;
  while (count < maxCount && !reader.AtEnd()) {
    std::string_view line;
    if (!reader.ReadLine(line)) return kReadFailed;
    if (static_cast<std::size_t>(count) >= lines.size()) return kReadFailed;
    lines[static_cast<std::size_t>(count)].assign(line);
    ++count;
  }
  // AtEnd() also reports a read error as the end of the data.
  if (reader.failed()) return kReadFailed;
  return count < maxCount ? kFileEndedFirst : kAllRead;
}

}  // namespace velorin
