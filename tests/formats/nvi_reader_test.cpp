#include "formats/nvi_reader.h"

#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

std::string Block(const std::string& position, const std::string& title,
                  const std::string& end = "\n") {
  std::string block;
  for (const std::string& line :
       {std::string("NPOIs100@NRA/R1;"), std::string(" 2010/04/01_14:30:00_JST;"),
        std::string(" 255;"), " " + position + ";", " TTL= {" + title + "};",
        std::string(" CHAR = SJIS;"), std::string(" ADDR = {};"), std::string(" HPGL = {};"),
        std::string(" MAIL = {};"), std::string(" LNKF = {};"), std::string(" COMM = {};"),
        std::string("eoNPOIs@NRA")}) {
    block += line + end;
  }
  return block;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

/// The first `count` lines of `text`.
std::string FirstLines(const std::string& text, int count) {
  std::size_t end = 0;
  for (int i = 0; i < count; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

const std::string kTower = Block("$168736AFD305033D", "Tower");
const std::string kOsaka = Block("$168099C7A8913920", "\x91\xE5\x8D\xE3");  // 大阪

struct NviCase {
  const char* name;
  std::string file;
  Entries entries;
};

void PrintTo(const NviCase& c, std::ostream* out) { *out << c.name; }

class NviReaderTest : public ::testing::TestWithParam<NviCase> {};

TEST_P(NviReaderTest, ReadsBlocksAndSkipsBrokenOnes) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{5}}) {
    testing::MemorySource source(GetParam().file, chunk);
    NviReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), GetParam().entries) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, NviReaderTest,
    ::testing::Values(
        NviCase{"TwoBlocks",
                kTower + kOsaka,
                {"1 Tower #1667486487,425693206", "13 大阪 #1616577872,413788260"}},
        NviCase{"ByteOrderMarkBeforeTheFirstBlock",
                "\xEF\xBB\xBF" + kTower,
                {"1 Tower #1667486487,425693206"}},
        NviCase{"CrLfLineEnds",
                Block("$168736AFD305033D", "Tower", "\r\n"),
                {"1 Tower #1667486487,425693206"}},
        NviCase{"TitleKeptByteForByte",
                Block("$0000000000000001", "a};b\x81\x5B{"),
                {"1 a};bー{ #1,0"}},
        // A title with a line break in it, kept as it is in the file.
        NviCase{"TitleOverTwoLines",
                Block("$0000000000000001", "up\ndown}") + kOsaka,
                {"1 up\ndown} #1,0", "14 大阪 #1616577872,413788260"}},
        NviCase{"TitleNeverEnded",
                Replace(kTower, " TTL= {Tower};", " TTL= {Tower") + kOsaka,
                {"1 skip: record block: no title line on line 6", "13 大阪 #1616577872,413788260"}},
        NviCase{"EmptyTitleIsUntitled", Block("$0000000000000000", ""), {"1  #0,0"}},
        NviCase{"Empty", "", {}},
        NviCase{"BlankLinesBetweenBlocks",
                "\n" + kTower + "\n\n" + kOsaka,
                {"2 Tower #1667486487,425693206", "16 大阪 #1616577872,413788260"}},
        NviCase{
            "BadPositionCode",
            Replace(kTower, "$168736AFD305033D", "$12") + kOsaka,
            {"1 skip: record block: no position code on line 4", "13 大阪 #1616577872,413788260"}},
        NviCase{"PositionBeyond180",
                Replace(kTower, "$168736AFD305033D", "$FFFFFFFFFFFFFFFF"),
                {"1 skip: position code beyond 180 degrees"}},
        NviCase{"NoTitleLine",
                Replace(kTower, " TTL= {Tower};", " TITLE = Tower"),
                {"1 skip: record block: no title line on line 5"}},
        NviCase{"OtherCharset",
                Replace(kTower, " CHAR = SJIS;", " CHAR = UTF8;"),
                {"1 skip: record block: not a Shift-JIS block on line 6"}},
        NviCase{"CutOffByTheNextBlock",
                FirstLines(kTower, 4) + kOsaka,
                {"1 skip: record block cut off by the next block", "5 大阪 #1616577872,413788260"}},
        NviCase{"CutOffAtTheEnd",
                kOsaka + FirstLines(kTower, 4),
                {"1 大阪 #1616577872,413788260",
                 "13 skip: record block cut off at the end of the file"}},
        NviCase{
            "NoCloser",
            Replace(kTower, "eoNPOIs@NRA", "end") + kOsaka,
            {"1 skip: record block: no block closer on line 12", "13 大阪 #1616577872,413788260"}},
        NviCase{"StrayLines",
                "garbage\nmore\n" + kTower + "tail\n",
                {"1 skip: not an NVI record block", "3 Tower #1667486487,425693206",
                 "15 skip: not an NVI record block"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NviReaderTest, GiganticLineFailsWithoutTakingItsMemory) {
  testing::MemorySource source(kTower + std::string(16u << 20, 'x'), 1 << 16);
  NviReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"1 Tower #1667486487,425693206",
                                               "13 failed: a line longer than 1048576 bytes"}));
  EXPECT_LT(source.position(), 4u << 20);
}

}  // namespace
}  // namespace velorin
