// A typed title checked as the output will hold it: nothing but blanks,
// characters the output's encoding lacks, what the writer changes, the
// longest title a format keeps.
#include "map/title_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

struct TitleCase {
  const char* name;
  std::string typed;
  PointFormat format;
  std::string written;
  bool empty;
  std::vector<std::string> unshowable;
  bool changed;
  bool tooLong;
};

class TitleCheckTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitleCheckTest, SaysWhatTheFileWillHold) {
  const TitleCase& c = GetParam();
  const TitleCheck check = CheckTitle(c.typed, c.format);
  if (!c.tooLong) {
    EXPECT_EQ(check.written, c.written);
  }
  EXPECT_EQ(check.empty, c.empty);
  EXPECT_EQ(check.unshowable, c.unshowable);
  EXPECT_EQ(check.changed, c.changed);
  EXPECT_EQ(check.tooLong, c.tooLong);
  EXPECT_EQ(check.ok(), !c.empty && c.unshowable.empty() && !c.changed && !c.tooLong);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleCheckTest,
    ::testing::Values(
        TitleCase{
            "Plain", "Tokyo Tower", PointFormat::kNvi, "Tokyo Tower", false, {}, false, false},
        TitleCase{
            "Japanese", "東京タワー", PointFormat::kNvi, "東京タワー", false, {}, false, false},
        TitleCase{"Blank", "   ", PointFormat::kNvi, "   ", true, {}, false, false},
        TitleCase{"Nothing", "", PointFormat::kGpx, "", true, {}, false, false},
        TitleCase{
            "AccentTakesTheClosest", "Café", PointFormat::kNvi, "Cafe", false, {"é"}, false, false},
        TitleCase{"EachLackingCharacterOnce",
                  "😀a😀€",
                  PointFormat::kPot,
                  "?a?EUR",
                  false,
                  {"😀", "€"},
                  false,
                  false},
        TitleCase{"Utf8OutputHoldsThemAll",
                  "Café 😀",
                  PointFormat::kGpx,
                  "Café 😀",
                  false,
                  {},
                  false,
                  false},
        TitleCase{"PotSlashIsFullWidth", "A/B", PointFormat::kPot, "A／B", false, {}, true, false},
        TitleCase{"NviKeepsTheSlash", "A/B", PointFormat::kNvi, "A/B", false, {}, false, false},
        TitleCase{"ControlCharacterReplaced",
                  "A\x01"
                  "B",
                  PointFormat::kKml,
                  "A\xEF\xBF\xBD"
                  "B",
                  false,
                  {},
                  true,
                  false},
        TitleCase{"LongerThanPotKeeps",
                  std::string(32'001, 'x'),
                  PointFormat::kPot,
                  "",
                  false,
                  {},
                  false,
                  true},
        TitleCase{"AsLongAsPotKeeps",
                  std::string(32'000, 'x'),
                  PointFormat::kPot,
                  std::string(32'000, 'x'),
                  false,
                  {},
                  false,
                  false},
        TitleCase{"NviHasNoLimit",
                  std::string(40'000, 'x'),
                  PointFormat::kNvi,
                  std::string(40'000, 'x'),
                  false,
                  {},
                  false,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TitleCheckTest, EachFormatsEncoding) {
  EXPECT_EQ(OutputTitleTarget(PointFormat::kNvi).encoding, TitleEncoding::kCp932);
  EXPECT_EQ(OutputTitleTarget(PointFormat::kPot).encoding, TitleEncoding::kCp932);
  EXPECT_EQ(OutputTitleTarget(PointFormat::kGpx).encoding, TitleEncoding::kUtf8);
  EXPECT_EQ(OutputTitleTarget(PointFormat::kGeoJson).encoding, TitleEncoding::kUtf8);
}

struct RemarkCase {
  const char* name;
  std::string typed;
  PointFormat format;
  std::string text;
};

class TitleCheckTextTest : public ::testing::TestWithParam<RemarkCase> {};

TEST_P(TitleCheckTextTest, SaysOneRemarkToALine) {
  std::vector<std::string> table(200);
  for (std::size_t n = 0; n < table.size(); ++n) table[n] = "M" + std::to_string(n);
  const MapMessages words(table, false);
  EXPECT_EQ(TitleCheckText(words, GetParam().typed, GetParam().format), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Remarks, TitleCheckTextTest,
    ::testing::Values(RemarkCase{"KeptAsTyped", "Tokyo", PointFormat::kNvi, ""},
                      RemarkCase{"NoTitle", "  ", PointFormat::kNvi, "M151"},
                      // Cut: what the file would hold is not shown.
                      RemarkCase{"TooLong", std::string(32'001, 'x'), PointFormat::kPot,
                                 "M167 32000"},
                      RemarkCase{"Unshowable", "Café😀", PointFormat::kNvi, "M165 é 😀\nM166 Cafe?"},
                      RemarkCase{"Changed", "A/B", PointFormat::kPot, "M166 A／B"},
                      RemarkCase{"TooLongAndUnshowable", std::string(32'000, 'x') + "é",
                                 PointFormat::kPot, "M167 32000\nM165 é"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
