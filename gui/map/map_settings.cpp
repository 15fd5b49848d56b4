#include "gui/map/map_settings.h"

#include "map/tile_settings.h"
#include "platform/file_system.h"

namespace velorin {

TileServer TileServerFromSettings(const std::string& path) {
  LocalFileSystem files;
  return TileServerFromSettings(files, path);
}

}  // namespace velorin
