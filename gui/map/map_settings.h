#pragma once
// The map window's settings file (velorin_map.ini, beside velorin.ini), in
// the INI format, UTF-8:
//   [tiles]
//   url=https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png
//   attribution=地理院タイル
//   contact=you@example.org
// A missing file or entry means OpenStreetMap's tiles; url=none, offline.
// The contact goes into the tile requests' User-Agent.
#include <string>

#include "map/tile_server.h"

namespace velorin {

/// The tile server of the settings file at `path` (which may be missing or
/// empty), overridden by VELORIN_TILE_URL when that is set.
TileServer TileServerFromSettings(const std::string& path);

}  // namespace velorin
