#pragma once
// The map's tile server as its settings file says (velorin_map.ini, UTF-8):
//   [tiles]
//   url=https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png
//   attribution=地理院タイル
//   contact=you@example.org
// A missing file or entry means OpenStreetMap's tiles; url=none, offline.
// VELORIN_TILE_URL overrides the server for one run (map/tile_server.h).
// A value may be quoted, with \" \\ \r \n \t inside; an unquoted one ends
// at a ";" that starts a comment.
#include <string>
#include <string_view>

#include "map/tile_server.h"
#include "platform/file_system.h"

namespace velorin {

/// An entry of the [tiles] section as it reads, unquoted; empty when none.
std::string TileSettingIn(std::string_view settings, std::string_view key);

/// The server of the settings' text and the variable's value (null when
/// unset); the contact goes with any server.
TileServer TileServerOfSettings(std::string_view settings, const char* variable);

/// The server of the settings file at `path` (which may be missing or
/// empty), read through `files`, and of VELORIN_TILE_URL.
TileServer TileServerFromSettings(FileSystem& files, const std::string& path);

}  // namespace velorin
