#include "window/osm_tag_choice.h"

#include <gtest/gtest.h>

namespace velorin {
namespace {

struct ToggleCase {
  const char* name;
  const char* entry;
  OsmPreset preset;
  bool held;
  const char* toggled;
};

void PrintTo(const ToggleCase& c, std::ostream* out) { *out << c.name; }

class OsmTagChoiceTest : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(OsmTagChoiceTest, AddsOrTakesOutTheKindsTags) {
  EXPECT_EQ(HoldsOsmPreset(GetParam().entry, GetParam().preset), GetParam().held);
  EXPECT_EQ(ToggledOsmPreset(GetParam().entry, GetParam().preset), GetParam().toggled);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, OsmTagChoiceTest,
    ::testing::Values(ToggleCase{"AddedToNothing", "", OsmPreset::kFuel, false, "amenity=fuel"},
                      ToggleCase{"TakenOut", "amenity=fuel,natural=hot_spring", OsmPreset::kFuel,
                                 true, "natural=hot_spring"},
                      // Tags written by hand stay where they are.
                      ToggleCase{"HandWrittenKept", "shop=*,amenity=parking", OsmPreset::kHotSpring,
                                 false, "shop=*,amenity=parking,natural=hot_spring"},
                      // A kind of two tags, one held: the other is added.
                      ToggleCase{"HalfHeldCompleted", "highway=rest_area", OsmPreset::kServices,
                                 false, "highway=rest_area,highway=services"},
                      ToggleCase{"UnreadableCountsAsEmpty", "not tags", OsmPreset::kParking, false,
                                 "amenity=parking"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
