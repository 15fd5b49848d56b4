#include "formats/nvi_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "formats/poi_record.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"
#include "support/string_sink.h"

namespace velorin {
namespace {

using testing::StringSink;

struct TextCase {
  std::string_view given;
  std::string_view written;
};

TEST(NormalizeDateText, FollowsTheDateRules) {
  const TextCase cases[] = {
      {"2010/04/01", "2010/04/01"},
      {"10/04/01", "2010/04/01"},  // two-digit year
      {"99/1", "2099/1"},
      {"2010/4/1", "2010/4/1"},  // first "/" at 5: unchanged
      {"2010/04/01 Thu", "2010/04/01 Thu"},
      {"2010/", "2010/"},
      {"4/1/2010", "2009/06/13"},
      {"01.04.2010", "2009/06/13"},
      {"123/4/5", "2009/06/13"},
      {"/04/01", "2009/06/13"},
      {"", "2009/06/13"},
      // Positions count CP932 characters: 年 (94 4E) is one character.
      {"\x94\x4E/4/1", "2009/06/13"},
      {"\x94\x4E\x94\x4E/4/1", "20\x94\x4E\x94\x4E/4/1"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(NormalizeDateText(c.given), c.written) << "date \"" << c.given << '"';
  }
}

TEST(NormalizeTimeText, FollowsTheTimeRules) {
  const TextCase cases[] = {
      {"14:30:00", "14:30:00"},
      {"9:05:03", "09:05:03"},  // one-digit hour
      {"00:00:00", "00:00:00"},
      {"ab:cd:ef", "ab:cd:ef"},  // only the form is tested
      {"2:30:00 PM", "00:00:00"},
      {"14:30:00 PM", "00:00:00"},
      {"14:30:0", "00:00:00"},
      {"9:5:03", "00:00:00"},
      {"14.30.00", "00:00:00"},
      {"143:0:00", "00:00:00"},
      {"14:300:0", "00:00:00"},
      {":", "00:00:00"},
      {"9", "00:00:00"},
      {"", "00:00:00"},
      // A full-width 9 (82 58) is one character followed by ":".
      {"\x82\x58:05:03", "0\x82\x58:05:03"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(NormalizeTimeText(c.given), c.written) << "time \"" << c.given << '"';
  }
}

PoiRecord TowerRecord() {
  PoiRecord record;
  record.title = "Tower";
  record.longitudeText = "139'46'1'6";
  record.latitudeText = "35'40'52'3";
  record.position = EncodeNviPosition(139.0 + 46.0 / 60 + 1.0 / 3600 + 6.0 / 36000,
                                      35.0 + 40.0 / 60 + 52.0 / 3600 + 3.0 / 36000);
  return record;
}

std::string WriteBlocks(const std::vector<PoiRecord>& records, Clock& clock) {
  StringSink sink;
  BufferedWriter out(sink);
  NviStamp stamp;
  for (const PoiRecord& record : records) {
    WriteNviRecord(out, record.title, record.position.view(), clock, stamp);
  }
  EXPECT_TRUE(out.Close());
  return sink.bytes;
}

TEST(WriteNviRecord, WritesTheTwelveLinesExactly) {
  FixedClock clock({"2010/04/01", "14:30:00"});
  EXPECT_EQ(WriteBlocks({TowerRecord()}, clock),
            "NPOIs100@NRA/R1;\n"
            " 2010/04/01_14:30:00_JST;\n"
            " 255;\n"
            " $168736AFD305033D;\n"
            " TTL= {Tower};\n"
            " CHAR = SJIS;\n"
            " ADDR = {};\n"
            " HPGL = {};\n"
            " MAIL = {};\n"
            " LNKF = {};\n"
            " COMM = {};\n"
            "eoNPOIs@NRA\n");
}

TEST(WriteNviRecord, StampsWithTheNormalizedClockTexts) {
  FixedClock clock({"10/04/01", "9:05:03"});
  const std::string block = WriteBlocks({TowerRecord()}, clock);
  EXPECT_EQ(block.substr(17, 26), " 2010/04/01_09:05:03_JST;\n");
}

TEST(WriteNviRecord, FallsBackForUnknownClockForms) {
  FixedClock clock({"01.04.2010", "2:30:00 PM"});
  const std::string block = WriteBlocks({TowerRecord()}, clock);
  EXPECT_EQ(block.substr(17, 26), " 2009/06/13_00:00:00_JST;\n");
}

/// Hands out one reading after another and counts the calls.
class SteppingClock : public Clock {
 public:
  explicit SteppingClock(std::vector<ClockReading> readings) : readings_(std::move(readings)) {}
  const ClockReading& Now() override { return readings_.at(calls++); }
  std::size_t calls = 0;

 private:
  std::vector<ClockReading> readings_;
};

TEST(WriteNviRecord, ReadsTheClockOncePerBlock) {
  SteppingClock clock({{"2010/04/01", "23:59:59"}, {"2010/04/02", "00:00:00"}});
  const std::string blocks = WriteBlocks({TowerRecord(), TowerRecord()}, clock);
  EXPECT_EQ(clock.calls, 2u);
  EXPECT_NE(blocks.find(" 2010/04/01_23:59:59_JST;\n"), std::string::npos);
  EXPECT_NE(blocks.find(" 2010/04/02_00:00:00_JST;\n"), std::string::npos);
}

TEST(WriteNviRecord, CopiesTitleBytesUnchanged) {
  const std::string title = "\x83\x5C\xED\x40\xFA\x5C}; {\x80\xFF";
  PoiRecord record = TowerRecord();
  record.title = title;
  FixedClock clock({"2010/04/01", "14:30:00"});
  const std::string block = WriteBlocks({record}, clock);
  EXPECT_NE(block.find("\n TTL= {" + title + "};\n"), std::string::npos);
  EXPECT_EQ(block.find('\r'), std::string::npos);
}

/// Keeps every write apart, to see where the buffer was written out.
class WritesSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    writes.emplace_back(data, size);
    return true;
  }
  bool Close() override { return true; }
  std::error_code error() const override { return {}; }
  std::vector<std::string> writes;
};

// Whether a block fits what is left of the buffer or not, its bytes reach
// the sink in the same writes as when its lines are appended piece by piece.
TEST(WriteNviRecord, WritesTheBufferOutWhereThePiecesWould) {
  const PoiRecord record = TowerRecord();
  FixedClock clock({"2010/04/01", "14:30:00"});
  for (std::size_t bufferSize = 1; bufferSize <= 700; bufferSize += 7) {
    WritesSink blocks;
    WritesSink pieces;
    BufferedWriter blockWriter(blocks, bufferSize);
    BufferedWriter pieceWriter(pieces, bufferSize);
    NviStamp stamp;
    for (int i = 0; i < 3; ++i) {
      WriteNviRecord(blockWriter, record.title, record.position.view(), clock, stamp);
      for (const std::string_view piece :
           {std::string_view("NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n "),
            record.position.view(), std::string_view(";\n TTL= {"), record.title,
            std::string_view("};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n"
                             " LNKF = {};\n COMM = {};\neoNPOIs@NRA\n")}) {
        pieceWriter.Append(piece);
      }
    }
    EXPECT_TRUE(blockWriter.Close());
    EXPECT_TRUE(pieceWriter.Close());
    EXPECT_EQ(blocks.writes, pieces.writes) << "buffer of " << bufferSize;
  }
}

}  // namespace
}  // namespace velorin
