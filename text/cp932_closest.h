#pragma once
// The closest CP932 form of a character that CP932's own table lacks: the
// base letter of an accented Latin letter, "ss" for "ß", a full-width bar for
// "¦". A fixed table, so the answer is the same on every system and in every
// locale, written by scripts/make_cp932_closest.py (run it again to change
// it). The encoder asks it only when the system's converter refuses a
// character.
//
// The table also repeats the one-way mappings of glibc's converter (U+301C
// WAVE DASH as 81 60, U+00A5 as 5C), so that a converter holding only
// Microsoft's round-trip table (WideCharToMultiByte with
// WC_NO_BEST_FIT_CHARS) gives the same bytes. Such a converter must refuse
// U+0080 and U+F8F0 to U+F8F3 itself, as glibc does.
#include <optional>
#include <string_view>

namespace velorin {

struct Cp932Closest {
  /// CP932 bytes; empty when the character is dropped (invisible characters
  /// such as U+200B, combining marks and variation selectors).
  std::string_view bytes;
  /// False when a reader sees no change: the same character under another
  /// mapping or code point (U+301C WAVE DASH, a CJK compatibility
  /// ideograph), or an invisible character dropped.
  bool changesText = true;
  /// A combining mark (an accent, a variation selector): dropped, it changes
  /// the character it was on rather than standing for one of its own.
  bool combining = false;
};

/// Nothing when CP932 holds nothing close: the caller writes "?".
std::optional<Cp932Closest> FindCp932Closest(char32_t codePoint);

/// A base character followed by a combining mark that CP932 holds as one
/// character, as decomposed text writes it ("か" + U+3099 is "が").
struct Cp932Composition {
  std::string_view baseBytes;  ///< the base character alone
  std::string_view bytes;      ///< the pair as one character
};

std::optional<Cp932Composition> FindCp932Composition(char32_t base, char32_t mark);

}  // namespace velorin
