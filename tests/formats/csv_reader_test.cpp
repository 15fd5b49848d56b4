#include "formats/csv_reader.h"

#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct CsvCase {
  const char* name;
  std::string table;
  Entries entries;
};

void PrintTo(const CsvCase& c, std::ostream* out) { *out << c.name; }

class CsvReaderTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReaderTest, ReadsRowsByTheirHeader) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{2}}) {
    testing::MemorySource source(GetParam().table, chunk);
    CsvReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), GetParam().entries) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvReaderTest,
    ::testing::Values(
        CsvCase{"NameLatitudeLongitude",
                "name,latitude,longitude\r\nTower,35.5,139.75\r\n",
                {"2 Tower 139.75 35.5"}},
        CsvCase{"ColumnsInAnyOrderAndCase",
                "No,LONG,Extra,Lat,Title\n1,139.75,x,35.5,Tower\n",
                {"2 Tower 139.75 35.5"}},
        CsvCase{"TabSeparated",
                "lat\tlng\tname\n35.5\t139.75\tShiba, Minato\n",
                {"2 Shiba, Minato 139.75 35.5"}},
        CsvCase{"QuotedFieldsOverLines",
                "name,lat,lon\n\"A \"\"big\"\"\nTower\",1,2\n\"B\",\"3\",\"4\"\n",
                // The run's title rule makes the line break a blank.
                {"2 A \"big\"\nTower 2 1", "4 B 4 3"}},
        CsvCase{"Utf8JapaneseHeadersWithByteOrderMark",
                "\xEF\xBB\xBF名称,緯度,経度\n東京タワー,35.6585805,139.7454329\n",
                {"2 東京タワー 139.745433 35.6585805"}},
        CsvCase{"Cp932JapaneseHeaders",
                "\x96\xBC\x91\x4F,\x88\xDC\x93\x78,\x8C\x6F\x93\x78\r\n"  // 名前,緯度,経度
                "\x93\x8C\x8B\x9E,35,139\r\n",                            // 東京
                {"2 東京 139 35"}},
        CsvCase{"NoNameColumn", "lat,lon\n1,2\n", {"2  2 1"}},
        CsvCase{"BlankRowsAndLeadingBlankLines", "\n\nname,lat,lon\n\n,,\nA,1,2\n", {"6 A 2 1"}},
        CsvCase{"BadNumbers",
                "name,lat,lon\nA,north,2\nB,1,\nC\n",
                {"2 skip: latitude 'north' is not a number", "3 skip: longitude missing",
                 "4 skip: latitude missing"}},
        CsvCase{"NoLatitudeColumn",
                "name,lon\nA,1\n",
                {"1 failed: the header row names no latitude column (lat, latitude or 緯度)"}},
        CsvCase{"SemicolonSeparated", "name;lat;lon\nA;1;2\n", {"2 A 2 1"}},
        CsvCase{"Utf16",
                std::string("n\0a\0m\0e\0,\0l\0a\0t\0", 16),
                {"1 failed: the header row names no latitude column (lat, latitude or 緯度); the "
                 "file looks like UTF-16, which is not read (save it as UTF-8)"}},
        CsvCase{"UnclosedQuote",
                "name,lat,lon\n\"A,1,2\nB,3,4\n",
                {"2 failed: a quoted field is never closed"}},
        CsvCase{"Empty", "", {"1 failed: the file holds no header row (it is empty)"}},
        CsvCase{
            "BlankLinesOnly", "\r\n\n", {"1 failed: the file holds no header row (it is empty)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReaderTest, EncodingAsTold) {
  // 東 in UTF-8 is three bytes that CP932 reads too: told CP932, they stay.
  const std::string table = "name,lat,lon\n\xE6\x9D\xB1,1,2\n";
  testing::MemorySource cp932Source(table);
  CsvReader cp932(cp932Source, {.textEncoding = TextEncoding::kCp932});
  ReadEntry entry;
  ASSERT_TRUE(cp932.Next(entry));
  EXPECT_EQ(entry.point.title, "\xE6\x9D\xB1");
  testing::MemorySource utf8Source(table);
  CsvReader utf8(utf8Source, {.textEncoding = TextEncoding::kUtf8});
  ASSERT_TRUE(utf8.Next(entry));
  EXPECT_EQ(entry.point.title, "\xE6\x9D\xB1");
  EXPECT_EQ(entry.point.titleEncoding, TitleEncoding::kUtf8);
}

TEST(CsvReaderTest, GiganticLineFailsWithoutTakingItsMemory) {
  testing::MemorySource source("name,lat,lon\n" + std::string(16u << 20, 'x') + ",1,2\n", 1 << 16);
  CsvReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"2 failed: a line longer than 1048576 bytes"}));
  EXPECT_LT(source.position(), 4u << 20);
}

TEST(CsvReaderTest, EndlessQuotedFieldFailsWithoutTakingItsMemory) {
  std::string table = "name,lat,lon\n\"";
  for (int i = 0; i < 200000; ++i) table += "0123456789\n";
  testing::MemorySource source(table, 1 << 16);
  CsvReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"2 failed: a quote opened in the record of this line does not close within "
                     "1048576 bytes"}));
}

}  // namespace
}  // namespace velorin
