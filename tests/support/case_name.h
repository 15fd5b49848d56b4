#pragma once
// Readable GoogleTest case names for tables keyed by byte strings: letters and
// digits stay, every other byte becomes a short word or its hex value, and a
// long run of one character is counted instead of spelled out.
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace velorin::testutil {

inline std::string ByteWord(unsigned char byte) {
  switch (byte) {
    case '\r':
      return "CR";
    case '\n':
      return "LF";
    case '\t':
      return "tab";
    case ' ':
      return "blank";
    case '.':
      return "dot";
    case ',':
      return "comma";
    case '-':
      return "minus";
    case '+':
      return "plus";
    case '\0':
      return "NUL";
    default: {
      static const char kHex[] = "0123456789ABCDEF";
      return std::string("x") + kHex[byte >> 4] + kHex[byte & 15];
    }
  }
}

/// "A\r\n" gives "A_CR_LF", "10.5" gives "10_dot_5", 300 'L' give "Lx300",
/// the empty text "empty". The result is unique for the short texts of a table.
inline std::string CaseName(std::string_view bytes) {
  if (bytes.empty()) return "empty";
  std::string name;
  bool inWord = false;  // the last token is a run of letters and digits
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    std::size_t run = 1;
    while (i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
    const bool alnum = std::isalnum(byte) != 0;
    std::string token;
    if (run >= 4) {
      token = (alnum ? std::string(1, static_cast<char>(byte)) : ByteWord(byte)) + "x" +
              std::to_string(run);
    } else {
      run = 1;
      token = alnum ? std::string(1, static_cast<char>(byte)) : ByteWord(byte);
    }
    const bool joins = alnum && run == 1 && inWord;
    if (!name.empty() && !joins) name += '_';
    name += token;
    inWord = alnum && run == 1;
    i += run;
  }
  return name;
}

}  // namespace velorin::testutil
