// CSV as spreadsheets save it around the world: fields separated by commas
// with decimal points, by ";" with decimal commas or points, by TABs; and
// files whose layout is ambiguous or broken.
#include "formats/csv_dialect.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "formats/csv_reader.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct DialectCase {
  const char* name;
  std::string table;
  Entries entries;
  std::string layout;  ///< the reader's layoutNote() at the end
};

void PrintTo(const DialectCase& c, std::ostream* out) { *out << c.name; }

class CsvDialectTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(CsvDialectTest, ReadsEachLayoutItsOwnWay) {
  const DialectCase& c = GetParam();
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(c.table, chunk);
    ReaderOptions options;
    options.bufferSize = 16;
    CsvReader reader(source, options);
    EXPECT_EQ(testing::ReadAll(reader), c.entries) << "chunk " << chunk;
    EXPECT_EQ(reader.layoutNote(), c.layout) << "chunk " << chunk;
  }
}

constexpr const char* kCommas = "fields separated by \";\" with decimal commas";
constexpr const char* kPoints = "fields separated by \";\" with decimal points";

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvDialectTest,
    ::testing::Values(
        DialectCase{"CommaWithPoints", "name,lat,lon\nA,50.5,6.25\n", {"2 A 6.25 50.5"}, ""},
        DialectCase{"SemicolonWithCommas",
                    "name;lat;lon\r\nKölner Dom;50,941278;6,958281\r\n",
                    {"2 Kölner Dom 6.958281 50.941278"},
                    kCommas},
        DialectCase{
            "SemicolonWithPoints", "name;lat;lon\nA;50.5;-6.25\n", {"2 A -6.25 50.5"}, kPoints},
        DialectCase{"Tab",
                    "name\tlat\tlon\nA\t50.5\t6.25\n",
                    {"2 A 6.25 50.5"},
                    "fields separated by TABs"},
        // As GDAL reads them: a comma is no separator where TABs are.
        DialectCase{"TabWithDecimalCommas",
                    "name\tlat\tlon\nKölner Dom\t50,941278\t6,958281\n",
                    {"2 Kölner Dom 6.958281 50.941278"},
                    "fields separated by TABs with decimal commas"},
        DialectCase{"TabWithBothMarks",
                    "name\tlat\tlon\nA\t50.5\t6.25\nB\t50,5\t6,25\n",
                    {"2 A 6.25 50.5",
                     "3 skip: latitude '50,5' is not a number (the file's numbers have decimal "
                     "points)"},
                    "fields separated by TABs"},
        // A comma inside quotes is no decimal comma where commas separate.
        DialectCase{"QuotedCommaOfACommaFileIsNoNumber",
                    "name,lat,lon\nA,\"50,94\",\"6,95\"\n",
                    {"2 skip: latitude '50,94' is not a number"},
                    ""},
        DialectCase{"SemicolonsInTitlesOfACommaFile",
                    "name,lat,lon\nA; B; C,50.5,6.25\n",
                    {"2 A; B; C 6.25 50.5"},
                    ""},
        DialectCase{"EveryCellQuoted",
                    "\"name\";\"lat\";\"lon\"\n\"Dom; Köln\";\"50,94\";\"6,95\"\n",
                    {"2 Dom; Köln 6.95 50.94"},
                    kCommas},
        DialectCase{"Cp932WithCommas",
                    "\x96\xBC\x91\x4F;\x88\xDC\x93\x78;\x8C\x6F\x93\x78\r\n"  // 名前;緯度;経度
                    "\x93\x8C\x8B\x9E;35,5;139,75\r\n",                       // 東京
                    {"2 東京 139.75 35.5"},
                    kCommas},
        // Whole numbers read the same with either mark: the mark stays open
        // until a number shows one.
        DialectCase{"WholeNumbersLeaveTheMarkOpen",
                    "name;lat;lon\nA;50;6\n",
                    {"2 A 6 50"},
                    "fields separated by \";\""},
        DialectCase{"MarkChosenAtTheFirstNumberShowingOne",
                    "name;lat;lon\nA;50;6\nB;north, 5;6\nC;51;7,25\nD;52,5;8\n",
                    {"2 A 6 50", "3 skip: latitude 'north, 5' is not a number", "4 C 7.25 51",
                     "5 D 8 52.5"},
                    kCommas},
        DialectCase{"TheOtherMarkLaterIsNoNumber",
                    "name;lat;lon\nA;50,5;6,5\nB;50.5;6.5\n",
                    {"2 A 6.5 50.5",
                     "3 skip: latitude '50.5' is not a number (the file's numbers have decimal "
                     "commas)"},
                    kCommas},
        // The latitude is looked at first.
        DialectCase{"BothMarksInOneRow",
                    "name;lat;lon\nA;50.5;6,5\n",
                    {"2 skip: longitude '6,5' is not a number (the file's numbers have decimal "
                     "points)"},
                    kPoints},
        DialectCase{"ThousandsSeparatorIsNoNumber",
                    "name;lat;lon\nA;1.050,5;6,5\n",
                    {"2 skip: latitude '1.050,5' is not a number"},
                    kCommas},
        DialectCase{"RowWithTooFewFields",
                    "name;lat;lon\nA;50,5\n",
                    {"2 skip: longitude missing"},
                    kCommas},
        DialectCase{"SemicolonHeaderWithoutLongitude",
                    "name;lat\nA;1\n",
                    {"1 failed: the header row names no longitude column (lon, lng, long, "
                     "longitude or 経度)"},
                    "fields separated by \";\""},
        // Neither separator gives both columns: the commoner one (a tie
        // goes to the comma) is taken, and the header refused.
        DialectCase{"HeaderNamingColumnsWithNeither",
                    "lat;lon,name\n1;2,A\n",
                    {"1 failed: the header row names no latitude column (lat, latitude or 緯度)"},
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct SeparatorCase {
  const char* name;
  std::string line;
  std::string naming;  ///< the separators with which the line names the columns
  char separator;
};

void PrintTo(const SeparatorCase& c, std::ostream* out) { *out << c.name; }

class CsvSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(CsvSeparatorTest, NamingColumnsFirstThenTheCommonest) {
  const SeparatorCase& c = GetParam();
  EXPECT_EQ(
      ChooseCsvSeparator(c.line, [&c](char s) { return c.naming.find(s) != std::string::npos; }),
      c.separator);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, CsvSeparatorTest,
    ::testing::Values(SeparatorCase{"Comma", "name,lat,lon", ",", ','},
                      SeparatorCase{"Semicolon", "name;lat;lon", ";", ';'},
                      SeparatorCase{"Tab", "lat\tlon", "\t", '\t'},
                      SeparatorCase{"NamingBeatsCommoner", "lat,lon;a;b;c", ",", ','},
                      SeparatorCase{"BothNameTheCommonerWins", "a;b;c,d", ",;", ';'},
                      SeparatorCase{"TieGoesToTheComma", "a;b,c", ",;", ','},
                      SeparatorCase{"TieGoesToTheTabBeforeTheSemicolon", "a\tb;c", "\t;", '\t'},
                      SeparatorCase{"QuotedOnesDoNotCount", "\"a;b;c\",lat", "", ','},
                      SeparatorCase{"NoneNamesTheCommonest", "name;lat", "", ';'},
                      SeparatorCase{"NoSeparatorAtAll", "name", "", ','},
                      SeparatorCase{"OnlyOnesItHoldsAreTried", "name", ",\t;", ','}),
    [](const auto& info) { return std::string(info.param.name); });

struct MarkCase {
  const char* name;
  char separator;
  std::vector<std::string> looked;  ///< the texts looked at, in order
  std::optional<char> mark;
};

void PrintTo(const MarkCase& c, std::ostream* out) { *out << c.name; }

class CsvMarkChoiceTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(CsvMarkChoiceTest, TheFirstNumberShowingAMarkDecides) {
  CsvDecimalMark mark(GetParam().separator);
  for (const std::string& text : GetParam().looked) mark.Look(text);
  EXPECT_EQ(mark.mark(), GetParam().mark);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvMarkChoiceTest,
    ::testing::Values(MarkCase{"CommaFilesHavePoints", ',', {"6,5"}, '.'},
                      MarkCase{"TabFilesMayHaveCommas", '\t', {"6,5"}, ','},
                      MarkCase{"NothingLookedAt", ';', {}, std::nullopt},
                      MarkCase{"WholeNumbers", ';', {"50", "-6"}, std::nullopt},
                      MarkCase{"Comma", ';', {"50", "6,5", "7.5"}, ','},
                      MarkCase{"Point", ';', {"50.5", "6,5"}, '.'},
                      MarkCase{"NoNumberDecidesNothing", ';', {"north, 5", "x.y", "50.5"}, '.'},
                      MarkCase{"BothMarksDecideNothing", ';', {"1.050,5", "6,5"}, ','}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvDecimalMarkTest, ParsesWithTheMarkChosen) {
  struct Case {
    std::optional<char> shown;  ///< the mark a first text showed; nothing: still open
    const char* text;
    std::optional<double> value;
    bool otherMarkReads;  ///< for a text refused: it reads with the other mark
  };
  const Case cases[] = {
      {',', "50,941278", 50.941278, false},
      {',', "-6,5", -6.5, false},
      {',', "50", 50.0, false},
      {',', " 50,5 ", 50.5, false},
      {',', "50.5", std::nullopt, true},
      {',', "5,0,0", std::nullopt, false},
      {',', "", std::nullopt, false},
      {',', "1e1", 10.0, false},
      {'.', "50.5", 50.5, false},
      {'.', "50,5", std::nullopt, true},
      {std::nullopt, "50", 50.0, false},
      {std::nullopt, "50,5", std::nullopt, false},
  };
  for (const Case& c : cases) {
    CsvDecimalMark mark(';');
    if (c.shown) mark.Look(*c.shown == ',' ? "1,5" : "1.5");
    std::string scratch;
    double degrees = 0.0;
    const bool read = mark.Read(c.text, scratch, degrees);
    EXPECT_EQ(read ? std::optional<double>(degrees) : std::nullopt, c.value) << c.text;
    if (!c.value) {
      EXPECT_EQ(mark.ReadsWithTheOtherMark(c.text), c.otherMarkReads) << c.text;
    }
  }
}

TEST(CsvLayoutNoteTest, SaysAllButTheUsualLayout) {
  EXPECT_EQ(CsvLayoutNote(',', '.'), "");
  EXPECT_EQ(CsvLayoutNote('\t', '.'), "fields separated by TABs");
  EXPECT_EQ(CsvLayoutNote('\t', ','), "fields separated by TABs with decimal commas");
  EXPECT_EQ(CsvLayoutNote(';', ','), kCommas);
  EXPECT_EQ(CsvLayoutNote(';', '.'), kPoints);
  EXPECT_EQ(CsvLayoutNote(';', std::nullopt), "fields separated by \";\"");
}

}  // namespace
}  // namespace velorin
