#pragma once
// UTF-8 text turned into CP932, the encoding of NVI and POT files. A
// character that CP932 lacks becomes the closest character it holds (a Latin
// letter without its accent), else "?": a title never costs its point. The
// result does not depend on the locale. Under it lies the system's own table,
// strict: iconv on Linux, WideCharToMultiByte on Windows (one sibling file
// per system); both give the same bytes for every character they take, and
// refuse the same.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

/// The system's own CP932 table, from UTF-8 and strictly: no best fit, no
/// stand-in character.
class Cp932Converter {
 public:
  Cp932Converter();
  ~Cp932Converter();
  Cp932Converter(const Cp932Converter&) = delete;
  Cp932Converter& operator=(const Cp932Converter&) = delete;

  /// Converts the start of `in` onto `out` as far as the table holds its
  /// characters; returns the bytes of `in` it took. It stops short of the
  /// end only at a character that the table lacks (at every character when
  /// the system has no CP932 table) or at bytes that start no well-formed
  /// UTF-8 character.
  std::size_t Convert(std::string_view in, std::string& out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Encodes UTF-8 text as CP932 by the system's table alone; nothing when a
/// character has no CP932 form or `utf8` is not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

/// Bytes [offset, offset + size) of an encoded text that stand in for one
/// character CP932 does not hold (never empty).
struct ByteSpan {
  std::size_t offset = 0;
  std::size_t size = 0;
  bool operator==(const ByteSpan&) const = default;
};

/// Keeps its converter open between calls: one encoder serves a whole file.
class Cp932Encoder {
 public:
  Cp932Encoder();
  ~Cp932Encoder();
  Cp932Encoder(const Cp932Encoder&) = delete;
  Cp932Encoder& operator=(const Cp932Encoder&) = delete;

  /// Appends the CP932 form of `utf8` to `out`. False, with `out` as it was,
  /// when `utf8` is not valid UTF-8. Every replaced character adds its span
  /// of `out` to `replaced`, when given; a dropped accent or variation
  /// selector adds the span of the character it was on (once per character).
  /// Not replacements: a character written as the same character under
  /// another code (U+301C WAVE DASH as 81 60, "か" + U+3099 as "が") and an
  /// invisible one dropped (U+200B). Never writes "/", "=", quotes or control
  /// characters that the input did not hold.
  bool Append(std::string_view utf8, std::string& out, std::vector<ByteSpan>* replaced = nullptr);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// A title in CP932 and how many of its characters had to be replaced.
struct Cp932Title {
  std::string text;
  std::size_t replaced = 0;
};

/// The title rule in one call; nothing when `utf8` is not valid UTF-8.
std::optional<Cp932Title> TitleToCp932(std::string_view utf8);

}  // namespace velorin
