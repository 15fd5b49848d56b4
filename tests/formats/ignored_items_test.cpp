#include "formats/ignored_items.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

using K = IgnoredKind;

struct AddCase {
  const char* name;
  IgnoredItems into;
  IgnoredItems added;
  std::int64_t routes;
  std::int64_t unread;
  std::string unreadName;
  std::int64_t total;
};

void PrintTo(const AddCase& c, std::ostream* out) { *out << c.name; }

IgnoredItems Items(std::int64_t routes, std::int64_t unread, std::string name = {}) {
  IgnoredItems items;
  items[K::kRoute] = routes;
  items[K::kUnreadElement] = unread;
  items[K::kLinkNotFollowed] = 1;
  items.unreadName = std::move(name);
  return items;
}

class IgnoredItemsAddTest : public ::testing::TestWithParam<AddCase> {};

// Counts add up kind by kind; the name of the first unread element is the
// one of whichever counted such elements first.
TEST_P(IgnoredItemsAddTest, AddsKindByKind) {
  IgnoredItems items = GetParam().into;
  items.Add(GetParam().added);
  EXPECT_EQ(items[K::kRoute], GetParam().routes);
  EXPECT_EQ(items[K::kUnreadElement], GetParam().unread);
  EXPECT_EQ(items[K::kLinkNotFollowed], 2);
  EXPECT_EQ(items.unreadName, GetParam().unreadName);
  EXPECT_EQ(items.Total(), GetParam().total);
}

INSTANTIATE_TEST_SUITE_P(Counts, IgnoredItemsAddTest,
                         ::testing::Values(AddCase{"Nothing", Items(0, 0), Items(0, 0), 0, 0, "",
                                                   2},
                                           AddCase{"Routes", Items(2, 0), Items(3, 0), 5, 0, "", 7},
                                           AddCase{"FirstUnreadNameKept", Items(0, 1, "wpt"),
                                                   Items(0, 4, "WPT"), 0, 5, "wpt", 7},
                                           AddCase{"UnreadNameTakenOn", Items(1, 0),
                                                   Items(0, 2, "Placemark"), 1, 2, "Placemark", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every kind has its words: one and many, neither empty.
TEST(IgnoredWordsTest, EveryKindIsNamed) {
  for (std::size_t i = 0; i < kIgnoredKindCount; ++i) {
    const IgnoredWords& words = WordsOf(static_cast<IgnoredKind>(i));
    EXPECT_FALSE(words.one.empty()) << i;
    EXPECT_FALSE(words.many.empty()) << i;
    EXPECT_NE(words.one, words.many) << i;
  }
}

}  // namespace
}  // namespace velorin
