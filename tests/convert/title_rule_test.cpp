// The one title rule, whichever reader gave the title and whichever writer
// takes it: one table, a row a case.
#include "convert/title_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

struct RuleCase {
  const char* name;
  std::string title;
  TitleEncoding from;
  TitleSource source;
  TitleTarget target;
  std::string written;  ///< the title as the output holds it
  TitleChange change;
};

void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }

constexpr TitleSource kPot{false, true};     // POT, NVI: the unit's own bytes
constexpr TitleSource kLayout{true, false};  // GPX, KML, CSV, GeoJSON
constexpr TitleTarget kNvi{TitleEncoding::kCp932, true};
constexpr TitleTarget kGpx{TitleEncoding::kUtf8, false};
constexpr TitleTarget kCp932Csv{TitleEncoding::kCp932, false};

class TitleRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(TitleRuleTest, GivesTheTitleAsTheOutputHoldsIt) {
  const RuleCase& c = GetParam();
  TitleRule rule(c.target);
  Point point;
  point.title = c.title;
  point.titleEncoding = c.from;
  TitleChange change = TitleChange::kNone;
  EXPECT_EQ(std::string(rule.Apply(point, c.source, change)), c.written);
  EXPECT_EQ(change, c.change);
}

const std::string kWaveDash = "\xE3\x80\x9C";  // U+301C, CP932 81 60

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleRuleTest,
    ::testing::Values(
        // The unit's titles into the unit's formats: every byte kept.
        RuleCase{"PotBytesKept", std::string("A\x01  B\t", 6), TitleEncoding::kCp932, kPot, kNvi,
                 std::string("A\x01  B\t", 6), TitleChange::kNone},
        RuleCase{"PlainAscii", "Tower", TitleEncoding::kUtf8, kLayout, kNvi, "Tower",
                 TitleChange::kNone},
        // White space that is layout.
        RuleCase{"LayoutTidied", "  Tokyo\n\t Tower ", TitleEncoding::kUtf8, kLayout, kGpx,
                 "Tokyo Tower", TitleChange::kTidied},
        RuleCase{"EndsTrimmedAreNoChange", " Tower ", TitleEncoding::kUtf8, kLayout, kGpx, "Tower",
                 TitleChange::kNone},
        RuleCase{"WhiteSpaceAloneIsNoTitle", " \n\t", TitleEncoding::kUtf8, kLayout, kNvi, "",
                 TitleChange::kNone},
        RuleCase{"PotTabKeptIntoGpx", "A\tB", TitleEncoding::kCp932, kPot, kGpx, "A\tB",
                 TitleChange::kNone},
        // Characters no text should hold, the same from every reader.
        RuleCase{"ControlIntoGpx",
                 "A\x01"
                 "B",
                 TitleEncoding::kUtf8, kLayout, kGpx,
                 "A\xEF\xBF\xBD"
                 "B",
                 TitleChange::kControl},
        RuleCase{"ControlIntoNvi",
                 "A\x01"
                 "B",
                 TitleEncoding::kUtf8, kLayout, kNvi, "A?B", TitleChange::kControl},
        RuleCase{"NulIntoNvi", std::string("C\0D", 3), TitleEncoding::kUtf8, kLayout, kNvi, "C?D",
                 TitleChange::kControl},
        RuleCase{"DeleteIntoGpx", "A\x7F", TitleEncoding::kUtf8, kLayout, kGpx, "A\xEF\xBF\xBD",
                 TitleChange::kControl},
        RuleCase{"PotControlIntoGpx", "A\x1F", TitleEncoding::kCp932, kPot, kGpx, "A\xEF\xBF\xBD",
                 TitleChange::kControl},
        RuleCase{"PotControlIntoCp932Csv", "A\x1F", TitleEncoding::kCp932, kPot, kCp932Csv, "A?",
                 TitleChange::kControl},
        RuleCase{"NonCharacterFFFE", "A\xEF\xBF\xBE", TitleEncoding::kUtf8, kLayout, kGpx,
                 "A\xEF\xBF\xBD", TitleChange::kControl},
        RuleCase{"NonCharacterFFFF", "\xEF\xBF\xBFZ", TitleEncoding::kUtf8, kLayout, kGpx,
                 "\xEF\xBF\xBDZ", TitleChange::kControl},
        RuleCase{"LoneSurrogate", "A\xED\xB0\x80", TitleEncoding::kUtf8, kLayout, kGpx,
                 "A\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", TitleChange::kControl},
        RuleCase{"NotUtf8", "A\xFF", TitleEncoding::kUtf8, kLayout, kGpx, "A\xEF\xBF\xBD",
                 TitleChange::kControl},
        RuleCase{"Utf8KeptIntoGpx", "Café 🗼", TitleEncoding::kUtf8, kLayout, kGpx, "Café 🗼",
                 TitleChange::kNone},
        // Into CP932: the closest character, else "?".
        RuleCase{"ClosestIntoNvi", "Café 🗼", TitleEncoding::kUtf8, kLayout, kNvi, "Cafe ?",
                 TitleChange::kClosest},
        RuleCase{"UnshowableIntoNvi", "🗼 🗼", TitleEncoding::kUtf8, kLayout, kNvi, "? ?",
                 TitleChange::kUnshowable},
        RuleCase{"QuestionMarkOfItsOwn", "?", TitleEncoding::kUtf8, kLayout, kNvi, "?",
                 TitleChange::kNone},
        RuleCase{"WaveDashIsCp932s", kWaveDash, TitleEncoding::kUtf8, kLayout, kNvi, "\x81\x60",
                 TitleChange::kNone},
        // CP932 into UTF-8: a duplicate code comes back as the usual one.
        RuleCase{"Cp932IntoGpx", "\x90\x5F\x8E\xD0", TitleEncoding::kCp932, kPot, kGpx, "神社",
                 TitleChange::kNone},
        RuleCase{"DuplicateCodeRecoded", "\xEE\xEF", TitleEncoding::kCp932, kPot, kGpx, "ⅰ",
                 TitleChange::kRecoded},
        // C1 control characters: U+0085 breaks lines where it is read as NEL.
        RuleCase{"NelIntoGpx",
                 "A\xC2\x85"
                 "B",
                 TitleEncoding::kUtf8, kLayout, kGpx,
                 "A\xEF\xBF\xBD"
                 "B",
                 TitleChange::kControl},
        RuleCase{"NelIntoNvi",
                 "A\xC2\x85"
                 "B",
                 TitleEncoding::kUtf8, kLayout, kNvi, "A?B", TitleChange::kControl},
        RuleCase{"NoBreakSpaceIsNoControl",
                 "A\xC2\xA0"
                 "B",
                 TitleEncoding::kUtf8, kLayout, kGpx,
                 "A\xC2\xA0"
                 "B",
                 TitleChange::kNone},
        // Several changes: the one that matters most is told.
        RuleCase{"TidiedAndClosest", "Café  au lait", TitleEncoding::kUtf8, kLayout, kNvi,
                 "Cafe au lait", TitleChange::kClosest}),
    [](const auto& info) { return std::string(info.param.name); });

// A byte that is no whole CP932 character never reaches a written text: a
// lead byte would take the byte after it (the closing brace of an NVI
// field) as its second. Decoded files' texts lose every such byte; the
// unit's own keep theirs but for a lead byte alone at the end.
INSTANTIATE_TEST_SUITE_P(
    BrokenBytes, TitleRuleTest,
    ::testing::Values(RuleCase{"CsvLeadByteAtTheEnd", "A\x81", TitleEncoding::kCp932, kLayout, kNvi,
                               "A?", TitleChange::kBrokenBytes},
                      RuleCase{"CsvLeadByteBeforeNoSecondByte", "\x81 B", TitleEncoding::kCp932,
                               kLayout, kNvi, "? B", TitleChange::kBrokenBytes},
                      RuleCase{"CsvUnusedCodes", "\x80\xA0\xFD", TitleEncoding::kCp932, kLayout,
                               kCp932Csv, "???", TitleChange::kBrokenBytes},
                      RuleCase{"CsvWholeCharactersKept", "\x93\x8C\x8B\x9E\x81\x7D",
                               TitleEncoding::kCp932, kLayout, kNvi, "\x93\x8C\x8B\x9E\x81\x7D",
                               TitleChange::kNone},
                      RuleCase{"CsvLeadByteIntoGpx", "A\x81", TitleEncoding::kCp932, kLayout, kGpx,
                               "A\xEF\xBF\xBD", TitleChange::kBrokenBytes},
                      RuleCase{"PotLeadByteAtTheEnd", "A\x81", TitleEncoding::kCp932, kPot, kNvi,
                               "A?", TitleChange::kBrokenBytes},
                      RuleCase{"PotCharacterEndingInALeadByteKept", "A\x81\x81",
                               TitleEncoding::kCp932, kPot, kNvi, "A\x81\x81", TitleChange::kNone},
                      RuleCase{"PotThreeLeadBytesAtTheEnd", "\x93\x8C\x81\x81\x81",
                               TitleEncoding::kCp932, kPot, kNvi, "\x93\x8C\x81\x81?",
                               TitleChange::kBrokenBytes},
                      RuleCase{"PotLeadByteInsideKept", "\x81 A", TitleEncoding::kCp932, kPot, kNvi,
                               "\x81 A", TitleChange::kNone},
                      RuleCase{"PotLeadByteAtTheEndIntoCp932Csv", "A\x81", TitleEncoding::kCp932,
                               kPot, kCp932Csv, "A?", TitleChange::kBrokenBytes},
                      RuleCase{"PotNoCharacterIntoGpx", "A\x85\x40", TitleEncoding::kCp932, kPot,
                               kGpx, "A\xEF\xBF\xBD@", TitleChange::kBrokenBytes}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedCase {
  const char* name;
  std::string typed;
  std::string kept;
};

void PrintTo(const TypedCase& c, std::ostream* out) { *out << c.name; }

class TypedTitleTest : public ::testing::TestWithParam<TypedCase> {};

// A title typed or pasted is one line: its breaks and TABs are layout, as
// a file's are, so that nothing typed can break a line of a file.
TEST_P(TypedTitleTest, KeepsOneLine) {
  const TypedCase& c = GetParam();
  std::string kept;
  EXPECT_EQ(TidyTypedTitle(c.typed, kept), c.kept != c.typed);
  EXPECT_EQ(kept, c.kept);
  EXPECT_EQ(kept.find_first_of("\r\n\t"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, TypedTitleTest,
    ::testing::Values(TypedCase{"AsTyped", "Tokyo Tower", "Tokyo Tower"},
                      TypedCase{"BlanksTypedStay", "  Tokyo  Tower ", "  Tokyo  Tower "},
                      TypedCase{"LineBreakIsABlank", "A\nB", "A B"},
                      TypedCase{"CrLfWithBlanksIsOneBlank", "A  \r\n  B", "A B"},
                      TypedCase{"TabIsABlank", "A\tB", "A B"},
                      TypedCase{"BreaksAtTheEndsGo", "\r\n A \n", "A"},
                      TypedCase{"UnicodeLineBreaks",
                                "A\xC2\x85"
                                "B\xE2\x80\xA8"
                                "C\xE2\x80\xA9"
                                "D",
                                "A B C D"},
                      TypedCase{"ABlockEndAndCloser", "x};\r\neoNPOIs@NRA\r\n TTL= {y};",
                                "x}; eoNPOIs@NRA TTL= {y};"},
                      TypedCase{"ControlCharacter",
                                "A\x01"
                                "B",
                                "A\xEF\xBF\xBD"
                                "B"},
                      TypedCase{"BreaksAlone", "\n\r\n", ""},
                      TypedCase{"Japanese",
                                "\xE6\x9D\xB1\xE4\xBA\xAC\n\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC",
                                "\xE6\x9D\xB1\xE4\xBA\xAC \xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
