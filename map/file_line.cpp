#include "map/file_line.h"

#include <string_view>
#include <system_error>

#include "platform/file_system.h"
#include "platform/line_reader.h"

namespace velorin {

std::string ReadFileLine(const std::string& path, std::int64_t number, std::size_t maxBytes) {
  if (number < 1) return std::string();
  LocalFileSystem files;
  std::error_code error;
  std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) return std::string();
  LineReader lines(*source);
  std::string_view line;
  for (std::int64_t at = 1; lines.ReadLine(line); ++at) {
    if (at == number) return std::string(line.substr(0, maxBytes));
  }
  return std::string();
}

}  // namespace velorin
