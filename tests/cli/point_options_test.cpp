// The options that choose points, read from the command line's texts.
#include "cli/point_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velorin {
namespace {

// The title filters refuse a pattern with its words, quoting a long one by
// its start; what patterns find is tested with the searcher (text/).
TEST(ParsePointSelection, RefusesAPatternSayingWhy) {
  struct Case {
    std::string value;
    std::string error;
  };
  const Case cases[] = {
      {"(東京",
       "--match: '(東京': '(' at character 1 is not closed: write \\( for the character "
       "itself"},
      {std::string(13'378, '(') + std::string(13'378, ')'),
       "--match: '" + std::string(60, '(') +
           "...' (26756 bytes): groups are nested more than 100 deep at character 101"},
      // Cut before 東, not inside it.
      {std::string(58, 'x') + "東京" + std::string(30, 'x') + "(",
       "--match: '" + std::string(58, 'x') +
           "...' (95 bytes): '(' at character 91 is not closed: write \\( for the character "
           "itself"},
  };
  for (const Case& c : cases) {
    const ParsedSelection parsed = ParsePointSelection({{"--match", c.value}}, "");
    EXPECT_EQ(parsed.error, c.error);
    EXPECT_TRUE(parsed.filters.empty());
  }
}

// What the values may hold besides plain numbers: blanks, a fraction of a
// unit, the two units.
TEST(ParsePointSelection, ReadsRadiiInEitherUnitAndBlanksAroundTheNumbers) {
  struct Case {
    const char* value;
    double latitude;
    double longitude;
    double metres;
  };
  const Case cases[] = {
      {"35.681236,139.767125,50km", 35.681236, 139.767125, 50'000},
      {"35.5,139.5,500m", 35.5, 139.5, 500},
      {" -33.9 , 151.2 , 0.5 km", -33.9, 151.2, 500},
      {"90,-180,1e1m", 90, -180, 10},
  };
  for (const Case& c : cases) {
    const ParsedSelection parsed = ParsePointSelection({{"--near", c.value}}, "");
    ASSERT_EQ(parsed.error, "") << c.value;
    const NearArea& area = parsed.filters.at(0).area;
    EXPECT_EQ(parsed.filters[0].kind, FilterKind::kNear);
    EXPECT_DOUBLE_EQ(area.latitude, c.latitude) << c.value;
    EXPECT_DOUBLE_EQ(area.longitude, c.longitude) << c.value;
    EXPECT_DOUBLE_EQ(area.metres, c.metres) << c.value;
  }
}

TEST(ParsePointSelection, KeepsTheOrderGivenAndNamesARepeatedOptionByItsValue) {
  const ParsedSelection parsed = ParsePointSelection(
      {{"--exclude", "x"}, {"--near", "35,139,5km"}, {"--match", "y"}, {"--near", "35,139,50km"}},
      "");
  ASSERT_EQ(parsed.error, "");
  std::vector<std::string> names;
  for (const PointFilter& filter : parsed.filters) names.push_back(filter.name);
  EXPECT_EQ(names, (std::vector<std::string>{"--exclude", "--near=35,139,5km", "--match",
                                             "--near=35,139,50km"}));
}

TEST(ParsePointSelection, SortsByDistanceFromTheFirstNearsCentre) {
  struct Case {
    std::vector<SelectionArgument> filters;
    const char* sort;
    std::optional<PointSort::Key> key;
    double latitude;
    const char* error;
  };
  const Case cases[] = {
      {{}, "", std::nullopt, 0, ""},
      {{}, "title", PointSort::Key::kTitle, 0, ""},
      {{{"--within", "0,0,1,1"}, {"--near", "35,139,5km"}, {"--near", "34,135,5km"}},
       "distance",
       PointSort::Key::kDistance,
       35,
       ""},
      {{{"--within", "0,0,1,1"}},
       "distance",
       std::nullopt,
       0,
       "--sort=distance needs --near: distances are measured from its centre"},
      {{}, "name", std::nullopt, 0, "--sort takes title or distance, not 'name'"},
  };
  for (const Case& c : cases) {
    const ParsedSelection parsed = ParsePointSelection(c.filters, c.sort);
    EXPECT_EQ(parsed.error, c.error) << c.sort;
    ASSERT_EQ(parsed.sort.has_value(), c.key.has_value()) << c.sort;
    if (!c.key) continue;
    EXPECT_EQ(parsed.sort->key, *c.key);
    EXPECT_DOUBLE_EQ(parsed.sort->latitude, c.latitude);
  }
}

}  // namespace
}  // namespace velorin
