#include "text/cp932_closest.h"

#include <gtest/gtest.h>

#include <string>

#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"

namespace velorin {
namespace {

std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// The generated table against the converter of this system: every
// substitute is CP932 as glibc writes it, and no entry contradicts glibc.
TEST(Cp932ClosestTable, AgreesWithTheSystemConverter) {
  int entries = 0;
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    const std::optional<Cp932Closest> closest = FindCp932Closest(cp);
    if (!closest) continue;
    ++entries;
    const std::string bytes(closest->bytes);
    const std::string text = Cp932ToUtf8(bytes);
    SCOPED_TRACE(::testing::Message()
                 << "U+" << std::hex << static_cast<unsigned>(cp) << " as " << text);
    // A whole CP932 text, written with the codes glibc itself chooses.
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(Utf8ToCp932(text), bytes);
    // Never POT syntax or a control character.
    EXPECT_EQ(text.find_first_of(std::string("/=\"'\r\n\t\0\x7F", 10)), std::string::npos);
    // Either glibc refuses the character, or the entry repeats glibc's own mapping.
    const std::optional<std::string> system = Utf8ToCp932(Utf8Of(cp));
    if (system) {
      EXPECT_EQ(*system, bytes);
      EXPECT_FALSE(closest->changesText);
    }
  }
  EXPECT_GT(entries, 5000);
}

TEST(Cp932ClosestTable, LookupAtTheEdges) {
  EXPECT_FALSE(FindCp932Closest(0).has_value());
  EXPECT_FALSE(FindCp932Closest(U'A').has_value());
  EXPECT_EQ(FindCp932Closest(0x00A0)->bytes, " ");  // the first entry
  EXPECT_EQ(FindCp932Closest(0xE01EF)->bytes, "");  // the last: a variation selector
  EXPECT_FALSE(FindCp932Closest(0x10FFFF).has_value());
  EXPECT_FALSE(FindCp932Closest(0xFFFFFFFF).has_value());
}

TEST(Cp932ClosestTable, CompositionsNeedTheirExactPair) {
  const std::optional<Cp932Composition> ga = FindCp932Composition(U'か', 0x3099);
  ASSERT_TRUE(ga.has_value());
  EXPECT_EQ(ga->baseBytes, "\x82\xA9");
  EXPECT_EQ(ga->bytes, "\x82\xAA");
  EXPECT_FALSE(FindCp932Composition(U'か', 0x309A).has_value());
  EXPECT_FALSE(FindCp932Composition(0x3099, U'か').has_value());
  EXPECT_FALSE(FindCp932Composition(U'e', 0x0301).has_value());  // é is not CP932
  EXPECT_FALSE(FindCp932Composition(U'=', 0x0338).has_value());  // "=" is POT syntax
}

}  // namespace
}  // namespace velorin
