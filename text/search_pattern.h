#pragma once
// A key or delimiter of the keyed extraction, analysed once so that many
// lines can be searched for it: which of its bytes to look for first, and
// how to compare it with the line there.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/ascii.h"
#include "text/byte_search.h"
#include "text/sjis_scan.h"

namespace velorin {

class SearchPattern {
 public:
  static constexpr std::size_t kNotFound = std::string_view::npos;

  /// `text` must outlive the pattern. With `ignoreCase`, ASCII letters match
  /// in either case; no other character is changed.
  constexpr SearchPattern(std::string_view text, bool ignoreCase)
      : text_(text), ignoreCase_(ignoreCase) {
    anchor_ = ignoreCase ? kNotFound : 0;
    for (std::size_t i = 0; i < text.size() && anchor_ == kNotFound; ++i) {
      if (AsciiUpper(text[i]) == AsciiLower(text[i])) anchor_ = i;
    }
    // Only a trail byte can stand inside a character, so a pattern that
    // starts with any other byte ("/", "=") begins a character wherever that
    // byte is.
    anchorBeginsCharacter_ =
        !text.empty() && anchor_ == 0 && !IsTrailByte(static_cast<unsigned char>(text[0]));
    ascii_ = true;
    for (const char c : text) ascii_ = ascii_ && static_cast<unsigned char>(c) < 0x80;
    singleByte_ = anchorBeginsCharacter_ && text.size() == 1;
    fitsWord_ = ascii_ && text.size() <= 8;
    for (std::size_t i = 0; i < text.size() && fitsWord_; ++i) {
      const char c = ignoreCase ? AsciiLower(text[i]) : text[i];
      word_ |= std::uint64_t{static_cast<unsigned char>(c)} << ByteShift(i);
      mask_ |= std::uint64_t{0xFF} << ByteShift(i);
      if (ignoreCase && AsciiUpper(c) != c) fold_ |= std::uint64_t{0x20} << ByteShift(i);
    }
  }

  /// Whether the pattern's characters follow one another in `line` from the
  /// character boundary `at` (at most line.size()) on.
  bool MatchesAt(std::string_view line, std::size_t at) const {
    if (fitsWord_ && line.size() - at >= 8) {
      // A line byte equal to an ASCII byte (upper-cased or not) is ASCII
      // itself, so never a lead byte: matching byte for byte from a
      // character boundary matches whole characters.
      // Under ignoreCase a letter's byte gets 0x20 set, which makes exactly
      // its two cases equal to the lower-case letter that word_ holds.
      std::uint64_t word;
      std::memcpy(&word, line.data() + at, 8);
      return (((word | fold_) ^ word_) & mask_) == 0;
    }
    return MatchesAtSlowly(line, at);
  }

  /// An ASCII pattern of up to eight bytes as a word to compare with eight
  /// line bytes: they match when (((bytes | fold) ^ word) & mask) == 0.
  struct Word {
    std::uint64_t word = 0;
    std::uint64_t mask = 0;
    std::uint64_t fold = 0;
  };
  /// Whether the pattern has a Word form.
  constexpr bool fitsWord() const { return fitsWord_; }
  /// The Word form for the eight bytes whose last one is the pattern's last
  /// byte (the form MatchesAt uses begins with its first byte).
  constexpr Word EndingWord() const {
    const int shift = static_cast<int>(8 * (8 - text_.size()));
    if (shift >= 64) return {};
    if constexpr (std::endian::native == std::endian::little) {
      return {word_ << shift, mask_ << shift, fold_ << shift};
    } else {
      return {word_ >> shift, mask_ >> shift, fold_ >> shift};
    }
  }

  constexpr std::string_view text() const { return text_; }
  constexpr bool ignoreCase() const { return ignoreCase_; }
  /// One byte that can only begin a character, found as that byte alone.
  constexpr bool singleByte() const { return singleByte_; }
  /// Every occurrence of the first byte begins a character (it is no trail
  /// byte), so a match there needs no look at the bytes before it.
  constexpr bool startsAnywhere() const {
    return !text_.empty() && !IsTrailByte(static_cast<unsigned char>(text_[0]));
  }

  /// Byte offset of the first occurrence in `line` that begins at a character
  /// boundary at or after the boundary `from`; kNotFound if there is none. An
  /// empty pattern occurs at every character of the line.
  std::size_t FindIn(std::string_view line, std::size_t from) const {
    // One byte that can only begin a character, as the delimiter "/": its
    // first occurrence, found inline.
    if (singleByte_) return ByteHits(line, from, text_[0]).Next();
    return FindPatternIn(line, from);
  }

 private:
  // Where byte i of eight bytes copied from memory lies in a 64-bit word.
  static constexpr int ByteShift(std::size_t i) {
    return std::endian::native == std::endian::little ? static_cast<int>(8 * i)
                                                      : static_cast<int>(56 - 8 * i);
  }

  std::size_t FindPatternIn(std::string_view line, std::size_t from) const;
  std::size_t FindLettersIn(std::string_view line, std::size_t from) const;
  bool MatchesAtSlowly(std::string_view line, std::size_t at) const;

  std::string_view text_;
  bool ignoreCase_;
  /// The first byte that letter case cannot change (each byte under exact
  /// comparison): only where the line holds it can the pattern occur.
  /// kNotFound for a pattern of ASCII letters only under ignoreCase.
  std::size_t anchor_ = kNotFound;
  bool anchorBeginsCharacter_ = false;
  bool singleByte_ = false;  ///< one byte, and it can only begin a character
  bool ascii_ = true;
  /// An ASCII pattern of up to eight bytes is compared with eight line bytes
  /// at once: word_ holds it (lower-cased under ignoreCase), mask_ 0xFF in
  /// its bytes, fold_ 0x20 in those of its letters under ignoreCase.
  bool fitsWord_ = false;
  std::uint64_t word_ = 0;
  std::uint64_t mask_ = 0;
  std::uint64_t fold_ = 0;
};

}  // namespace velorin
