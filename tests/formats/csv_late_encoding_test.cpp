// The encoding of a CSV file chosen at its first bytes beyond ASCII,
// wherever they come: in the first bytes, just before or after the first
// 64 KiB, or far past them, through buffers and reads of every size.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formats/csv_reader.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

struct LateCase {
  const char* name;
  /// The title of the row whose first byte beyond ASCII lands at each offset
  /// tried: within the first bytes, cut by their end, just past them, far on.
  std::string late;
  std::string after;  ///< rows after that one
  std::optional<TextEncoding> told;
  std::string start;  ///< bytes before the header row
  /// The titles of that row and those after it, in UTF-8 ("*": approximated).
  std::vector<std::string> titles;
  TextEncoding named;
};

void PrintTo(const LateCase& c, std::ostream* out) { *out << c.name; }

/// A header, ASCII rows up to `offset`, then "late,35,139" and `after`.
std::string TableWithLateRow(const LateCase& c, std::size_t offset, std::size_t& asciiRows) {
  std::string table = c.start + "name,lat,lon\r\n";
  std::size_t quoteBefore = 0;  // ASCII before the late byte
  while (static_cast<unsigned char>(c.late[quoteBefore]) < 0x80) ++quoteBefore;
  const std::string row = "P,35,139\r\n";
  asciiRows = 0;
  // The first ASCII row is padded so that the late byte lands at `offset`.
  const std::size_t room = offset - table.size() - quoteBefore;
  const std::size_t rows = room / row.size();
  table += std::string(room - rows * row.size() + 1, 'P') + row.substr(1);
  asciiRows = rows;
  for (std::size_t i = 1; i < rows; ++i) table += row;
  EXPECT_EQ(table.size() + quoteBefore, offset);
  return table + c.late + ",35,139\r\n" + c.after;
}

ReaderOptions Told(std::optional<TextEncoding> told, std::size_t bufferSize) {
  ReaderOptions options;
  options.textEncoding = told;
  options.bufferSize = bufferSize;
  return options;
}

class CsvLateEncodingTest : public ::testing::TestWithParam<LateCase> {};

TEST_P(CsvLateEncodingTest, DecidesAtTheFirstBytesBeyondAscii) {
  const LateCase& c = GetParam();
  constexpr std::size_t kHead = kEncodingSniffBytes;
  for (const std::size_t offset : {std::size_t{100}, kHead - 2, kHead - 1, kHead, 3 * kHead + 17}) {
    std::size_t asciiRows = 0;
    const std::string table = TableWithLateRow(c, offset, asciiRows);
    for (const std::size_t bufferSize :
         {std::size_t{1} << 16, std::size_t{4096}, std::size_t{61}, std::size_t{1}}) {
      for (const std::size_t chunk : {std::size_t{0}, std::size_t{7}}) {
        SCOPED_TRACE("offset " + std::to_string(offset) + ", buffer " + std::to_string(bufferSize) +
                     ", chunk " + std::to_string(chunk));
        testing::MemorySource source(table, chunk);
        CsvReader reader(source, Told(c.told, bufferSize));
        const std::vector<std::string> entries = testing::ReadAll(reader);
        ASSERT_EQ(entries.size(), asciiRows + c.titles.size());
        for (std::size_t i = 0; i < c.titles.size(); ++i) {
          const std::string& entry = entries[asciiRows + i];
          // "LINE title 139 35": the title alone.
          const std::size_t begin = entry.find(' ') + 1;
          EXPECT_EQ(entry.substr(begin, entry.size() - begin - 7), c.titles[i]) << entry;
        }
        EXPECT_EQ(reader.textEncoding(), c.named);
        EXPECT_TRUE(reader.textBeyondAscii());
      }
    }
  }
}

const std::string kTokyoTowerCp932 = "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B";

INSTANTIATE_TEST_SUITE_P(
    Files, CsvLateEncodingTest,
    ::testing::Values(
        LateCase{"Utf8", "東京タワー", "", {}, "", {"東京タワー"}, TextEncoding::kUtf8},
        LateCase{"Cp932", kTokyoTowerCp932, "", {}, "", {"東京タワー"}, TextEncoding::kCp932},
        LateCase{
            "AccentedUtf8", "Élysée", "B,35,139\r\n", {}, "", {"Élysée", "B"}, TextEncoding::kUtf8},
        // Valid UTF-8 ("ýýý") that is three half-width katakana in CP932.
        LateCase{"KatakanaRunIsCp932",
                 "\xC3\xBD\xC3\xBD\xC3\xBD",
                 "",
                 {},
                 "",
                 {"ﾃｽﾃｽﾃｽ"},
                 TextEncoding::kCp932},
        // The row that decides is judged with what follows it.
        LateCase{"BytesAfterTheLineJudgedToo",
                 "\xC3\xA9",
                 "\x93\x8C,35,139\r\n",
                 {},
                 "",
                 {"ﾃｩ", "東"},
                 TextEncoding::kCp932},
        LateCase{"OnTheSecondLineOfAQuotedField",
                 "\"A\r\n東\"",
                 "",
                 {},
                 "",
                 {"A\n東"},  // the run's title rule makes the line break a blank
                 TextEncoding::kUtf8},
        LateCase{"ToldCp932", "東", "", TextEncoding::kCp932, "", {"譚ｱ"}, TextEncoding::kCp932},
        // Bytes that are no UTF-8 in a file told UTF-8 are kept as they are,
        // for the run's title rule to replace.
        LateCase{
            "ToldUtf8", "\x93\x8C", "", TextEncoding::kUtf8, "", {"\x93\x8C"}, TextEncoding::kUtf8},
        LateCase{"ByteOrderMarkDecidesAtOnce",
                 "\x93\x8C",
                 "C,35,139\r\n東,35,139\r\n",
                 {},
                 "\xEF\xBB\xBF",
                 {"\x93\x8C", "C", "東"},
                 TextEncoding::kUtf8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvAsciiEncodingTest, AsciiAloneIsNamedCp932AndNotWorthSaying) {
  std::string table = "name,lat,lon\n";
  while (table.size() < 3 * kEncodingSniffBytes) table += "Tower,35,139\n";
  for (const std::size_t bufferSize : {std::size_t{1} << 16, std::size_t{61}}) {
    testing::MemorySource source(table);
    CsvReader reader(source, Told(std::nullopt, bufferSize));
    ReadEntry entry;
    while (reader.Next(entry)) {
    }
    EXPECT_FALSE(reader.failure().has_value());
    EXPECT_EQ(reader.textEncoding(), TextEncoding::kCp932);
    EXPECT_FALSE(reader.textBeyondAscii());
  }
}

/// A pipe that goes quiet once, after `quietAt` bytes: what a reader peeks
/// at then ends there.
class QuietOnceSource : public testing::MemorySource {
 public:
  QuietOnceSource(std::string data, std::size_t quietAt)
      : MemorySource(std::move(data), quietAt), quietAt_(quietAt) {}
  bool HasDataReady() override { return position() != quietAt_ || !std::exchange(quiet_, false); }

 private:
  std::size_t quietAt_;
  bool quiet_ = true;
};

// A pipe gone quiet in the middle of the first character beyond ASCII: the
// character is judged when its line has come whole.
TEST(CsvAsciiEncodingTest, APipeQuietWithinTheFirstCharacter) {
  const std::string table = "name,lat,lon\n東京,35,139\n";
  for (std::size_t quietAt = 13; quietAt <= 15; ++quietAt) {
    QuietOnceSource source(table, quietAt);
    CsvReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), std::vector<std::string>{"2 東京 139 35"}) << quietAt;
    EXPECT_EQ(reader.textEncoding(), TextEncoding::kUtf8) << quietAt;
  }
}

}  // namespace
}  // namespace velorin
