#pragma once
// The map window's place and size in the map's settings file
// (velorin_map.ini), as the lines of its [window] section, and whether it
// shows the points of routes and tracks:
//   [window]
//   x=920
//   y=120
//   width=900
//   height=640
//   routes_and_tracks=1
// Written back into the file's text keeping every other line as it was (a
// hand-edited [tiles] section, its comments, its line ends).
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "map/map_window_place.h"
#include "platform/file_system.h"

namespace velorin {

/// The place in the text of a settings file; nothing when the section or
/// any of its four entries is missing or not a number, or the size is not
/// positive.
std::optional<ScreenRect> MapWindowPlaceIn(std::string_view settings);

/// The text of a settings file with the place in its [window] section: the
/// four entries replaced where they are, added where they are not, the
/// section added at the end when there is none.
std::string WithMapWindowPlace(std::string_view settings, const ScreenRect& place);

/// An entry of the [window] section: its key and its value.
using WindowEntry = std::pair<std::string, std::string>;

/// The text of a settings file with `entries` in its [window] section,
/// replaced where they are, added where they are not.
std::string WithWindowEntries(std::string_view settings, const std::vector<WindowEntry>& entries);
/// The value of an entry of the [window] section; nothing when it has none.
std::optional<std::string> WindowEntryIn(std::string_view settings, std::string_view key);

/// The value of an entry of a section, as written (trimmed); nothing when
/// the section or the entry is missing.
std::optional<std::string> SectionEntryIn(std::string_view settings, std::string_view section,
                                          std::string_view key);

/// The whole settings file at `path`, read through `files`; nothing when
/// it cannot be read (or `path` is empty).
std::optional<std::string> ReadSettingsFile(FileSystem& files, const std::string& path);

/// Whether the settings say the map shows routes and tracks ("1").
bool MapRoutesAndTracksIn(std::string_view settings);
bool LoadMapRoutesAndTracks(const std::string& path);
bool SaveMapRoutesAndTracks(const std::string& path, bool shown, std::error_code& error);

/// The place in the settings file at `path`; nothing when it cannot be read.
std::optional<ScreenRect> LoadMapWindowPlace(const std::string& path);

/// Writes the place into the settings file at `path` (made if missing),
/// replacing it whole or not at all.
bool SaveMapWindowPlace(const std::string& path, const ScreenRect& place, std::error_code& error);

}  // namespace velorin
