#include "formats/title_text.h"

#include "text/text_encoding.h"

namespace velorin {

namespace {

constexpr bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr std::size_t kMaxUtf8Width = 4;

/// No white space but single blanks between other characters: nothing to
/// collapse (most titles).
bool IsCollapsed(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) > ' ') continue;
    if (text[i] != ' ' || i == 0 || i + 1 == text.size() || text[i + 1] == ' ') return false;
  }
  return true;
}

}  // namespace

void CollapseWhiteSpace(std::string& text) {
  if (IsCollapsed(text)) return;
  std::size_t kept = 0;
  bool pendingBlank = false;
  for (const char c : text) {
    if (IsWhiteSpace(c)) {
      pendingBlank = kept > 0;
      continue;
    }
    if (pendingBlank) text[kept++] = ' ';
    pendingBlank = false;
    text[kept++] = c;
  }
  text.resize(kept);
}

bool TitleEncoder::Encode(std::string_view utf8, std::string& out) {
  out.clear();
  replaced_.clear();
  if (encoder_.Append(utf8, out, &replaced_)) return !replaced_.empty();
  // Not valid UTF-8 throughout: character by character, each byte that
  // starts no valid character standing in as "?".
  out.clear();
  replaced_.clear();
  bool approximated = false;
  while (!utf8.empty()) {
    std::size_t width = 0;
    for (std::size_t w = 1; w <= kMaxUtf8Width && w <= utf8.size(); ++w) {
      if (IsValidUtf8(utf8.substr(0, w))) {
        width = w;
        break;
      }
    }
    if (width == 0) {
      out += '?';
      approximated = true;
      width = 1;
    } else {
      encoder_.Append(utf8.substr(0, width), out, &replaced_);
    }
    utf8.remove_prefix(width);
  }
  return approximated || !replaced_.empty();
}

TitleChange ChangeOfTitle(std::string_view cp932, bool replaced) {
  if (!replaced) return TitleChange::kNone;
  // '?' and blanks are never a trail byte of a CP932 character.
  return cp932.find_first_not_of("? ") == std::string_view::npos ? TitleChange::kUnshowable
                                                                 : TitleChange::kClosest;
}

std::string_view TitleDecoder::Decode(std::string_view cp932) {
  bool ascii = true;
  for (const char c : cp932) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return cp932;
  decoder_.Decode(cp932, utf8_);
  return utf8_;
}

std::string_view TitleConverter::EncodeToCp932(std::string_view utf8, bool& approximated) {
  approximated = encoder_.Encode(utf8, cp932_);
  return cp932_;
}

std::string_view TitleConverter::Utf8(TitleView title) {
  if (title.encoding == TitleEncoding::kUtf8) return title.text;
  return decoder_.Decode(title.text);
}

}  // namespace velorin
