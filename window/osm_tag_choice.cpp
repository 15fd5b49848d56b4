#include "window/osm_tag_choice.h"

#include <algorithm>
#include <array>

#include "formats/osm_tags.h"

namespace velorin {

namespace {

constexpr std::array<OsmPresetInfo, 4> kPresets = {{
    {OsmPreset::kFuel, "amenity=fuel"},
    {OsmPreset::kServices, "highway=services,highway=rest_area"},
    {OsmPreset::kHotSpring, "natural=hot_spring"},
    {OsmPreset::kParking, "amenity=parking"},
}};

OsmTagFilter Parsed(std::string_view text) {
  std::string unread;
  return ParseOsmTags(text, unread).value_or(OsmTagFilter{});
}

bool SameRule(const OsmTagRule& a, const OsmTagRule& b) {
  return a.key == b.key && a.value == b.value;
}

bool Has(const OsmTagFilter& filter, const OsmTagRule& rule) {
  return std::any_of(filter.rules.begin(), filter.rules.end(),
                     [&](const OsmTagRule& held) { return SameRule(held, rule); });
}

OsmTagFilter PresetFilter(OsmPreset preset) {
  for (const OsmPresetInfo& info : kPresets) {
    if (info.preset == preset) return Parsed(info.tags);
  }
  return {};
}

}  // namespace

std::span<const OsmPresetInfo> OsmPresets() { return kPresets; }

bool HoldsOsmPreset(std::string_view entry, OsmPreset preset) {
  const OsmTagFilter held = Parsed(entry);
  const OsmTagFilter wanted = PresetFilter(preset);
  return std::all_of(wanted.rules.begin(), wanted.rules.end(),
                     [&](const OsmTagRule& rule) { return Has(held, rule); });
}

std::string ToggledOsmPreset(std::string_view entry, OsmPreset preset) {
  OsmTagFilter held = Parsed(entry);
  const OsmTagFilter wanted = PresetFilter(preset);
  if (HoldsOsmPreset(entry, preset)) {
    std::erase_if(held.rules, [&](const OsmTagRule& rule) { return Has(wanted, rule); });
  } else {
    for (const OsmTagRule& rule : wanted.rules) {
      if (!Has(held, rule)) held.rules.push_back(rule);
    }
  }
  return held.Text();
}

}  // namespace velorin
