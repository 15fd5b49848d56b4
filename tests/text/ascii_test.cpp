#include "text/ascii.h"

#include <gtest/gtest.h>

#include <string_view>

namespace velorin {
namespace {

// Only the 26 letters change case: the bytes next to them ("@", "[", "`",
// "{"), digits and the bytes from 0x80 up stay as they are.
TEST(Ascii, ChangesTheCaseOfLettersOnly) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const bool capital = b >= 'A' && b <= 'Z';
    const bool small = b >= 'a' && b <= 'z';
    EXPECT_EQ(AsciiLower(c), capital ? static_cast<char>(b + ('a' - 'A')) : c) << b;
    EXPECT_EQ(AsciiUpper(c), small ? static_cast<char>(b - ('a' - 'A')) : c) << b;
  }
  EXPECT_EQ(AsciiToLower("Shift_JIS \xC3\x89.KML"), "shift_jis \xC3\x89.kml");
}

TEST(Ascii, ComparesIgnoringCase) {
  struct Case {
    std::string_view a, b;
    bool equal, endsWith;
  };
  const Case cases[] = {
      {"", "", true, true},
      {"UTF-8", "utf-8", true, true},
      {"cp932", "CP933", false, false},
      {"Points.KmL", ".kml", false, true},
      {".kml", "Points.kml", false, false},
      {"a@", "A`", false, false},  // "@" and "`" differ by the case bit but are no letters
      {"\xC3\x89", "\xC3\xA9", false, false},  // UTF-8 "É" and "é"
      {"yes", "yes\r", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " " << c.b;
    EXPECT_EQ(EndsWithIgnoringAsciiCase(c.a, c.b), c.endsWith) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace velorin
