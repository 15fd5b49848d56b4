#include "map/map_file_rule.h"

#include <fstream>

#include "formats/format_sniff.h"
#include "formats/format_table.h"
#include "platform/file_system.h"

namespace velorin {

bool IsReadablePointFile(const std::string& path) {
  if (path.empty()) return false;
  LocalFileSystem files;
  if (!files.IsNormalFile(path)) return false;
  if (!std::ifstream(path, std::ios::binary).is_open()) return false;
  return InputFormatOfExtension(path).has_value() || SniffFileFormat(path).has_value();
}

}  // namespace velorin
