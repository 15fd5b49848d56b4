#pragma once
// Reading UTF-8 sequences, for the encoding check and the CP932 encoder.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velorin::utf8 {

/// Length of the ASCII run at the start of `text`, eight bytes at a time.
inline std::size_t AsciiPrefixLength(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

/// True when every byte of `text` is ASCII. Sixteen bytes at a time with
/// no early exit, the last eight overlapping those before: for lines that
/// are almost always ASCII throughout.
inline bool IsAscii(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  const char* const data = text.data();
  const std::size_t size = text.size();
  if (size < 8) {
    unsigned char bits = 0;
    for (const char c : text) bits |= static_cast<unsigned char>(c);
    return bits < 0x80;
  }
  std::uint64_t bits = 0;
  std::uint64_t first;
  std::uint64_t second;
  std::size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    std::memcpy(&first, data + i, 8);
    std::memcpy(&second, data + i + 8, 8);
    bits |= first | second;
  }
  if (i + 8 <= size) {
    std::memcpy(&first, data + i, 8);
    bits |= first;
  }
  std::memcpy(&first, data + size - 8, 8);
  return ((bits | first) & kHighBits) == 0;
}

/// The offset at or before `at` (at most the size of `text`) where a
/// character of UTF-8 `text` begins: a cut there leaves whole characters.
inline std::size_t CharacterEdgeAtOrBefore(std::string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  return at;
}

/// Length of the well-formed sequence at the start of `text` (not empty): 1
/// to 4; 0 when it is malformed (overlong, a surrogate, above U+10FFFF, a
/// stray continuation byte); -1 when it is only cut off by the end of `text`.
inline int SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned char low = 0x80;  // bounds of the second byte (RFC 3629 table)
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= text.size()) return -1;
    const unsigned char b = byte(static_cast<std::size_t>(i));
    const unsigned char min = i == 1 ? low : 0x80;
    const unsigned char max = i == 1 ? high : 0xBF;
    if (b < min || b > max) return 0;
  }
  return length;
}

/// The code point of the well-formed sequence of `size` bytes at `text`.
inline char32_t Decode(const char* text, std::size_t size) {
  const auto b = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
  };
  switch (size) {
    case 1:
      return b(0);
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
  }
}

/// True for the second to fourth bytes of a sequence.
constexpr bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

/// SequenceLength and Decode in one: the length of the sequence at the
/// start of `text` (not empty), as SequenceLength gives it, and when it is
/// well-formed its code point in `codePoint`. Three-byte sequences that can
/// be neither overlong nor surrogates (most Japanese text) take a short way.
inline int DecodeSequence(std::string_view text, char32_t& codePoint) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = b(0);
  if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && text.size() >= 3 && IsContinuation(b(1)) &&
      IsContinuation(b(2))) {
    codePoint = (static_cast<char32_t>(lead & 0x0F) << 12) |
                (static_cast<char32_t>(b(1) & 0x3F) << 6) | static_cast<char32_t>(b(2) & 0x3F);
    return 3;
  }
  const int length = SequenceLength(text);
  if (length > 0) codePoint = Decode(text.data(), static_cast<std::size_t>(length));
  return length;
}

/// Appends the UTF-8 sequence of `codePoint` (at most U+10FFFF, no
/// surrogate) to `out`.
inline void Append(std::string& out, char32_t codePoint) {
  const auto byte = [](char32_t bits) {
    return static_cast<char>(static_cast<unsigned char>(bits));
  };
  if (codePoint < 0x80) {
    out += byte(codePoint);
  } else if (codePoint < 0x800) {
    out += byte(0xC0 | (codePoint >> 6));
    out += byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += byte(0xE0 | (codePoint >> 12));
    out += byte(0x80 | ((codePoint >> 6) & 0x3F));
    out += byte(0x80 | (codePoint & 0x3F));
  } else {
    out += byte(0xF0 | (codePoint >> 18));
    out += byte(0x80 | ((codePoint >> 12) & 0x3F));
    out += byte(0x80 | ((codePoint >> 6) & 0x3F));
    out += byte(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace velorin::utf8
