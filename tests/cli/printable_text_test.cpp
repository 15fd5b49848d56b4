#include "cli/printable_text.h"

#include <gtest/gtest.h>

namespace velorin {
namespace {

TEST(PrintableText, EscapesControlCharacters) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"35'40'52'3", "35'40'52'3"},
      {"a\tb", "a\\x09b"},
      {"\x1b[31mred", "\\x1B[31mred"},
      {std::string_view("a\0b", 3), "a\\x00b"},
      {"del\x7f", "del\\x7F"},
      {"c1 \xC2\x9B", "c1 \\x9B"},
      {"\xC2\xA9 stays", "\xC2\xA9 stays"},
      {"\xE6\x9D\xB1\xE4\xBA\xAC", "\xE6\x9D\xB1\xE4\xBA\xAC"},
      {"cut \xC2", "cut \xC2"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintableText(c.in), c.out);
}

}  // namespace
}  // namespace velorin
