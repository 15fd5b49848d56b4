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
// hand-edited [tiles] section, its comments, its line ends). Only a file of
// that shape is read and written: one that is not (a file linked or copied
// in its place) is refused and left as it is.
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

/// Whether `settings` has the shape of a settings file of sections: each
/// line empty, a comment (";" or "#"), a "[section]" or a "key=value".
bool IsMapSettingsText(std::string_view settings);

/// The value of an entry of a section, as written (trimmed); nothing when
/// the section or the entry is missing.
std::optional<std::string> SectionEntryIn(std::string_view settings, std::string_view section,
                                          std::string_view key);

/// The map's settings file at `path`, read through `files` as it is to be
/// read (platform/settings_file.h); nothing when `path` is empty, or the
/// file cannot be read or is no settings file (IsMapSettingsText).
std::optional<std::string> ReadMapSettings(FileSystem& files, const std::string& path);

/// Whether the settings say the map shows routes and tracks ("1").
bool MapRoutesAndTracksIn(std::string_view settings);
bool LoadMapRoutesAndTracks(FileSystem& files, const std::string& path);
bool SaveMapRoutesAndTracks(FileSystem& files, const std::string& path, bool shown,
                            std::error_code& error);

/// The place in the settings file at `path`; nothing when it cannot be
/// read or is no settings file.
std::optional<ScreenRect> LoadMapWindowPlace(FileSystem& files, const std::string& path);

/// Writes the place into the settings file at `path` (made if missing),
/// replacing it whole or not at all; false, with the reason in `error`,
/// when it cannot be, or is no settings file (std::errc::invalid_argument).
bool SaveMapWindowPlace(FileSystem& files, const std::string& path, const ScreenRect& place,
                        std::error_code& error);

}  // namespace velorin
