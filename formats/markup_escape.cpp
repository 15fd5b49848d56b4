#include "formats/markup_escape.h"

namespace velorin {

void AppendXmlText(BufferedWriter& out, std::string_view utf8) {
  std::size_t plain = 0;  // start of the run of bytes that need nothing
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    const auto c = static_cast<unsigned char>(utf8[at]);
    std::string_view escape;
    switch (c) {
      case '&':
        escape = "&amp;";
        break;
      case '<':
        escape = "&lt;";
        break;
      case '>':
        escape = "&gt;";
        break;
      case '"':
        escape = "&quot;";
        break;
      case '\'':
        escape = "&apos;";
        break;
      case '\t':
        escape = "&#9;";  // a raw TAB would be read back as a blank in attributes
        break;
      case '\n':
        escape = "&#10;";
        break;
      case '\r':
        escape = "&#13;";  // a raw CR would be read back as LF
        break;
      default:
        continue;
    }
    out.Append(utf8.substr(plain, at - plain));
    out.Append(escape);
    plain = at + 1;
  }
  out.Append(utf8.substr(plain));
}

void AppendCsvField(BufferedWriter& out, std::string_view text, char delimiter) {
  const bool quoted =
      text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string_view::npos ||
      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) {
    out.Append(text);
    return;
  }
  out.Append('"');
  std::size_t plain = 0;
  for (std::size_t at = text.find('"'); at != std::string_view::npos; at = text.find('"', at + 1)) {
    out.Append(text.substr(plain, at + 1 - plain));
    out.Append('"');
    plain = at + 1;
  }
  out.Append(text.substr(plain));
  out.Append('"');
}

void AppendJsonString(BufferedWriter& out, std::string_view utf8) {
  constexpr char kHex[] = "0123456789abcdef";
  out.Append('"');
  std::size_t plain = 0;  // start of the run of bytes that need nothing
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    const auto c = static_cast<unsigned char>(utf8[at]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.Append(utf8.substr(plain, at - plain));
    plain = at + 1;
    switch (c) {
      case '"':
        out.Append("\\\"");
        break;
      case '\\':
        out.Append("\\\\");
        break;
      case '\b':
        out.Append("\\b");
        break;
      case '\f':
        out.Append("\\f");
        break;
      case '\n':
        out.Append("\\n");
        break;
      case '\r':
        out.Append("\\r");
        break;
      case '\t':
        out.Append("\\t");
        break;
      default: {
        const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        out.Append(std::string_view(escape, sizeof escape));
      }
    }
  }
  out.Append(utf8.substr(plain));
  out.Append('"');
}

}  // namespace velorin
