#include "formats/pot_reader.h"

#include <gtest/gtest.h>

#include "formats/pot_skip_reason.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

// The same lines a POT to NVI conversion accepts and skips, with the same
// reasons; untitled points are left to the run's untitled rule.
TEST(PotReaderTest, ReadsPointLinesByTheConversionsRules) {
  testing::MemorySource source(
      "\r\nORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
      "ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0/\r\n"
      "comment\r\n"
      "ord=poi/tex=Bad/kei=181'0'0'0/ido=1'0'0'0\r"
      "ORD=POI/tex=NoLatitude/kei=1'0'0'0\r\n");
  PotReader reader(source);
  EXPECT_EQ(
      testing::ReadAll(reader),
      (Entries{"2 Tower 139.767111 35.6811944", "3  135.5 34.6833333",
               "5 skip: longitude text rejected: 181'0'0'0" + std::string(kExpectedCoordinateForm),
               "6 skip: no latitude"}));
}

TEST(PotReaderTest, ATitleThatReadsNoTitleIsStillATitle) {
  testing::MemorySource source("ORD=POI/tex=no title/kei=1'0'0'0/ido=1'0'0'0\r\n");
  PotReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"1 no title 1 1"}));
}

TEST(PotReaderTest, Utf8LinesBecomeCp932AndSayWhenATitleLostCharacters) {
  testing::MemorySource source(
      "\xEF\xBB\xBFORD=POI/tex=東京/kei=139'0'0'0/ido=35'0'0'0\r\n"
      "ORD=POI/tex=Tower 🗼/kei=139'0'0'0/ido=35'0'0'0\r\n"
      "ORD=POI/tex=\xFF/kei=1'0'0'0/ido=1'0'0'0\r\n");
  PotReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"1 東京 139 35", "2 Tower ?* 139 35", "3 skip: not valid UTF-8"}));
}

TEST(PotReaderTest, EncodingAsTold) {
  // Valid UTF-8, but told CP932: the bytes stay as they are.
  testing::MemorySource source("ORD=POI/tex=\xE6\x9D\xB1/kei=1'0'0'0/ido=1'0'0'0\r\n");
  PotReader reader(source, {.textEncoding = TextEncoding::kCp932});
  ReadEntry entry;
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_EQ(entry.point.title, "\xE6\x9D\xB1");
}

}  // namespace
}  // namespace velorin
