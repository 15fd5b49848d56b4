// What a point of the map says when hovered: title, both notations, the
// NVI position code and the line; a skipped point's line and why, the
// engine's words on why in English only; a circle's count grouped.
#include "map/point_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_test_map.h"

namespace velorin {
namespace {

// Every message is its number, "M154"; the table is CP932 as the files are.
MapMessages Words(bool japanese) {
  std::vector<std::string> table(200);
  for (std::size_t n = 0; n < table.size(); ++n) table[n] = "M" + std::to_string(n);
  return MapMessages(table, japanese);
}

struct HoverCase {
  std::string name;
  std::uint32_t item;  ///< of kSixEntries: three points, then the skipped entries
  bool japanese;
  std::string text;
};

class HoverTextTest : public testing::TestWithParam<HoverCase> {};

TEST_P(HoverTextTest, SaysWhatThePointIs) {
  MemoryFileSystem files;
  const auto map = testutil::MapOf(files, "six.csv", testutil::kSixEntries);
  const EditedPoints points(*map, UntitledRule::kSkip);
  EXPECT_EQ(HoverText(Words(GetParam().japanese), points, GetParam().item), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Items, HoverTextTest,
    testing::Values(
        HoverCase{"Point", 0, false,
                  "Tokyo Tower\nM154 139'44'43'6 (139.745433000)\nM155 35'39'30'9 (35.658581000)\n"
                  "M150 $168733DF7E085B86\nM149 2"},
        HoverCase{"PointInJapanese", 0, true,
                  "Tokyo Tower\nM154 139'44'43'6 (139.745433000)\nM155 35'39'30'9 (35.658581000)\n"
                  "M150 $168733DF7E085B86\nM149 2"},
        HoverCase{"WestOfNviSaysWhyInEnglish", 3, false,
                  "Big Ben\nM154 -0'7'28'7 (-0.124625000)\nM155 51'30'2'6 (51.500729000)\n"
                  "M149 4\nM149 4: M152 (longitude -0.124625 is outside 0 to 180 degrees)"},
        HoverCase{"WestOfNviInJapaneseKeepsToItsWords", 3, true,
                  "Big Ben\nM154 -0'7'28'7 (-0.124625000)\nM155 51'30'2'6 (51.500729000)\n"
                  "M149 4\nM149 4: M152"},
        HoverCase{"UntitledHasAnEmptyTitleLine", 4, false,
                  "\nM154 135'30'0'0 (135.500000000)\nM155 34'42'0'0 (34.700000000)\n"
                  "M150 $168099E5AA1313A2\nM149 5\nM149 5: M151 (no title)"},
        HoverCase{"UnreadableHasNoPosition", 5, false,
                  "\nM149 6\nM149 6: M153 (latitude 'north' is not a number)"},
        HoverCase{"NoSuchItem", 99, false, ""}),
    [](const auto& info) { return info.param.name; });

struct CountCase {
  std::uint64_t count;
  std::string text;
};

class GroupedCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(GroupedCountTest, GroupsThousands) {
  EXPECT_EQ(GroupedCount(GetParam().count), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, GroupedCountTest,
    testing::Values(CountCase{0, "0"}, CountCase{999, "999"}, CountCase{1000, "1,000"},
                    CountCase{65536, "65,536"}, CountCase{1000000, "1,000,000"},
                    CountCase{18446744073709551615U, "18,446,744,073,709,551,615"}),
    [](const auto& info) { return "n" + std::to_string(info.param.count); });

TEST(ClusterTextTest, NamesTheCount) { EXPECT_EQ(ClusterText(Words(true), 2500), "M148 2,500"); }

// A menu's word in a box's caption or on its button: no key, no dots.
TEST(PlainMenuWordTest, LeavesTheKeyAndTheDots) {
  const std::pair<const char*, const char*> cases[] = {
      {"保存(&S)", "保存"},
      {"&Save", "Save"},
      {"Add a point...", "Add a point"},
      {"位置を指定して移動(&M)...", "位置を指定して移動"},
      {" キャンセル ", "キャンセル"},
      {"(&Save)", "(Save)"},  // not a key in brackets: only its mark goes
      {"&", ""},
  };
  for (const auto& [word, plain] : cases) EXPECT_EQ(PlainMenuWord(word), plain) << word;
}

}  // namespace
}  // namespace velorin
