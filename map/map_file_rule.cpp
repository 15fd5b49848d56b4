#include "map/map_file_rule.h"

#include "formats/format_sniff.h"
#include "formats/format_table.h"

namespace velorin {

bool IsReadablePointFile(FileSystem& files, const std::string& path) {
  // A folder of photos is mapped as the run reads it: its photos.
  if (!path.empty() && files.IsFolder(path)) {
    return InfoOf(InputFormatOfFile(files, path)).makeFolderReader != nullptr;
  }
  if (path.empty() || !files.IsNormalFile(path)) return false;
  // Opened as the run would open it: a file the user may not read is no map.
  if (!files.ReadHead(path, 1).has_value()) return false;
  return InputFormatOfExtension(path).has_value() || SniffFileFormat(files, path).has_value();
}

}  // namespace velorin
