#include "formats/title_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "text/byte_search.h"
#include "text/text_encoding.h"

namespace velorin {

namespace {

constexpr bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr std::size_t kMaxUtf8Width = 4;

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

/// Whether `text` holds a byte that may lead an invisible character (C2, E2
/// or EF), eight bytes at a time: most titles hold none.
bool HoldsInvisibleLead(std::string_view text) {
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if ((MatchingBytes(word, 0xC2 * kEveryByte) | MatchingBytes(word, 0xE2 * kEveryByte) |
         MatchingBytes(word, 0xEF * kEveryByte)) != 0) {
      return true;
    }
  }
  for (; at < text.size(); ++at) {
    const auto b = static_cast<unsigned char>(text[at]);
    if (b == 0xC2 || b == 0xE2 || b == 0xEF) return true;
  }
  return false;
}

/// UTF-8 of characters that take no room and that CP932 drops: the soft
/// hyphen, zero-width spaces and joiners, direction marks and embeddings,
/// the word joiner and invisible operators, the byte-order mark.
bool HoldsInvisibleCharacter(std::string_view utf8) {
  if (!HoldsInvisibleLead(utf8)) return false;
  for (std::size_t at = 0; at + 1 < utf8.size(); ++at) {
    const auto b0 = static_cast<unsigned char>(utf8[at]);
    if (b0 != 0xC2 && b0 != 0xE2 && b0 != 0xEF) continue;  // most bytes: no such lead
    const auto b1 = static_cast<unsigned char>(utf8[at + 1]);
    if (b0 == 0xC2 && b1 == 0xAD) return true;
    if (at + 2 >= utf8.size()) continue;
    const auto b2 = static_cast<unsigned char>(utf8[at + 2]);
    if (b0 == 0xE2 && b1 == 0x80 && ((b2 >= 0x8B && b2 <= 0x8F) || (b2 >= 0xAA && b2 <= 0xAE))) {
      return true;
    }
    if (b0 == 0xE2 && b1 == 0x81 && b2 >= 0xA0 && b2 <= 0xA4) return true;
    if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) return true;
  }
  return false;
}

/// Lead bytes of the CP932 characters that have a second code: NEC's row 13
/// symbols, NEC's selection of IBM characters, IBM's extension.
bool HoldsDuplicateCodeLead(std::string_view cp932) {
  for (std::size_t at = 0; at < cp932.size(); ++at) {
    const auto b = static_cast<unsigned char>(cp932[at]);
    if (b == 0x87 || b == 0xED || b == 0xEE || (b >= 0xFA && b <= 0xFC)) return true;
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ++at;  // a trail byte
  }
  return false;
}

/// The high bit of every byte of `word` below 0x21 (white space, a control
/// character), and no other bit: bytes from 0x80 on never are.
constexpr std::uint64_t BytesUpToBlank(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F * kEveryByte;
  return ~(((word & kLow7) + 0x5F * kEveryByte) | word) & 0x80 * kEveryByte;
}

/// No white space but single blanks between other characters: nothing to
/// collapse (most titles).
bool IsCollapsed(std::string_view text) {
  const auto single = [text](std::size_t i) {
    return text[i] == ' ' && i != 0 && i + 1 != text.size() && text[i + 1] != ' ';
  };
  // Eight bytes at a time, the last word ending where the text does (it
  // may look at some bytes twice); only the bytes up to ' ' are looked at
  // one by one.
  const auto wordFits = [&](std::size_t at) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    for (std::uint64_t found = BytesUpToBlank(word); found != 0; found &= found - 1) {
      const auto lane = static_cast<std::size_t>(std::countr_zero(found) / 8);
      if (!single(at + (std::endian::native == std::endian::little ? lane : 7 - lane))) {
        return false;
      }
    }
    return true;
  };
  if (text.size() < 8) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (static_cast<unsigned char>(text[i]) <= ' ' && !single(i)) return false;
    }
    return true;
  }
  for (std::size_t at = 0; at + 8 < text.size(); at += 8) {
    if (!wordFits(at)) return false;
  }
  return wordFits(text.size() - 8);
}

/// Collapses the runs of white space, each to one blank, and drops those at
/// the ends; true when one inside was more than a single blank. Apart from
/// CollapseWhiteSpace, whose check alone most titles take, so that the check
/// sets up nothing this needs.
[[gnu::noinline]] bool CollapseRuns(std::string& text) {
  std::size_t kept = 0;
  bool pendingBlank = false;
  bool changedInside = false;
  std::size_t run = 0;  // white space bytes in the current run
  bool runIsOneBlank = true;
  for (const char c : text) {
    if (IsWhiteSpace(c)) {
      pendingBlank = kept > 0;
      ++run;
      runIsOneBlank = run == 1 && c == ' ';
      continue;
    }
    if (pendingBlank) {
      text[kept++] = ' ';
      changedInside = changedInside || !runIsOneBlank;
    }
    pendingBlank = false;
    run = 0;
    text[kept++] = c;
  }
  text.resize(kept);
  return changedInside;
}

}  // namespace

bool CollapseWhiteSpace(std::string& text) {
  if (IsCollapsed(text)) return false;
  return CollapseRuns(text);
}

bool IsWhiteSpaceTidy(std::string_view text) { return IsCollapsed(text); }

bool IsWhiteSpaceOnly(std::string_view text) {
  for (const char c : text) {
    if (!IsWhiteSpace(c)) return false;
  }
  return true;
}

bool TitleEncoder::EncodeCharacters(std::string_view utf8, std::string& out) {
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

bool TitleEncoder::Encode(std::string_view utf8, std::string& out) {
  bool changed = EncodeCharacters(utf8, out);
  if (!changed && out.size() != utf8.size() && HoldsInvisibleCharacter(utf8)) changed = true;
  if (out.empty() && !utf8.empty()) {
    out = "?";  // a title is never lost to characters that take no room
    changed = true;
  }
  return changed;
}

TitleChange ChangeOfTitle(std::string_view cp932, bool replaced) {
  if (!replaced) return TitleChange::kNone;
  // '?' and blanks are never a trail byte of a CP932 character.
  return cp932.find_first_not_of("? ") == std::string_view::npos ? TitleChange::kUnshowable
                                                                 : TitleChange::kClosest;
}

std::string_view TitleDecoder::Decode(std::string_view cp932) {
  change_ = TitleChange::kNone;
  bool ascii = true;
  for (const char c : cp932) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return cp932;
  decoder_.Decode(cp932, utf8_);
  // CP932 has no U+FFFD of its own: the decoder wrote it for invalid bytes.
  if (utf8_.find("\xEF\xBF\xBD") != std::string::npos) {
    change_ = TitleChange::kBrokenBytes;
  } else if (ComesBackAsOtherBytes(cp932)) {
    change_ = TitleChange::kRecoded;
  }
  return utf8_;
}

bool TitleDecoder::ComesBackAsOtherBytes(std::string_view cp932) {
  if (!HoldsDuplicateCodeLead(cp932)) return false;
  back_.clear();
  return !encoder_.Append(utf8_, back_) || back_ != cp932;
}

}  // namespace velorin
