#pragma once
// The OpenStreetMap objects the window keeps of an extract, chosen under
// Tool > Option from a few kinds a car-navigation owner wants, each a set of
// tags; the choice is the tags of the settings file's entry (as --osm-tags
// takes them), where any other tags may be written by hand and are kept.
#include <span>
#include <string>
#include <string_view>

namespace velorin {

enum class OsmPreset { kFuel, kServices, kHotSpring, kParking };

struct OsmPresetInfo {
  OsmPreset preset;
  std::string_view tags;  ///< "highway=services,highway=rest_area"
};

std::span<const OsmPresetInfo> OsmPresets();

/// Whether the entry's tags hold every tag of `preset`.
bool HoldsOsmPreset(std::string_view entry, OsmPreset preset);

/// The entry with the preset's tags taken out when it held them all, else
/// added; its other tags kept in their order. An entry that cannot be read
/// counts as empty.
std::string ToggledOsmPreset(std::string_view entry, OsmPreset preset);

}  // namespace velorin
