#include "convert/counting_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace velorin {
namespace {

TEST(CountingText, StartsWithThePrefixAndTheCount) {
  EXPECT_EQ(CountingText(" ").text(), " 0");
  EXPECT_EQ(CountingText("Records:", 7).text(), "Records:7");
  EXPECT_EQ(CountingText("", 1000000).text(), "1000000");
  EXPECT_EQ(CountingText(" ", 2147483647).text(), " 2147483647");
}

TEST(CountingText, FollowsTheCountThroughEveryCarry) {
  CountingText text("Records written: ");
  for (std::int32_t count = 1; count <= 1'100'000; ++count) {
    text.Increment();
    ASSERT_EQ(text.text(), "Records written: " + std::to_string(count));
  }
}

TEST(CountingText, CarriesIntoANewFirstDigit) {
  const std::int32_t counts[] = {9, 99, 999, 9999, 99999, 999999, 9999999, 99999999, 999999999};
  for (const std::int32_t count : counts) {
    CountingText text("#", count);
    text.Increment();
    EXPECT_EQ(text.text(), "#" + std::to_string(count + 1));
  }
  // A prefix that ends in digits is not part of the count.
  CountingText text("99 ", 99);
  text.Increment();
  EXPECT_EQ(text.text(), "99 100");
}

TEST(CountingText, KeepsItsTextInPlaceUpToTheLargestCount) {
  CountingText text(" ", 999'999'999);
  const char* before = text.text().data();
  text.Increment();
  EXPECT_EQ(text.text(), " 1000000000");
  EXPECT_EQ(text.text().data(), before);  // no new allocation for the extra digit
}

}  // namespace
}  // namespace velorin
