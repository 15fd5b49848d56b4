#include "cli/printable_text.h"

#include <cstdio>

namespace velorin {

namespace {

void AppendEscape(std::string& out, unsigned char byte) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02X", byte);
  out += escape;
}

}  // namespace

std::string PrintableText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x20 || byte == 0x7F) {
      AppendEscape(out, byte);
    } else if (byte == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      // U+0080..U+009F: terminals act on some of these as well.
      AppendEscape(out, static_cast<unsigned char>(utf8[++i]));
    } else {
      out += utf8[i];
    }
  }
  return out;
}

}  // namespace velorin
