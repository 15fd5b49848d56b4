#include "formats/pot_line_fields.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "text/key_value.h"

namespace velorin {
namespace {

struct PotLineFields {
  std::string_view title;
  std::string_view longitudeText;
  std::string_view latitudeText;
};

PotLineFields Extracted(std::string_view line) {
  PotLineFields fields;
  ExtractPotLineFields(line, fields.title, fields.longitudeText, fields.latitudeText);
  return fields;
}

// The three fields the plain way: one extraction each from the line's start.
PotLineFields Plain(std::string_view line) {
  const auto field = [line](std::string_view key) {
    return ExtractKeyValue(line, key, "/", 1, true, true, true);
  };
  return {field("/tex="), field("/kei="), field("ido=")};
}

void ExpectPlain(std::string_view line, const std::string& label) {
  const PotLineFields fields = Extracted(line);
  const PotLineFields plain = Plain(line);
  EXPECT_EQ(fields.title, plain.title) << label;
  EXPECT_EQ(fields.longitudeText, plain.longitudeText) << label;
  EXPECT_EQ(fields.latitudeText, plain.latitudeText) << label;
  // Views into the line, where the plain extraction cuts them.
  for (const auto& [got, want] :
       {std::pair{fields.title, plain.title}, std::pair{fields.longitudeText, plain.longitudeText},
        std::pair{fields.latitudeText, plain.latitudeText}}) {
    if (!want.empty()) {
      EXPECT_EQ(got.data(), want.data()) << label;
    }
  }
}

struct FieldsCase {
  const char* name;
  std::string line;
  struct {
    std::string title, longitudeText, latitudeText;
  } expected;
};

const std::string kTower = "\x93\x8c\x8b\x9e\x83\x5e\x83\x8f\x81\x5b";  // CP932

const FieldsCase kFieldsCases[] = {
    {"usual line",
     "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3",
     {"Tower", "139'46'1'6", "35'40'52'3"}},
    {"CP932 title and more fields",
     "ORD=POI/tex=" + kTower + " 1/kei=149'43'22'2/ido=33'15'45'2/tel=03-0000-0000",
     {kTower + " 1", "149'43'22'2", "33'15'45'2"}},
    {"keys in any case", "ORD=POI/TEX=a/Kei=b/iDO=c", {"a", "b", "c"}},
    {"keys in another order", "ORD=POI/ido=3/kei=2/tex=1", {"1", "2", "3"}},
    {"first occurrence wins", "ORD=POI/tex=1/tex=2/kei=3/kei=4/ido=5/ido=6", {"1", "3", "5"}},
    {"ido= inside the title", "ORD=POI/tex=Kaido=x/kei=1/ido=35'0'0'0", {"Kaido=x", "1", "x"}},
    {"ido= inside a double-byte character",
     "ORD=POI/tex=\x83\x69"
     "do=5/ido=7",
     {"\x83\x69"
      "do=5",
      "", "7"}},
    {"lead bytes pair up before ido=", "/\x81\x81\x81Ido=5/ido=6", {"", "", "6"}},
    {"even lead bytes before ido=", "/\x81\x81\x81\x81Ido=5/ido=6", {"", "", "5"}},
    {"keys absent", "ORD=POI/tel=1", {"", "", ""}},
    {"empty values", "ORD=POI/tex=/kei=/ido=", {"", "", ""}},
    {"values at the line's end", "ORD=POI/kei=1/tex=", {"", "1", ""}},
    {"quotes and blanks", "ORD=POI/tex=\"A\"/kei=   /ido=\" \"", {"A", "", ""}},
    {"a lone quote", "ORD=POI/tex=\"/kei=\"1", {"", "1", ""}},
    {"tab is content", "ORD=POI/tex=\t/kei=1", {"\t", "1", ""}},
    {"keys near the start", "ido=1/kei=2", {"", "2", "1"}},
    {"shorter than a word", "/tex=a", {"a", "", ""}},
    {"empty line", "", {"", "", ""}},
    {"key across the first 64 bytes",
     "ORD=POI/tex=" + std::string(47, 'x') + "/kei=1/ido=2",
     {std::string(47, 'x'), "1", "2"}},
    {"value across the first 64 bytes",
     "ORD=POI/tex=" + std::string(80, 'y') + "/kei=1",
     {std::string(80, 'y'), "1", ""}},
    {"keys far into the line",
     "ORD=POI/adr=" + std::string(200, '=') + "/kei=1/ido=2/tex=3",
     {"3", "1", "2"}},
};

TEST(ExtractPotLineFields, GivesWhatTheExtractionGivesForEachKey) {
  for (const FieldsCase& c : kFieldsCases) {
    const PotLineFields fields = Extracted(c.line);
    EXPECT_EQ(fields.title, c.expected.title) << c.name;
    EXPECT_EQ(fields.longitudeText, c.expected.longitudeText) << c.name;
    EXPECT_EQ(fields.latitudeText, c.expected.latitudeText) << c.name;
    ExpectPlain(c.line, c.name);
  }
}

// Lines from 32767 bytes on, where the position limit starts to matter: a
// key whose value would begin beyond character 32767 gives nothing.
TEST(ExtractPotLineFields, KeepsThePositionLimitOfLongLines) {
  for (const std::size_t padding : {32750u, 32755u, 32757u, 32758u, 32761u, 40000u}) {
    for (const bool doubleByte : {false, true}) {
      std::string line = "ORD=POI/tex=a";
      for (std::size_t i = 0; i < padding; ++i) line += doubleByte ? "\x82\xa0" : "x";
      line += "/kei=1/ido=2";
      ExpectPlain(line, std::to_string(padding) + (doubleByte ? " double" : " single"));
    }
  }
}

// Lines made of the pieces that decide where keys and values are: keys in
// either case, delimiters, lead bytes and letters that pair with them,
// quotes and blanks, at every length across the 64-byte blocks.
TEST(ExtractPotLineFields, AgreesWithTheExtractionOnMadeUpLines) {
  const std::string_view pieces[] = {
      "/tex=", "/TEX=", "/kei=", "/KeI=", "ido=", "IDO=", "/",   "=",       "\x81",
      "\x83",  "i",     "do=",   "\"",    " ",    "x",    "1'2", "\x82\xa0"};
  std::mt19937 random(20100401);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 60);
  for (int run = 0; run < 20000; ++run) {
    std::string line;
    for (int i = count(random); i > 0; --i) line += pieces[piece(random)];
    ExpectPlain(line, line);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace velorin
