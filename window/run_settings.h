#pragma once
// The window's run options as the settings file sets them.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "geo/datum.h"
#include "startup/settings_lines.h"
#include "window/window_run.h"

namespace velorin {

Datum DatumOfSetting(std::string_view entry);
/// Whether `entry` is what a datum entry holds ("tokyo", "wgs84"; empty
/// counts too): the settings file is written only over such an entry.
bool IsDatumSetting(std::string_view entry);
/// What a datum entry holds for `datum`: "tokyo" or "wgs84".
std::string_view SettingOfDatum(Datum datum);

/// The run's options from the entries of startup/settings_lines.h: the
/// untitled rule, the log switch, the NVI fields filled (anything else than
/// a list of them fills none), the datums, the OSM tags; a missing entry
/// counts as empty.
WindowRunOptions RunOptionsFromSettings(std::span<const std::string> settings);

}  // namespace velorin
