// The parts of the OSM reader that need no extract: the tags kept, the
// texts made of an object's keys, the point of an area, the node store.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "formats/osm_area_point.h"
#include "formats/osm_locations.h"
#include "formats/osm_tags.h"
#include "formats/osm_texts.h"

namespace velorin {
namespace {

struct TagsCase {
  const char* name;
  const char* text;
  std::optional<std::string> parsed;  ///< as Text() gives it; nothing: refused
};

void PrintTo(const TagsCase& c, std::ostream* out) { *out << c.name; }

class OsmTagsTest : public ::testing::TestWithParam<TagsCase> {};

TEST_P(OsmTagsTest, ParsesKeysAndValues) {
  std::string error;
  const std::optional<OsmTagFilter> filter = ParseOsmTags(GetParam().text, error);
  EXPECT_EQ(filter ? std::optional(filter->Text()) : std::nullopt, GetParam().parsed);
  EXPECT_EQ(error.empty(), GetParam().parsed.has_value()) << error;
}

INSTANTIATE_TEST_SUITE_P(Texts, OsmTagsTest,
                         ::testing::Values(TagsCase{"One", "amenity=fuel", "amenity=fuel"},
                                           TagsCase{"SeveralWithBlanks",
                                                    " amenity = fuel , tourism=* ,",
                                                    "amenity=fuel,tourism=*"},
                                           TagsCase{"ValueWithEquals", "name=a=b", "name=a=b"},
                                           TagsCase{"NoEquals", "amenity", std::nullopt},
                                           TagsCase{"EmptyKey", "=fuel", std::nullopt},
                                           TagsCase{"EmptyValue", "amenity=", std::nullopt},
                                           TagsCase{"Nothing", " , ", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OsmTags, KeepsAnyValueOfAStar) {
  std::string error;
  const OsmTagFilter filter = *ParseOsmTags("amenity=fuel,tourism=*", error);
  EXPECT_TRUE(filter.Keeps("amenity", "fuel"));
  EXPECT_FALSE(filter.Keeps("amenity", "parking"));
  EXPECT_TRUE(filter.Keeps("tourism", "viewpoint"));
  EXPECT_FALSE(filter.Keeps("Tourism", "viewpoint"));
}

struct AddressCase {
  const char* name;
  std::vector<OsmTag> tags;
  bool inJapan;
  std::string address;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }

class OsmAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(OsmAddressTest, WritesTheAddressInItsCountrysOrder) {
  EXPECT_EQ(OsmAddress(GetParam().tags, GetParam().inJapan), GetParam().address);
}

const std::vector<OsmTag> kHakone = {{"addr:housenumber", "3"},     {"addr:block_number", "5"},
                                     {"addr:quarter", "湯本"},      {"addr:city", "箱根町"},
                                     {"addr:province", "神奈川県"}, {"addr:postcode", "250-0311"}};

INSTANTIATE_TEST_SUITE_P(
    Addresses, OsmAddressTest,
    ::testing::Values(AddressCase{"JapaneseByPosition", kHakone, true,
                                  "\xE3\x80\x92"
                                  "250-0311 神奈川県箱根町湯本5-3"},
                      AddressCase{"WesternElsewhere",
                                  {{"addr:street", "Main Street"},
                                   {"addr:housenumber", "1"},
                                   {"addr:postcode", "12345"},
                                   {"addr:city", "Springfield"},
                                   {"addr:country", "US"}},
                                  true,
                                  "1 Main Street, 12345 Springfield, US"},
                      AddressCase{"CountryJpWins",
                                  {{"addr:country", "jp"}, {"addr:city", "那覇市"}},
                                  false,
                                  "那覇市"},
                      AddressCase{"FullAsItIs",
                                  {{"addr:full", "東京都千代田区1-1"}, {"addr:city", "x"}},
                                  false,
                                  "東京都千代田区1-1"},
                      AddressCase{"None", {{"name", "x"}}, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OsmTexts, TitleAndFieldsFromTheirKeys) {
  const std::vector<OsmTag> tags = {{"name", "道の駅"},
                                    {"name:en", "Roadside Station"},
                                    {"contact:phone", "+81 3"},
                                    {"website", "https://example.org"},
                                    {"contact:email", "a@example.org"},
                                    {"description", "Open air"},
                                    {"opening_hours", "24/7"}};
  EXPECT_EQ(OsmTitle(tags, "en"), "Roadside Station");
  EXPECT_EQ(OsmTitle(tags, "fr"), "道の駅");
  EXPECT_EQ(OsmTitle(tags, ""), "道の駅");
  PointFields fields;
  SetOsmFields(tags, 139.0, 35.0, fields);
  EXPECT_EQ(fields.Get(PointField::kPhone), "+81 3");
  EXPECT_EQ(fields.Get(PointField::kLink), "https://example.org");
  EXPECT_EQ(fields.Get(PointField::kEmail), "a@example.org");
  EXPECT_EQ(fields.Get(PointField::kDescription), "Open air");
  EXPECT_EQ(fields.Get(PointField::kComment), "24/7");
  EXPECT_EQ(fields.Get(PointField::kAddress), "");
}

OsmRing Ring(std::vector<LonLat> points, bool inner = false) { return {std::move(points), inner}; }

struct AreaCase {
  const char* name;
  std::vector<OsmRing> rings;
  std::optional<LonLat> point;
};

void PrintTo(const AreaCase& c, std::ostream* out) { *out << c.name; }

class AreaPointTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(AreaPointTest, PutsThePointInside) {
  const std::optional<LonLat> point = PointInArea(GetParam().rings);
  ASSERT_EQ(point.has_value(), GetParam().point.has_value());
  if (!point) return;
  EXPECT_NEAR(point->lon, GetParam().point->lon, 1e-9);
  EXPECT_NEAR(point->lat, GetParam().point->lat, 1e-9);
  EXPECT_TRUE(InsideRings(GetParam().rings, *point));
}

INSTANTIATE_TEST_SUITE_P(
    Areas, AreaPointTest,
    ::testing::Values(
        AreaCase{
            "SquareAtItsCentroid", {Ring({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}})}, LonLat{1, 1}},
        AreaCase{
            "UnclosedRingClosed", {Ring({{10, 10}, {12, 10}, {12, 12}, {10, 12}})}, LonLat{11, 11}},
        // A U: its centroid lies in the gap between the arms.
        AreaCase{"BentShapeOnItsSurface",
                 {Ring({{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}})},
                 LonLat{0.5, 2}},
        AreaCase{
            "NotInTheHole",
            {Ring({{0, 0}, {3, 0}, {3, 3}, {0, 3}}), Ring({{1, 1}, {2, 1}, {2, 2}, {1, 2}}, true)},
            LonLat{0.5, 1.5}},
        AreaCase{"FlatRingHasNoInside", {Ring({{0, 0}, {1, 1}, {2, 2}})}, std::nullopt},
        AreaCase{"FarFromZero",
                 {Ring({{139.7, 35.6}, {139.8, 35.6}, {139.8, 35.7}, {139.7, 35.7}})},
                 LonLat{139.75, 35.65}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LocationsCase {
  const char* name;
  bool shuffled;
  std::size_t memory;  ///< bytes before the temporary file
};

void PrintTo(const LocationsCase& c, std::ostream* out) { *out << c.name; }

class OsmLocationsTest : public ::testing::TestWithParam<LocationsCase> {};

TEST_P(OsmLocationsTest, FindsEveryNodeAdded) {
  constexpr std::int64_t kNodes = 3 * OsmLocations::kChunkNodes + 17;
  std::vector<std::int64_t> ids(kNodes);
  std::iota(ids.begin(), ids.end(), 0);
  for (std::int64_t& id : ids) id = id * 3 + 1000;
  if (GetParam().shuffled) std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
  OsmLocations locations(GetParam().memory);
  for (const std::int64_t id : ids) {
    locations.Add(id, {static_cast<std::int32_t>(id), static_cast<std::int32_t>(-id)});
  }
  for (const std::int64_t id : {ids.front(), ids.back(), ids[kNodes / 2], std::int64_t{1000}}) {
    const std::optional<NodeLocation> found = locations.Find(id);
    ASSERT_TRUE(found) << id;
    EXPECT_EQ(found->x, id);
    EXPECT_EQ(found->y, -id);
  }
  EXPECT_FALSE(locations.Find(1001));
  EXPECT_FALSE(locations.Find(999));
  EXPECT_FALSE(locations.Find(1000 + 3 * kNodes));
  EXPECT_FALSE(locations.failed());
  EXPECT_EQ(locations.chunksOnDisk() > 0, GetParam().memory == 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, OsmLocationsTest,
                         ::testing::Values(LocationsCase{"SortedInMemory", false, 1 << 30},
                                           LocationsCase{"SortedOnDisk", false, 0},
                                           LocationsCase{"ShuffledOnDisk", true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
