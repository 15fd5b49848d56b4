#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "memory_streams.h"
#include "tests/support/case_name.h"

namespace velorin {
namespace {

using testing::MemorySource;

struct SplitCase {
  std::string input;
  std::vector<std::string> lines;
};

// Names each case by its input, with line ends and other bytes made visible.
void PrintTo(const SplitCase& c, std::ostream* out) {
  static const char kHex[] = "0123456789ABCDEF";
  *out << '"';
  for (const char ch : c.input.substr(0, 24)) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '\r') {
      *out << "\\r";
    } else if (ch == '\n') {
      *out << "\\n";
    } else if (byte < 0x20 || byte >= 0x7F) {
      *out << "\\x" << kHex[byte >> 4] << kHex[byte & 15];
    } else {
      *out << ch;
    }
  }
  *out << (c.input.size() > 24 ? "...\"" : "\"");
}

// Every case runs with these chunk sizes (0: all at once), so that each CR|LF
// pair is also split across two reads.
constexpr std::size_t kChunkSizes[] = {1, 2, 3, 7, 0};
// And with these buffer sizes: tiny ones force the buffer to grow.
constexpr std::size_t kBufferSizes[] = {1, 2, 3, 16, LineReader::kDefaultBufferSize};

std::vector<std::string> ReadAll(LineReader& reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (!reader.AtEnd()) {
    if (!reader.ReadLine(line)) {
      ADD_FAILURE() << "ReadLine false although AtEnd was false";
      break;
    }
    lines.emplace_back(line);
  }
  std::string_view untouched = "untouched";
  EXPECT_FALSE(reader.ReadLine(untouched));
  return lines;
}

// Reads without asking AtEnd first, as a caller may.
std::vector<std::string> ReadAllWithoutAtEnd(LineReader& reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.ReadLine(line)) lines.emplace_back(line);
  EXPECT_TRUE(reader.AtEnd());
  return lines;
}

class LineSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitTest, EveryChunkAndBufferSize) {
  const SplitCase& c = GetParam();
  for (const std::size_t chunk : kChunkSizes) {
    for (const std::size_t bufferSize : kBufferSizes) {
      SCOPED_TRACE("chunk " + std::to_string(chunk) + ", buffer " + std::to_string(bufferSize));
      MemorySource source(c.input, chunk);
      LineReader reader(source, bufferSize);
      EXPECT_EQ(ReadAll(reader), c.lines);
      EXPECT_FALSE(reader.failed());
      EXPECT_EQ(reader.bytesConsumed(), c.input.size());

      MemorySource again(c.input, chunk);
      LineReader second(again, bufferSize);
      EXPECT_EQ(ReadAllWithoutAtEnd(second), c.lines);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Terminators, LineSplitTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"A", {"A"}}, SplitCase{"A\r\n", {"A"}},
                      SplitCase{"A\r", {"A"}}, SplitCase{"A\n", {"A"}},
                      SplitCase{"A\r\n\r\n", {"A", ""}}, SplitCase{"\n\r", {"", ""}},
                      SplitCase{"\r\n", {""}}, SplitCase{"\r", {""}}, SplitCase{"\n", {""}},
                      SplitCase{"\r\r", {"", ""}}, SplitCase{"\n\n", {"", ""}},
                      SplitCase{"\r\n\n", {"", ""}}, SplitCase{"\r\r\n", {"", ""}},
                      SplitCase{"A\rB", {"A", "B"}}, SplitCase{"A\nB", {"A", "B"}},
                      SplitCase{"A\r\nB", {"A", "B"}}, SplitCase{"A\n\rB", {"A", "", "B"}},
                      SplitCase{"AB\r\nCD\rEF\nGH", {"AB", "CD", "EF", "GH"}},
                      SplitCase{"one\r\ntwo\r\nthree\r\n", {"one", "two", "three"}},
                      SplitCase{"\r\n\r\nX", {"", "", "X"}},
                      SplitCase{std::string("A\0B\r\n", 5), {std::string("A\0B", 3)}},
                      SplitCase{"\x82\xa0\x81\x60\r\n\x5c\r", {"\x82\xa0\x81\x60", "\x5c"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) {
      return testutil::CaseName(info.param.input);
    });

INSTANTIATE_TEST_SUITE_P(
    LongLines, LineSplitTest,
    ::testing::Values(SplitCase{std::string(100, 'x') + "\r\n" + std::string(37, 'y'),
                                {std::string(100, 'x'), std::string(37, 'y')}},
                      SplitCase{std::string(64, 'a') + "\r" + std::string(64, 'b') + "\r",
                                {std::string(64, 'a'), std::string(64, 'b')}},
                      SplitCase{"s\n" + std::string(300, 'L') + "\nt",
                                {"s", std::string(300, 'L'), "t"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) {
      return testutil::CaseName(info.param.input);
    });

TEST(LineReaderTest, BufferKeepsItsSizeWhileLinesFit) {
  std::string input;
  for (int i = 0; i < 40; ++i) input += "0123456789\r\n";
  MemorySource source(input, 5);
  LineReader reader(source, 16);
  EXPECT_EQ(ReadAll(reader).size(), 40u);
  EXPECT_LE(source.maxCapacity(), 16u);
}

TEST(LineReaderTest, BufferGrowsForALineLongerThanIt) {
  const std::string longLine(100, 'x');
  MemorySource source("ab\r\n" + longLine + "\r\ncd");
  LineReader reader(source, 16);
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"ab", longLine, "cd"}));
  EXPECT_GT(source.maxCapacity(), 16u);
}

TEST(LineReaderTest, CrAsLastByteOfFullBufferThenLf) {
  // "ABC\r" fills the 4-byte buffer exactly; the LF arrives with the next read.
  MemorySource source("ABC\r\nDEF\r\n");
  LineReader reader(source, 4);
  EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"ABC", "DEF"}));
}

TEST(LineReaderTest, LinesAreViewsValidUntilTheNextCall) {
  MemorySource source("first\r\nsecond\r\n");
  LineReader reader(source);
  std::string_view line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "first");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "second");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(LineReaderTest, AtEndOnEmptySourceReadsAhead) {
  MemorySource source("");
  LineReader reader(source);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.failed());
}

TEST(LineReaderTest, AtEndSeesTheLfThatFollowsALastCr) {
  // "A\r" then "\n" in a separate read: after "A" there is no further line.
  MemorySource source("A\r\n", 2);
  LineReader reader(source);
  std::string_view line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "A");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.bytesConsumed(), 3u);
}

TEST(LineReaderTest, ReadErrorBeforeAnyDataEndsAsFailure) {
  MemorySource source("ABC\r\n");
  source.FailAfter(0);
  LineReader reader(source);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_TRUE(reader.failed());
  std::string_view line;
  EXPECT_FALSE(reader.ReadLine(line));
}

TEST(LineReaderTest, ReadErrorDropsTheUnfinishedLine) {
  // Complete lines before the error are delivered; the cut-off one is not.
  MemorySource source("one\r\ntwo\r\nthree\r\n", 3);
  source.FailAfter(12);  // "one\r\ntwo\r\nth"
  LineReader reader(source, 4);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.ReadLine(line)) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(reader.failed());
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.bytesConsumed(), 12u);
}

TEST(LineReaderTest, ReadErrorAfterLastTerminatorIsStillReported) {
  MemorySource source("one\r\n");
  source.FailAfter(5);
  LineReader reader(source);
  std::string_view line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "one");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_TRUE(reader.failed());
}

TEST(LineReaderTest, PeekShowsTheHeadAndSaysWhetherItIsAll) {
  // The encoding of a file is chosen from its head: "all there is" must be
  // true only at a clean end, never at a read error.
  struct Case {
    const char* name;
    std::string data;
    std::size_t chunk;
    std::optional<std::size_t> failAfter;
    std::size_t peek;
    std::string head;
    bool sawEnd;
  };
  const Case cases[] = {
      {"whole file", "ab\r\ncd\r\n", 3, std::nullopt, 64, "ab\r\ncd\r\n", true},
      {"longer file", "ab\r\ncd\r\n", 3, std::nullopt, 4, "ab\r\n", false},
      {"read error", "ab\r\ncd\r\n", 2, 5, 64, "ab\r\nc", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySource source(c.data, c.chunk);
    if (c.failAfter) source.FailAfter(*c.failAfter);
    LineReader reader(source, 4);
    EXPECT_EQ(reader.Peek(c.peek), c.head);
    EXPECT_EQ(reader.SawEnd(), c.sawEnd);
    // Nothing was consumed: the lines start at the beginning.
    std::string_view line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "ab");
  }
}

// What follows a line is looked at from its first byte: the LF of a CR LF
// cut by the buffer's end belongs to the line before, and a quiet source is
// not waited on for the bytes after it.
TEST(LineReaderTest, PeekAfterALineStartsPastItsWholeEnd) {
  const struct {
    std::string data;
    std::size_t chunk;
    std::string head;
  } cases[] = {
      {"abc\r\nde", 0, "de"},  // CR the buffer's last byte, LF in the next read
      {"abc\r\nde", 4, "de"},     {"abc\r\n", 4, ""},
      {"abc\rde", 4, "de"},        // a CR alone: what follows is no line end
      {"abc\r\n\nde", 4, "\nde"},  // an empty line after it stays
  };
  for (const auto& c : cases) {
    MemorySource source(c.data, c.chunk);
    LineReader reader(source, 4);
    std::string_view line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "abc");
    EXPECT_EQ(reader.Peek(64), c.head) << c.data;
  }
}

TEST(LineReaderTest, ManyShortLinesWithoutAnyLf) {
  // CR-only input: the LF search must not start again for every line.
  std::string input;
  constexpr int kLines = 200000;
  for (int i = 0; i < kLines; ++i) input += "ORD=POI/kei=1\r";
  MemorySource source(input);
  LineReader reader(source, 1 << 16);
  int count = 0;
  std::string_view line;
  while (reader.ReadLine(line)) {
    ASSERT_EQ(line, "ORD=POI/kei=1");
    ++count;
  }
  EXPECT_EQ(count, kLines);
}

// Splits the plain way: CR LF, CR or LF ends a line; nothing after the last
// line end starts a further line.
std::vector<std::string> ModelLines(const std::string& input) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t at = 0; at < input.size(); ++at) {
    if (input[at] == '\r' || input[at] == '\n') {
      lines.push_back(line);
      line.clear();
      if (input[at] == '\r' && at + 1 < input.size() && input[at + 1] == '\n') ++at;
    } else {
      line += input[at];
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

TEST(LineReaderTest, ControlBytesBesideLineEndsInLongLines) {
  // Tabs and other bytes below 0x0E share the eight-byte test with CR and LF
  // and must be told apart from them anywhere in a word.
  const std::string pieces[] = {"\t",   "\x0b", "\x0c", std::string(1, '\0'),
                                "\x0e", "\x8d", "\x8a", "\r",
                                "\n",   "\r\n", "abc",  "ORD=POI/tex="};
  std::mt19937 random(932);
  std::uniform_int_distribution<std::size_t> count(0, 60);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int i = 0; i < 3000; ++i) {
    std::string input;
    for (std::size_t n = count(random); n > 0; --n) input += pieces[pick(random)];
    for (const std::size_t chunk : {std::size_t{0}, std::size_t{5}}) {
      MemorySource source(input, chunk);
      LineReader reader(source, 16);
      ASSERT_EQ(ReadAll(reader), ModelLines(input)) << ::testing::PrintToString(input);
    }
  }
}

struct BoundCase {
  const char* name;
  std::size_t lineLength;
  bool fits;
};

void PrintTo(const BoundCase& c, std::ostream* out) { *out << c.name; }

class LineReaderBound : public ::testing::TestWithParam<BoundCase> {};

// A bound of 64 bytes with a 16-byte buffer: the buffer may grow to the
// bound and no further; a longer line ends the data as a failure instead of
// taking memory without end.
TEST_P(LineReaderBound, LineBeyondTheBoundFailsInsteadOfGrowing) {
  const std::string longLine(GetParam().lineLength, 'x');
  MemorySource source("ab\n" + longLine + "\ncd\n", 7);
  LineReader reader(source, 16, 64);
  std::vector<std::string> lines = ReadAllWithoutAtEnd(reader);
  EXPECT_LE(source.maxCapacity(), 64u);
  if (GetParam().fits) {
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", longLine, "cd"}));
    EXPECT_FALSE(reader.failed());
  } else {
    EXPECT_EQ(lines, (std::vector<std::string>{"ab"}));
    EXPECT_TRUE(reader.failed());
    EXPECT_TRUE(reader.lineTooLong());
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LineReaderBound,
                         ::testing::Values(BoundCase{"WellWithin", 20, true},
                                           BoundCase{"JustFits", 63, true},
                                           BoundCase{"FillsTheBound", 64, false},
                                           BoundCase{"FarBeyond", 100000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineReaderTest, ReadErrorIsNotALineTooLong) {
  MemorySource source("abc");
  source.FailAfter(0);
  LineReader reader(source, 16, 64);
  ReadAllWithoutAtEnd(reader);
  EXPECT_TRUE(reader.failed());
  EXPECT_FALSE(reader.lineTooLong());
}

}  // namespace
}  // namespace velorin
