// CSV written in each encoding --csv-encoding offers, and read back.
#include <gtest/gtest.h>

#include <string>

#include "formats/csv_reader.h"
#include "formats/csv_writer.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"
#include "tests/support/string_sink.h"

namespace velorin {
namespace {

struct CsvEncodingCase {
  const char* name;
  CsvEncoding encoding;
  std::string title;  ///< UTF-8, or CP932 bytes when cp932Title
  bool cp932Title;
  std::string expected;  ///< the whole file
  TitleChange change;
  std::string readBack;  ///< the point as CsvReader gives it (read_all.h)
};

void PrintTo(const CsvEncodingCase& c, std::ostream* out) { *out << c.name; }

class CsvEncodingTest : public ::testing::TestWithParam<CsvEncodingCase> {};

TEST_P(CsvEncodingTest, WritesAndReadsBack) {
  const CsvEncodingCase& c = GetParam();
  testing::StringSink sink;
  BufferedWriter out(sink);
  CsvWriter writer(out, c.encoding);
  writer.Begin();
  const TitleEncoding titleEncoding = c.cp932Title ? TitleEncoding::kCp932 : TitleEncoding::kUtf8;
  // The title in the writer's encoding, turned as the run's title rule
  // turns it (convert/title_rule), by the encoder and decoder it turns it with.
  TitleEncoder encoder;
  TitleDecoder decoder;
  const bool cp932 = writer.titleEncoding() == TitleEncoding::kCp932;
  std::string text = c.title;
  TitleChange change = TitleChange::kNone;
  if (cp932 && titleEncoding == TitleEncoding::kUtf8) {
    // Encoded first: the order of a call's arguments is the compiler's.
    const bool replaced = encoder.Encode(c.title, text);
    change = ChangeOfTitle(text, replaced);
  } else if (!cp932 && titleEncoding == TitleEncoding::kCp932) {
    text = decoder.Decode(c.title);
    change = decoder.lastChange();
  }
  EXPECT_EQ(change, c.change);
  writer.Write(Point{.position = Degrees{139.5, 35.25}}, text);
  writer.End();
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(sink.bytes, c.expected);

  testing::MemorySource source(sink.bytes);
  CsvReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), std::vector<std::string>{c.readBack});
}

constexpr const char* kHeader = "name,latitude,longitude\r\n";
constexpr const char* kPosition = ",35.250000000,139.500000000\r\n";

INSTANTIATE_TEST_SUITE_P(
    Encodings, CsvEncodingTest,
    ::testing::Values(
        CsvEncodingCase{"Utf8", CsvEncoding::kUtf8, "東京", false,
                        std::string(kHeader) + "東京" + kPosition, TitleChange::kNone,
                        "2 東京 139.5 35.25"},
        CsvEncodingCase{"Utf8BomStartsWithTheMark", CsvEncoding::kUtf8Bom, "東京", false,
                        std::string("\xEF\xBB\xBF") + kHeader + "東京" + kPosition,
                        TitleChange::kNone, "2 東京 139.5 35.25"},
        CsvEncodingCase{"Utf8BomOfACp932Title", CsvEncoding::kUtf8Bom, "\x93\x8C\x8B\x9E", true,
                        std::string("\xEF\xBB\xBF") + kHeader + "東京" + kPosition,
                        TitleChange::kNone, "2 東京 139.5 35.25"},
        CsvEncodingCase{"Cp932", CsvEncoding::kCp932, "東京", false,
                        std::string(kHeader) + "\x93\x8C\x8B\x9E" + kPosition, TitleChange::kNone,
                        "2 東京 139.5 35.25"},
        CsvEncodingCase{"Cp932ClosestCharacterCounted", CsvEncoding::kCp932, "Café 東", false,
                        std::string(kHeader) + "Cafe \x93\x8C" + kPosition, TitleChange::kClosest,
                        "2 Cafe 東 139.5 35.25"},
        CsvEncodingCase{"Cp932NothingShowable", CsvEncoding::kCp932, "\xF0\x9F\x98\x80", false,
                        std::string(kHeader) + "?" + kPosition, TitleChange::kUnshowable,
                        "2 ? 139.5 35.25"},
        CsvEncodingCase{"Cp932QuotedField", CsvEncoding::kCp932, "東, \"A\"", false,
                        std::string(kHeader) + "\"\x93\x8C, \"\"A\"\"\"" + kPosition,
                        TitleChange::kNone, "2 東, \"A\" 139.5 35.25"}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever the writer writes, the reader reads back, however far into the
// file the first title beyond ASCII comes and whatever the buffer's size.
TEST(CsvEncodingTest, ReadsBackTitlesFarPastTheFirstBytes) {
  const std::vector<std::string> titles = {"東京タワー", "ｶﾀｶﾅ", "大阪城 ～波～"};
  for (const CsvEncoding encoding :
       {CsvEncoding::kUtf8, CsvEncoding::kUtf8Bom, CsvEncoding::kCp932}) {
    testing::StringSink sink;
    BufferedWriter out(sink);
    CsvWriter writer(out, encoding);
    // Titles in the writer's encoding, as the run's title rule gives them.
    TitleEncoder encoder;
    const auto write = [&](const std::string& title) {
      std::string text = title;
      if (writer.titleEncoding() == TitleEncoding::kCp932) {
        EXPECT_FALSE(encoder.Encode(title, text)) << title;
      }
      writer.Write(Point{.position = Degrees{139.5, 35.25}}, text);
    };
    writer.Begin();
    std::vector<std::string> expected;
    // Some 230 KB of ASCII rows: the first title beyond them is far past
    // the first 64 KiB.
    for (int i = 0; i < 4000; ++i) {
      const std::string title = "Point of the English list " + std::to_string(i);
      write(title);
      expected.push_back(title);
    }
    for (const std::string& title : titles) {
      write(title);
      expected.push_back(title);
    }
    writer.End();
    ASSERT_TRUE(out.Close());
    ASSERT_GT(sink.bytes.size(), 3 * kEncodingSniffBytes);
    for (const std::size_t bufferSize : {std::size_t{1} << 16, std::size_t{4096}, std::size_t{7}}) {
      SCOPED_TRACE("encoding " + std::to_string(static_cast<int>(encoding)) + ", buffer " +
                   std::to_string(bufferSize));
      testing::MemorySource source(sink.bytes, 61);
      ReaderOptions options;
      options.bufferSize = bufferSize;
      CsvReader reader(source, options);
      std::vector<std::string> read;
      ReadEntry entry;
      while (reader.Next(entry)) {
        const Point& point = entry.point;
        read.push_back(point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(point.title)
                                                                    : point.title);
      }
      EXPECT_EQ(read, expected);
      EXPECT_TRUE(reader.textBeyondAscii());
      EXPECT_EQ(reader.textEncoding(),
                encoding == CsvEncoding::kCp932 ? TextEncoding::kCp932 : TextEncoding::kUtf8);
    }
  }
}

}  // namespace
}  // namespace velorin
