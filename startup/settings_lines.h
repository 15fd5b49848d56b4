#pragma once
// The lines of the settings file (velorin.ini) by what they hold, counted
// from 0: the one place that numbers them. Start-up reads the first
// kSettingsLines; the window reads its choices from them and writes back
// the ones it remembers.
#include <cstddef>

namespace velorin {

/// The lines a settings file holds at the least (start-up reads as many).
inline constexpr std::size_t kSettingsLines = 16;

/// The language of the message and help files: exactly "0" is Japanese.
inline constexpr std::size_t kLanguageEntry = 0;
/// The untitled rule: exactly "0" keeps untitled points as "no title".
inline constexpr std::size_t kUntitledEntry = 1;
/// The log switch: exactly "1" writes a log beside the output.
inline constexpr std::size_t kLogEntry = 3;
/// The NVI fields the window fills ("addr,comm", "all"; empty: none).
inline constexpr std::size_t kNviFieldsSetting = 5;
/// The window's datum choices (Tool > Option): the datum of POT, NVI and
/// CSV inputs, and the one NVI is written in. Exactly "tokyo" is the Tokyo
/// datum; anything else (the shipped empty line) WGS 84.
inline constexpr std::size_t kInputDatumEntry = 8;
inline constexpr std::size_t kOutputDatumEntry = 9;
/// The tags of the OpenStreetMap objects an OSM input gives, as --osm-tags
/// takes them ("amenity=fuel,natural=hot_spring"); empty or unreadable
/// keeps none.
inline constexpr std::size_t kOsmTagsEntry = 10;

}  // namespace velorin
