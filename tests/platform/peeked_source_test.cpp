#include "platform/peeked_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "memory_streams.h"

namespace velorin {
namespace {

/// A pipe whose writer pauses after each piece: nothing is ready until the
/// next read, which waits for it.
class PausingPipe : public testing::MemorySource {
 public:
  using MemorySource::MemorySource;
  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    ready_ = false;
    return MemorySource::Read(buffer, capacity);
  }
  bool HasDataReady() override { return ready_; }

 private:
  bool ready_ = true;
};

struct PeekCase {
  const char* name;
  std::string data;
  std::size_t piece;  ///< bytes a read gives at most (0: any)
  bool pauses;        ///< after every piece
  std::optional<std::size_t> failAfter;
  std::size_t most;
  std::string enoughWhen;  ///< the head is enough once it holds this; empty: never
  std::string head;
};

void PrintTo(const PeekCase& c, std::ostream* out) { *out << c.name; }

class PeekedSourceTest : public ::testing::TestWithParam<PeekCase> {};

// The head is what it should be, and the reads after it give every byte of
// the source once, in order, then its end or its failure.
TEST_P(PeekedSourceTest, ShowsTheHeadThenGivesEveryByteAgain) {
  const PeekCase& c = GetParam();
  std::unique_ptr<testing::MemorySource> inner =
      c.pauses ? std::make_unique<PausingPipe>(c.data, c.piece)
               : std::make_unique<testing::MemorySource>(c.data, c.piece);
  if (c.failAfter) inner->FailAfter(*c.failAfter);
  PeekedSource source(*inner);
  const std::string head(source.Peek(c.most, [&c](std::string_view bytes) {
    return !c.enoughWhen.empty() && bytes.find(c.enoughWhen) != std::string_view::npos;
  }));
  EXPECT_EQ(head, c.head);
  EXPECT_TRUE(source.HasDataReady());
  std::string all;
  char buffer[3];
  std::ptrdiff_t count = 0;
  while ((count = source.Read(buffer, sizeof buffer)) > 0) {
    all.append(buffer, static_cast<std::size_t>(count));
  }
  EXPECT_EQ(all, c.data.substr(0, c.failAfter.value_or(c.data.size())));
  EXPECT_EQ(count, c.failAfter ? -1 : 0);
  EXPECT_EQ(static_cast<bool>(source.error()), c.failAfter.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PeekedSourceTest,
    ::testing::Values(
        PeekCase{"FileUpToTheMost", "0123456789abcdef", 0, false, {}, 10, "0", "0123456789"},
        PeekCase{"ShortFileToItsEnd", "0123", 0, false, {}, 10, "", "0123"},
        PeekCase{"ReadyBytesTakenThoughEnough",
                 "ORD=POI/tex=A\r\n",
                 4,
                 false,
                 {},
                 64,
                 "ORD",
                 "ORD=POI/tex=A\r\n"},
        PeekCase{"QuietPipeLeftOnceEnough",
                 "<gpx version=\"1.1\">\n<wpt/>",
                 5,
                 true,
                 {},
                 64,
                 "<gpx ",
                 "<gpx "},
        PeekCase{"QuietPipeWaitedOnWhileNotEnough",
                 "shopping list\n",
                 2,
                 true,
                 {},
                 64,
                 "",
                 "shopping list\n"},
        PeekCase{"ReadErrorGivenAfterTheHead", "0123456789", 4, false, 6, 64, "", "012345"},
        PeekCase{"Empty", "", 0, false, {}, 64, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
