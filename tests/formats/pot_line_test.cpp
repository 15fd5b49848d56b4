#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <string_view>

#include "formats/poi_record.h"
#include "geo/coordinate.h"

namespace velorin {
namespace {

struct PotLineCase {
  const char* name;
  std::string_view line;
  std::string_view untitledSetting;
  SkipReason reason;
  std::string_view title{};
  std::string_view longitudeText{};
  std::string_view latitudeText{};
  std::string_view position{};  ///< only for accepted lines
};

constexpr std::string_view kTower = "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3";

const PotLineCase kCases[] = {
    {"worked example", kTower, "1", SkipReason::kNone, "Tower", "139'46'1'6", "35'40'52'3",
     "$168736AFD305033D"},
    {"lower-case prefix", "ord=poi/tex=A/kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNone, "A",
     "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"mixed-case prefix and keys", "Ord=pOi/TEX=A/Kei=135'0'0'0/IDO=35'0'0'0", "1",
     SkipReason::kNone, "A", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"only seven characters compared", "ORD=POIX/tex=A/kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNone, "A", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"blank before the prefix", " ORD=POI/tex=A/kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNotPointLine},
    {"shorter than the prefix", "ORD=PO", "0", SkipReason::kNotPointLine},
    {"empty line", "", "0", SkipReason::kNotPointLine},
    {"other record kind", "ORD=TRK/tex=A/kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNotPointLine},
    {"full-width letters are no prefix", "\x82\x6E\x82\x71\x82\x63=POI/tex=A", "1",
     SkipReason::kNotPointLine},
    {"prefix alone", "ORD=POI", "1", SkipReason::kNoTitle},
    {"prefix alone, untitled allowed", "ORD=POI", "0", SkipReason::kNoLongitude, "no title"},
    {"empty title, untitled allowed", "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0", "0",
     SkipReason::kNone, "no title", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"empty title, setting 1", "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNoTitle,
     "", "135'0'0'0", "35'0'0'0"},
    {"empty title, empty setting", "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0", "",
     SkipReason::kNoTitle, "", "135'0'0'0", "35'0'0'0"},
    {"empty title, setting 00", "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0", "00",
     SkipReason::kNoTitle, "", "135'0'0'0", "35'0'0'0"},
    {"empty title, setting 0 and blank", "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0", "0 ",
     SkipReason::kNoTitle, "", "135'0'0'0", "35'0'0'0"},
    {"no title key, untitled allowed", "ORD=POI/kei=135'0'0'0/ido=35'0'0'0", "0", SkipReason::kNone,
     "no title", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"no title key, setting 1", "ORD=POI/kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNoTitle, "",
     "135'0'0'0", "35'0'0'0"},
    {"blank title", "ORD=POI/tex=   /kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNoTitle, "",
     "135'0'0'0", "35'0'0'0"},
    {"blank title, untitled allowed", "ORD=POI/tex=   /kei=135'0'0'0/ido=35'0'0'0", "0",
     SkipReason::kNone, "no title", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"quoted title", "ORD=POI/tex=\"Tower\"/kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNone,
     "Tower", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"title keeps its blanks", "ORD=POI/tex= To wer /kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNone, " To wer ", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"title with braces and semicolon", "ORD=POI/tex=a}b;c{/kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNone, "a}b;c{", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"latitude taken from inside the title", "ORD=POI/tex=Pido=35'0'0'0/kei=135'0'0'0", "1",
     SkipReason::kNone, "Pido=35'0'0'0", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"first title wins", "ORD=POI/tex=A/tex=B/kei=135'0'0'0/ido=35'0'0'0", "1", SkipReason::kNone,
     "A", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"title cut at a slash", "ORD=POI/tex=To/wer/kei=135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kNone, "To", "135'0'0'0", "35'0'0'0", "$13D5FD5FD5FD4C00"},
    {"no longitude", "ORD=POI/tex=A/ido=35'0'0'0", "1", SkipReason::kNoLongitude, "A", "",
     "35'0'0'0"},
    {"empty longitude", "ORD=POI/tex=A/kei=/ido=35'0'0'0", "1", SkipReason::kNoLongitude, "A", "",
     "35'0'0'0"},
    {"no latitude", "ORD=POI/tex=A/kei=135'0'0'0", "1", SkipReason::kNoLatitude, "A", "135'0'0'0",
     ""},
    {"title tested before coordinates", "ORD=POI/tex=", "1", SkipReason::kNoTitle},
    {"negative longitude", "ORD=POI/tex=A/kei=-135'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kLongitudeRejected, "A", "-135'0'0'0", "35'0'0'0"},
    {"longitude above 180", "ORD=POI/tex=A/kei=181'0'0'0/ido=35'0'0'0", "1",
     SkipReason::kLongitudeRejected, "A", "181'0'0'0", "35'0'0'0"},
    {"longitude of two parts", "ORD=POI/tex=A/kei=135'0'0/ido=35'0'0'0", "1",
     SkipReason::kLongitudeRejected, "A", "135'0'0", "35'0'0'0"},
    {"latitude just above 180", "ORD=POI/tex=A/kei=135'0'0'0/ido=180'0'0'1", "1",
     SkipReason::kLatitudeRejected, "A", "135'0'0'0", "180'0'0'1"},
    {"latitude with a letter O", "ORD=POI/tex=A/kei=135'0'0'0/ido=3O'0'0'0", "1",
     SkipReason::kLatitudeRejected, "A", "135'0'0'0", "3O'0'0'0"},
    {"latitude with a blank at the line end", "ORD=POI/tex=A/kei=135'0'0'0/ido=35'0'0'0 ", "1",
     SkipReason::kLatitudeRejected, "A", "135'0'0'0", "35'0'0'0 "},
    {"both rejected: longitude reported", "ORD=POI/tex=A/kei=x'0'0'0/ido=y'0'0'0", "1",
     SkipReason::kLongitudeRejected, "A", "x'0'0'0", "y'0'0'0"},
    {"zero degrees accepted", "ORD=POI/tex=A/kei=0'0'0'0/ido=0'0'0'0", "1", SkipReason::kNone, "A",
     "0'0'0'0", "0'0'0'0", "$0000000000000000"},
    {"empty parts count zero", "ORD=POI/tex=A/kei='''/ido='''", "1", SkipReason::kNone, "A", "'''",
     "'''", "$0000000000000000"},
    {"180 degrees accepted", "ORD=POI/tex=A/kei=180'0'0'0/ido=180'0'0'0", "1", SkipReason::kNone,
     "A", "180'0'0'0", "180'0'0'0", "$3FFFFFFFFFFFC000"},
    {"quoted coordinates", "ORD=POI/tex=A/kei=\"180'0'0'0\"/ido=\"0'0'0'0\"", "1",
     SkipReason::kNone, "A", "180'0'0'0", "0'0'0'0", "$1555555555554000"},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const PotLineCase& c, std::ostream* os) { *os << c.name; }

class PotLineTable : public ::testing::TestWithParam<PotLineCase> {};

TEST_P(PotLineTable, GivesReasonAndTexts) {
  const PotLineCase& c = GetParam();
  const PotLineOutcome outcome = ParsePotLine(c.line, UntitledRuleOfSetting(c.untitledSetting));
  EXPECT_EQ(outcome.reason, c.reason);
  EXPECT_EQ(outcome.accepted(), c.reason == SkipReason::kNone);
  EXPECT_EQ(outcome.record.title, c.title);
  EXPECT_EQ(outcome.record.longitudeText, c.longitudeText);
  EXPECT_EQ(outcome.record.latitudeText, c.latitudeText);
  if (outcome.accepted()) {
    EXPECT_EQ(outcome.record.position.view(), c.position);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PotLineTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PotLineCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

// One outcome kept from line to line, the lines in every order the table
// gives (each after every other): nothing of a line before may stay.
TEST(ParsePotLine, AKeptOutcomeIsANewOneForEveryLine) {
  for (const PotLineCase& before : kCases) {
    PotLineOutcome kept;
    ParsePotLine(before.line, UntitledRuleOfSetting(before.untitledSetting), kept);
    for (const PotLineCase& c : kCases) {
      const UntitledRule untitled = UntitledRuleOfSetting(c.untitledSetting);
      PotLineOutcome reused = kept;
      ParsePotLine(c.line, untitled, reused);
      const PotLineOutcome fresh = ParsePotLine(c.line, untitled);
      EXPECT_EQ(reused.reason, fresh.reason) << before.name << ", then " << c.name;
      EXPECT_EQ(reused.record.title, fresh.record.title) << before.name << ", then " << c.name;
      EXPECT_EQ(reused.record.longitudeText, fresh.record.longitudeText) << c.name;
      EXPECT_EQ(reused.record.latitudeText, fresh.record.latitudeText) << c.name;
      EXPECT_EQ(reused.record.longitude, fresh.record.longitude) << before.name << ", " << c.name;
      EXPECT_EQ(reused.record.latitude, fresh.record.latitude) << before.name << ", " << c.name;
      EXPECT_EQ(reused.record.position.view(), fresh.record.position.view()) << c.name;
    }
  }
}

TEST(ParsePotLine, AcceptedRecordHoldsBothAngles) {
  const PotLineOutcome outcome =
      ParsePotLine("ORD=POI/tex=A/kei=135'30'0'0/ido=34'41'0'0", UntitledRule::kSkip);
  ASSERT_TRUE(outcome.accepted());
  EXPECT_DOUBLE_EQ(outcome.record.longitude, 135.5);
  EXPECT_DOUBLE_EQ(outcome.record.latitude, 34.0 + 41.0 / 60.0);
  EXPECT_EQ(outcome.record.position.view(), "$168099C7A8913920");
}

TEST(ParsePotLine, RejectedLatitudeStillShowsBothAngles) {
  const PotLineOutcome outcome =
      ParsePotLine("ORD=POI/tex=A/kei=135'0'0'0/ido=181'0'0'0", UntitledRule::kSkip);
  EXPECT_EQ(outcome.reason, SkipReason::kLatitudeRejected);
  EXPECT_DOUBLE_EQ(outcome.record.longitude, 135.0);
  EXPECT_EQ(outcome.record.latitude, kRejectedAngle);
  EXPECT_TRUE(outcome.record.position.empty());
}

TEST(ParsePotLine, TextsAreViewsIntoTheLine) {
  const std::string line(kTower);
  const PotLineOutcome outcome = ParsePotLine(line, UntitledRule::kSkip);
  ASSERT_TRUE(outcome.accepted());
  for (std::string_view text :
       {outcome.record.title, outcome.record.longitudeText, outcome.record.latitudeText}) {
    EXPECT_GE(text.data(), line.data());
    EXPECT_LE(text.data() + text.size(), line.data() + line.size());
  }
}

TEST(ParsePotLine, TitleBytesAreNeverDecoded) {
  // A CP932 0x5C trail byte (ソ), NEC and IBM duplicate codes (ED40, FA5C),
  // and bytes that are no CP932 at all.
  const std::string title = "\x83\x5C\xED\x40\xFA\x5C\x80\xA0\xFD\xFE\xFF";
  const std::string line = "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0";
  const PotLineOutcome outcome = ParsePotLine(line, UntitledRule::kSkip);
  ASSERT_TRUE(outcome.accepted());
  EXPECT_EQ(outcome.record.title, title);
}

TEST(ParsePotLine, UntitledPointUsesTheNoTitleText) {
  const PotLineOutcome outcome =
      ParsePotLine("ORD=POI/kei=0'0'0'0/ido=0'0'0'0", UntitledRule::kKeep);
  ASSERT_TRUE(outcome.accepted());
  EXPECT_EQ(outcome.record.title, kNoTitleText);
  EXPECT_EQ(kNoTitleText, "no title");
}

}  // namespace
}  // namespace velorin
