#pragma once
// The window's run options as the settings file sets them.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "geo/datum.h"
#include "window/window_run.h"

namespace velorin {

/// The entries of the window's datum choices (Tool > Option): the datum of
/// POT, NVI and CSV inputs, and the one NVI is written in. Exactly "tokyo"
/// is the Tokyo datum; anything else (the shipped empty line) WGS 84.
inline constexpr std::size_t kInputDatumEntry = 8;
inline constexpr std::size_t kOutputDatumEntry = 9;
/// The tags of the OpenStreetMap objects an OSM input gives, as --osm-tags
/// takes them ("amenity=fuel,natural=hot_spring"); empty or unreadable
/// keeps none.
inline constexpr std::size_t kOsmTagsEntry = 10;

Datum DatumOfSetting(std::string_view entry);
/// Whether `entry` is what a datum entry holds ("tokyo", "wgs84"; empty
/// counts too): the settings file is written only over such an entry.
bool IsDatumSetting(std::string_view entry);
/// What a datum entry holds for `datum`: "tokyo" or "wgs84".
std::string_view SettingOfDatum(Datum datum);

/// Entry 1 is the untitled rule (exactly "0" keeps untitled points), entry 3
/// the log switch (exactly "1" is on), entry 5 the NVI fields filled
/// ("addr,comm", "all"; anything else fills none), entries 8 and 9 the
/// datums, entry 10 the OSM tags; a missing entry counts as empty.
WindowRunOptions RunOptionsFromSettings(std::span<const std::string> settings);

}  // namespace velorin
