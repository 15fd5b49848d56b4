#pragma once
// Which encoding a text file (a POT or CSV file) is in, decided once from its
// first bytes: CP932 unless the bytes clearly say UTF-8.
#include <cstddef>
#include <optional>
#include <string_view>

namespace velorin {

enum class TextEncoding { kCp932, kUtf8 };

/// How much of a file's start the automatic choice looks at.
inline constexpr std::size_t kEncodingSniffBytes = std::size_t{64} * 1024;

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct DetectedEncoding {
  TextEncoding encoding = TextEncoding::kCp932;
  std::size_t byteOrderMarkSize = 0;  ///< bytes to drop at the start (3 or 0)
  /// The bytes looked at held more than ASCII, so the choice mattered.
  bool beyondAscii = false;
};

/// UTF-8 when `head` (the first bytes of the file, up to kEncodingSniffBytes)
/// starts with a UTF-8 byte-order mark, or when it is valid UTF-8 (a sequence
/// cut off at its end allowed) holding characters beyond ASCII, unless those
/// are all two-byte ones that CP932 reads as half-width katakana and some
/// come three or more in a row (katakana words, not accented letters);
/// otherwise CP932. Plain ASCII counts as CP932: it converts the same.
DetectedEncoding DetectTextEncoding(std::string_view head, bool headIsWholeFile);

/// The encoding to read a text in: `told` when given, else as its head says.
/// A UTF-8 byte-order mark at the start is to be dropped, unless the text is
/// told to be CP932 (then those are three characters like any other).
DetectedEncoding ChooseTextEncoding(std::string_view head, bool headIsWholeFile,
                                    std::optional<TextEncoding> told);

/// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
/// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

/// Bytes at the start of `text` that are well-formed UTF-8, whole characters.
std::size_t ValidUtf8PrefixLength(std::string_view text);

}  // namespace velorin
