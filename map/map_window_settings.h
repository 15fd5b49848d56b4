#pragma once
// The map window's place and size in the map's settings file
// (velorin_map.ini), as the lines of its [window] section:
//   [window]
//   x=920
//   y=120
//   width=900
//   height=640
// Written back into the file's text keeping every other line as it was (a
// hand-edited [tiles] section, its comments, its line ends).
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "map/map_window_place.h"

namespace velorin {

/// The place in the text of a settings file; nothing when the section or
/// any of its four entries is missing or not a number, or the size is not
/// positive.
std::optional<ScreenRect> MapWindowPlaceIn(std::string_view settings);

/// The text of a settings file with the place in its [window] section: the
/// four entries replaced where they are, added where they are not, the
/// section added at the end when there is none.
std::string WithMapWindowPlace(std::string_view settings, const ScreenRect& place);

/// The place in the settings file at `path`; nothing when it cannot be read.
std::optional<ScreenRect> LoadMapWindowPlace(const std::string& path);

/// Writes the place into the settings file at `path` (made if missing),
/// replacing it whole or not at all.
bool SaveMapWindowPlace(const std::string& path, const ScreenRect& place, std::error_code& error);

}  // namespace velorin
