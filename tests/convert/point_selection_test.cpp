// The filters' rules against places whose answer is known, and the texts
// of the command line they are read from.
#include "convert/point_selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace velorin {
namespace {

struct Place {
  const char* name;
  double latitude;
  double longitude;
  bool kept;
};

std::string NameOf(const ::testing::TestParamInfo<Place>& info) { return info.param.name; }

// Tokyo Station, 50 km: Enoshima lies 49.8 km away, Tsukuba 52.7 km.
const NearArea kTokyoStation{35.681236, 139.767125, 50'000.0};

class NearTokyoStation : public ::testing::TestWithParam<Place> {};

TEST_P(NearTokyoStation, KeepsPlacesWithinFiftyKilometres) {
  const Place& place = GetParam();
  const auto metres = DistanceWithin(kTokyoStation, place.longitude, place.latitude);
  EXPECT_EQ(metres.has_value(), place.kept);
  if (metres) {
    EXPECT_LE(*metres, kTokyoStation.metres);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Places, NearTokyoStation,
    ::testing::Values(Place{"TokyoStationItself", 35.681236, 139.767125, true},
                      Place{"TokyoTower", 35.658581, 139.745433, true},
                      Place{"TokyoSkytree", 35.710063, 139.810700, true},
                      Place{"HanedaAirport", 35.5494, 139.7798, true},
                      Place{"YokohamaStation", 35.465833, 139.622778, true},
                      Place{"HachiojiStation", 35.655576, 139.338852, true},
                      Place{"EnoshimaJustInside", 35.2994, 139.4806, true},
                      Place{"TsukubaJustOutside", 36.0835, 140.0764, false},
                      Place{"NaritaAirport", 35.771986, 140.392850, false},
                      Place{"MountFuji", 35.360556, 138.727778, false},
                      Place{"OsakaStation", 34.702485, 135.495951, false},
                      // A POT file holds latitudes up to 180: no place on the globe.
                      Place{"LatitudeOffTheGlobe", 144.318764, 139.767125, false},
                      Place{"NotANumber", std::nan(""), 139.767125, false}),
    NameOf);

// Kansai, from Wakayama to north of Kyoto and from Kobe to Nara.
const LatLonBox kKansai{34.2, 134.9, 35.2, 136.2};

class WithinKansai : public ::testing::TestWithParam<Place> {};

TEST_P(WithinKansai, KeepsPlacesInTheBox) {
  const Place& place = GetParam();
  EXPECT_EQ(IsWithin(kKansai, place.longitude, place.latitude), place.kept);
}

INSTANTIATE_TEST_SUITE_P(Places, WithinKansai,
                         ::testing::Values(Place{"OsakaStation", 34.702485, 135.495951, true},
                                           Place{"KyotoStation", 34.985849, 135.758767, true},
                                           Place{"Sannomiya", 34.6946, 135.1956, true},
                                           Place{"Todaiji", 34.6890, 135.8398, true},
                                           Place{"Wakayama", 34.2261, 135.1675, true},
                                           Place{"SouthWestCorner", 34.2, 134.9, true},
                                           Place{"NorthEastCorner", 35.2, 136.2, true},
                                           Place{"NagoyaStationEast", 35.170694, 136.881637, false},
                                           Place{"HimejiCastleWest", 34.8394, 134.6939, false},
                                           Place{"ShirahamaSouth", 33.68, 135.34, false},
                                           Place{"TokyoStation", 35.681236, 139.767125, false}),
                         NameOf);

// Fiji lies on both sides of 180 degrees: west 176 to east -178.
const LatLonBox kFiji{-21.0, 176.0, -12.0, -178.0};

class WithinFiji : public ::testing::TestWithParam<Place> {};

TEST_P(WithinFiji, KeepsPlacesInABoxAcross180Degrees) {
  const Place& place = GetParam();
  EXPECT_EQ(IsWithin(kFiji, place.longitude, place.latitude), place.kept);
}

INSTANTIATE_TEST_SUITE_P(Places, WithinFiji,
                         ::testing::Values(Place{"Suva", -18.1416, 178.4419, true},
                                           Place{"Nadi", -17.7765, 177.4356, true},
                                           Place{"LakebaWestOfGreenwich", -18.2, -178.8, true},
                                           Place{"On180East", -17.0, 180.0, true},
                                           Place{"On180West", -17.0, -180.0, true},
                                           Place{"NukualofaSouthEast", -21.1394, -175.2049, false},
                                           Place{"ApiaEast", -13.8333, -171.7667, false},
                                           Place{"PortVilaWest", -17.7333, 168.3167, false},
                                           Place{"FunafutiNorth", -8.5211, 179.1983, false},
                                           Place{"Greenwich", -17.0, 0.0, false}),
                         NameOf);

TEST(WithinTheWholeWorld, KeepsBothSidesOf180) {
  const LatLonBox world{-90.0, -180.0, 90.0, 180.0};
  for (const double longitude : {-180.0, -0.5, 0.0, 179.9, 180.0}) {
    EXPECT_TRUE(IsWithin(world, longitude, 10.0)) << longitude;
  }
}

struct PatternCase {
  const char* name;
  const char* pattern;
  const char* title;
  bool matches;
};

class TitlePatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(TitlePatternTest, SearchesTheUtf8TitleAsDocumented) {
  const PatternCase& c = GetParam();
  std::string error;
  const auto pattern = CompileTitlePattern(c.pattern, error);
  ASSERT_TRUE(pattern) << error;
  EXPECT_EQ(TitleMatches(*pattern, c.title), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitlePatternTest,
    ::testing::Values(PatternCase{"EnglishWordAnywhere", "tower", "Tokyo Tower", true},
                      PatternCase{"AsciiLettersEitherCase", "TOKYO", "tokyo dome", true},
                      PatternCase{"EnglishWordMissing", "tower", "Tokyo Dome", false},
                      PatternCase{"Alternatives", "tower|タワー", "京都タワー", true},
                      PatternCase{"JapaneseWord", "東京", "東京タワー", true},
                      PatternCase{"JapaneseWordMissing", "東京", "京都タワー", false},
                      PatternCase{"JapaneseAtTheStart", "^東", "東京駅", true},
                      PatternCase{"JapaneseNotAtTheStart", "^京", "東京駅", false},
                      PatternCase{"JapaneseAtTheEnd", "タワー$", "東京タワー", true},
                      PatternCase{"DotsSpanCharacters", "東.*駅", "東京駅", true},
                      PatternCase{"WordBoundaryOfAscii", "\\bdome\\b", "Tokyo Dome City", true},
                      // Bytes, not characters: a dot takes one byte, so three dots match
                      // one Japanese character and not three.
                      PatternCase{"DotIsOneByte", "^...$", "城", true},
                      PatternCase{"ThreeDotsAreNotThreeCharacters", "^...$", "大阪城", false},
                      // A bracket holds the bytes of its characters: "本" shares its first
                      // byte with "東".
                      PatternCase{"BracketHoldsBytes", "^[東]", "本町", true},
                      // A count after a Japanese character repeats its last byte.
                      PatternCase{"CountRepeatsTheLastByte", "^あ{2}$", "ああ", false},
                      PatternCase{"GroupRepeatsTheCharacter", "^(?:あ){2}$", "ああ", true},
                      PatternCase{"FullWidthLettersAreNotFolded", "tokyo", "ＴＯＫＹＯ", false},
                      PatternCase{"AccentedLettersAreNotFolded", "é", "CAFÉ", false},
                      PatternCase{"EmptyMatchesEverything", "", "anything", true},
                      PatternCase{"EmptyMatchesAnEmptyTitle", "", "", true},
                      // A pattern that is just a word is searched for without std::regex;
                      // the same word as an expression gives the same answers.
                      PatternCase{"GroupAsciiLettersEitherCase", "(?:TOKYO)", "tokyo dome", true},
                      PatternCase{"GroupFullWidthLettersAreNotFolded", "(?:tokyo)", "ＴＯＫＹＯ",
                                  false},
                      PatternCase{"GroupAccentedLettersAreNotFolded", "(?:é)", "CAFÉ", false},
                      PatternCase{"GroupJapaneseWord", "(?:東京)", "東京タワー", true},
                      PatternCase{"WordLongerThanTheTitle", "tokyo tower", "tokyo", false},
                      PatternCase{"WordAtTheVeryEnd", "wer", "Tokyo Tower", true}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return info.param.name; });

// The executor walks a title without recursing: a long one costs no stack.
TEST(TitlePattern, SearchesATitleOfAMillionCharacters) {
  std::string error;
  const auto pattern = CompileTitlePattern("^(a|b)*z$", error);
  ASSERT_TRUE(pattern);
  EXPECT_TRUE(TitleMatches(*pattern, std::string(1'000'000, 'a') + "z"));
}

struct AcceptedCase {
  const char* name;
  const char* option;
  const char* value;
  FilterKind kind;
  double first;  ///< latitude of the centre, or the box's south
  double second;
  double third;   ///< metres, or the box's north
  double fourth;  ///< the box's east
};

class AcceptedValues : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedValues, AreReadIntoTheirFilter) {
  const AcceptedCase& c = GetParam();
  const ParsedSelection parsed = ParsePointSelection({{c.option, c.value}}, "");
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.filters.size(), 1u);
  const PointFilter& filter = parsed.filters[0];
  EXPECT_EQ(filter.kind, c.kind);
  EXPECT_EQ(filter.name, c.option);
  if (c.kind == FilterKind::kNear) {
    EXPECT_DOUBLE_EQ(filter.near.latitude, c.first);
    EXPECT_DOUBLE_EQ(filter.near.longitude, c.second);
    EXPECT_DOUBLE_EQ(filter.near.metres, c.third);
  } else if (c.kind == FilterKind::kWithin) {
    EXPECT_DOUBLE_EQ(filter.box.south, c.first);
    EXPECT_DOUBLE_EQ(filter.box.west, c.second);
    EXPECT_DOUBLE_EQ(filter.box.north, c.third);
    EXPECT_DOUBLE_EQ(filter.box.east, c.fourth);
  } else {
    EXPECT_TRUE(filter.title);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, AcceptedValues,
    ::testing::Values(
        AcceptedCase{"NearInKilometres", "--near", "35.681236,139.767125,50km", FilterKind::kNear,
                     35.681236, 139.767125, 50'000, 0},
        AcceptedCase{"NearInMetres", "--near", "35.5,139.5,500m", FilterKind::kNear, 35.5, 139.5,
                     500, 0},
        AcceptedCase{"NearWithBlanksAndAFraction", "--near", " -33.9 , 151.2 , 0.5 km",
                     FilterKind::kNear, -33.9, 151.2, 500, 0},
        AcceptedCase{"NearAtThePole", "--near", "90,-180,1m", FilterKind::kNear, 90, -180, 1, 0},
        AcceptedCase{"WithinKansai", "--within", "34.2,134.9,35.2,136.2", FilterKind::kWithin, 34.2,
                     134.9, 35.2, 136.2},
        AcceptedCase{"WithinAcross180", "--within", "-21,176,-12,-178", FilterKind::kWithin, -21,
                     176, -12, -178},
        AcceptedCase{"WithinOneLatitude", "--within", "35,135,35,136", FilterKind::kWithin, 35, 135,
                     35, 136},
        AcceptedCase{"Match", "--match", "東京|tokyo", FilterKind::kMatch, 0, 0, 0, 0},
        AcceptedCase{"Exclude", "--exclude", "^\\s*$", FilterKind::kExclude, 0, 0, 0, 0}),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return info.param.name; });

struct RefusedCase {
  const char* name;
  const char* option;
  const char* value;
  const char* error;
};

class RefusedValues : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedValues, SayWhatIsWrong) {
  const RefusedCase& c = GetParam();
  EXPECT_EQ(ParsePointSelection({{c.option, c.value}}, "").error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedValues,
    ::testing::Values(
        RefusedCase{"NearLatitudePast90", "--near", "90.5,139,5km",
                    "--near: latitude 90.5 is outside -90 to 90 degrees"},
        RefusedCase{"NearLongitudePast180", "--near", "35,181,5km",
                    "--near: longitude 181 is outside -180 to 180 degrees"},
        RefusedCase{"NearWithoutRadius", "--near", "35.68,139.76",
                    "--near takes LAT,LON,RADIUS in decimal degrees and a radius with its unit, "
                    "m or km (e.g. --near=35.6812,139.7671,50km), not '35.68,139.76'"},
        RefusedCase{"NearEmptyRadius", "--near", "35.68,139.76,",
                    "--near: '' is no radius such as 500m or 50km"},
        RefusedCase{"NearRadiusWithoutUnit", "--near", "35.68,139.76,50",
                    "--near: the radius '50' needs its unit, m or km (e.g. 50km)"},
        RefusedCase{"NearRadiusInMiles", "--near", "35.68,139.76,5mi",
                    "--near: '5mi' is no radius such as 500m or 50km"},
        RefusedCase{"NearRadiusZero", "--near", "35.68,139.76,0m",
                    "--near: the radius must be more than 0, not '0m'"},
        RefusedCase{"NearRadiusNegative", "--near", "35.68,139.76,-5km",
                    "--near: the radius must be more than 0, not '-5km'"},
        RefusedCase{"NearUnitAlone", "--near", "35.68,139.76,km",
                    "--near: 'km' is no radius such as 500m or 50km"},
        RefusedCase{"NearNotANumber", "--near", "nan,139.76,5km",
                    "--near: 'nan' is no latitude in decimal degrees"},
        RefusedCase{"NearDegreesMinutes", "--near", "35'40'52'3,139.76,5km",
                    "--near: '35'40'52'3' is no latitude in decimal degrees"},
        RefusedCase{"WithinSouthNorthOfNorth", "--within", "35.2,134.9,34.2,136.2",
                    "--within: SOUTH 35.2 lies north of NORTH 34.2"},
        RefusedCase{"WithinLatitudePast90", "--within", "34,135,91,136",
                    "--within: latitude 91 is outside -90 to 90 degrees"},
        RefusedCase{"WithinLongitudePast180", "--within", "34,-190,35,136",
                    "--within: longitude -190 is outside -180 to 180 degrees"},
        RefusedCase{"WithinThreeNumbers", "--within", "34,135,35",
                    "--within takes SOUTH,WEST,NORTH,EAST in decimal degrees (e.g. "
                    "--within=34.3,135.0,35.1,136.0), not '34,135,35'"},
        RefusedCase{"WithinAWord", "--within", "34,135,35,east",
                    "--within: 'east' is no longitude in decimal degrees"},
        RefusedCase{"MatchUnclosedParenthesis", "--match", "(東京",
                    "--match: '(東京' is no regular expression: a parenthesis not closed or not "
                    "opened, an unknown (?...) group, or *, + or ? with nothing to repeat"},
        RefusedCase{"MatchUnclosedBracket", "--match", "[ab",
                    "--match: '[ab' is no regular expression: a bracket expression [...] that is "
                    "not closed or not valid"},
        RefusedCase{"MatchRangeBackwards", "--match", "[z-a]",
                    "--match: '[z-a]' is no regular expression: a range in brackets that is no "
                    "range or not closed"},
        RefusedCase{"ExcludeNothingToRepeat", "--exclude", "*x",
                    "--exclude: '*x' is no regular expression: a parenthesis not closed or not "
                    "opened, an unknown (?...) group, or *, + or ? with nothing to repeat"},
        RefusedCase{"ExcludeNamedGroup", "--exclude", "(?<n>a)",
                    "--exclude: '(?<n>a)' is no regular expression: a parenthesis not closed or "
                    "not opened, an unknown (?...) group, or *, + or ? with nothing to repeat"},
        RefusedCase{"MatchCountBackwards", "--match", "a{3,1}",
                    "--match: 'a{3,1}' is no regular expression: a count in braces that is no "
                    "count"},
        RefusedCase{"MatchTrailingBackslash", "--match", "a\\",
                    "--match: 'a\\' is no regular expression: a backslash at its end or before a "
                    "character it cannot escape"},
        RefusedCase{"MatchTooLarge", "--match", "x{1000000}",
                    "--match: 'x{1000000}' is no regular expression: too large to search with"},
        RefusedCase{"ExcludeBackReference", "--exclude", "(a)\\1",
                    "--exclude: '(a)\\1' is no regular expression: a back-reference (\\1 and the "
                    "like), which title filters do not support"},
        RefusedCase{"MatchNotUtf8", "--match", "\x93\x8c",
                    "--match: '\x93\x8c' is no regular expression: it is not UTF-8 text"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

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

TEST(TitleComesBefore, OrdersByCodePointWithAsciiLettersOfEitherCaseAlike) {
  struct Case {
    const char* a;
    const char* b;
    bool before;
  };
  const Case cases[] = {
      {"apple", "Banana", true},
      {"Banana", "apple", false},
      {"Tokyo", "tokyo", false},
      {"tokyo", "Tokyo", false},
      {"Tokyo", "Tokyo Tower", true},
      {"Zoo", "あ", true},
      {"あ", "ア", true},
      {"ア", "亜", true},
      {"亜", "Ａ", true},
      {"a_", "A[", false},  // "_" comes after "[" as it is, not after "a"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TitleComesBefore(c.a, c.b), c.before) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace velorin
