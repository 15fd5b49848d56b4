#include "platform/buffered_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "memory_streams.h"

namespace velorin {
namespace {

using testing::MemorySink;

TEST(BufferedWriterTest, PiecesArriveInOrderAtClose) {
  MemorySink sink;
  BufferedWriter writer(sink);
  writer.Append("NPOIs100@NRA/R1;");
  writer.Append('\n');
  writer.Append(std::string_view());
  writer.Append(" 255;\n");
  EXPECT_EQ(sink.data(), "");  // still buffered
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(sink.data(), "NPOIs100@NRA/R1;\n 255;\n");
  EXPECT_TRUE(sink.closed());
}

TEST(BufferedWriterTest, NothingWrittenClosesAnEmptySink) {
  MemorySink sink;
  BufferedWriter writer(sink);
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(sink.data(), "");
  EXPECT_EQ(sink.writes(), 0u);
  EXPECT_TRUE(sink.closed());
}

TEST(BufferedWriterTest, SmallBufferWritesWhenFull) {
  // Pieces smaller than, equal to and larger than the buffer, and single characters.
  for (std::size_t size : {1u, 2u, 3u, 5u, 8u, 64u}) {
    SCOPED_TRACE(size);
    MemorySink sink;
    BufferedWriter writer(sink, size);
    std::string expected;
    for (int i = 0; i < 20; ++i) {
      const std::string piece(static_cast<std::size_t>(i % 11), static_cast<char>('a' + i));
      writer.Append(piece);
      writer.Append('|');
      expected += piece + '|';
    }
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(sink.data(), expected);
  }
}

TEST(BufferedWriterTest, BufferIsWrittenOnlyWhenFull) {
  MemorySink sink;
  BufferedWriter writer(sink, 8);
  writer.Append("1234");
  writer.Append("5678");
  EXPECT_EQ(sink.writes(), 0u);
  writer.Append('9');
  EXPECT_EQ(sink.data(), "12345678");
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(sink.data(), "123456789");
}

TEST(BufferedWriterTest, WriteFailureIsStickyAndReportedAtClose) {
  MemorySink sink;
  sink.FailAfter(10);
  BufferedWriter writer(sink, 4);
  for (int i = 0; i < 10; ++i) writer.Append("abc");
  EXPECT_FALSE(writer.ok());
  const std::size_t writesAtFailure = sink.writes();
  writer.Append("more");
  writer.Append('x');
  EXPECT_EQ(sink.writes(), writesAtFailure);  // nothing more is tried
  EXPECT_FALSE(writer.Close());
  EXPECT_TRUE(sink.closed());  // the file is released all the same
  EXPECT_LE(sink.data().size(), 10u);
}

TEST(BufferedWriterTest, FailureOfTheLastFlushIsReported) {
  MemorySink sink;
  sink.FailAfter(3);
  BufferedWriter writer(sink);
  writer.Append("four");
  EXPECT_TRUE(writer.ok());  // only buffered so far
  EXPECT_FALSE(writer.Close());
  EXPECT_FALSE(writer.ok());
  EXPECT_TRUE(sink.closed());
}

TEST(BufferedWriterTest, FailureAtCloseIsReported) {
  MemorySink sink;
  sink.FailAtClose();
  BufferedWriter writer(sink);
  writer.Append("data");
  EXPECT_FALSE(writer.Close());
  EXPECT_EQ(sink.data(), "data");
  EXPECT_FALSE(writer.ok());
}

TEST(BufferedWriterTest, LargePieceAfterFailureIsNotWritten) {
  MemorySink sink;
  sink.FailAfter(0);
  BufferedWriter writer(sink, 4);
  writer.Append("12345678");  // larger than the buffer: goes straight to the sink
  EXPECT_FALSE(writer.ok());
  writer.Append("abcdefgh");
  EXPECT_EQ(sink.writes(), 1u);
  EXPECT_FALSE(writer.Close());
  EXPECT_EQ(sink.data(), "");
}

// A claimed piece is the next bytes of the buffer, given only when it fits
// what is left; a refused claim changes nothing.
TEST(BufferedWriterTest, ClaimGivesRoomOnlyWhereItFits) {
  struct Case {
    std::size_t buffered;  ///< bytes appended before the claim
    std::size_t claimed;
    bool given;
  };
  const Case cases[] = {
      {0, 0, true}, {0, 8, true}, {3, 5, true}, {8, 0, true}, {0, 9, false}, {5, 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.buffered << " then " << c.claimed);
    MemorySink sink;
    BufferedWriter writer(sink, 8);
    const std::string before(c.buffered, 'a');
    writer.Append(before);
    char* const piece = writer.Claim(c.claimed);
    EXPECT_EQ(piece != nullptr, c.given);
    if (piece != nullptr) std::memset(piece, 'b', c.claimed);
    EXPECT_EQ(sink.writes(), 0u);  // a claim never writes the buffer out
    writer.Append('c');
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(sink.data(), before + std::string(c.given ? c.claimed : 0, 'b') + "c");
  }
}

TEST(BufferedWriterTest, AFailedWriterGivesNoRoom) {
  MemorySink sink;
  sink.FailAfter(0);
  BufferedWriter writer(sink, 4);
  writer.Append("12345678");
  EXPECT_FALSE(writer.ok());
  EXPECT_EQ(writer.Claim(1), nullptr);
  EXPECT_FALSE(writer.Close());
}

}  // namespace
}  // namespace velorin
