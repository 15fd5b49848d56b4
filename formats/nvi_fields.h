#pragma once
// The NVI block's own fields, filled from a point's texts when asked:
// ADDR the address, COMM the description (then the comment and the
// telephone number), HPGL the link, MAIL the e-mail address; LNKF stays
// empty. Unasked, every field stays empty, as the block always was.
//
// Nothing in a value may break the block: a brace, a semicolon or a line
// break becomes a harmless character, and each field is cut at a length
// a unit is likely to take (what units accept is not known: the limits are
// kept low on purpose).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/point_fields.h"

namespace velorin {

enum class NviField : std::uint8_t { kAddr, kComm, kHpgl, kMail };
inline constexpr std::size_t kNviFieldCount = 4;

/// The NVI fields asked for, one bit each.
class NviFieldSet {
 public:
  constexpr NviFieldSet() = default;
  static constexpr NviFieldSet All() {
    NviFieldSet all;
    all.bits_ = (1u << kNviFieldCount) - 1;
    return all;
  }
  constexpr bool Has(NviField field) const {
    return ((bits_ >> static_cast<unsigned>(field)) & 1u) != 0;
  }
  constexpr void Add(NviField field) {
    bits_ = static_cast<std::uint8_t>(bits_ | (1u << static_cast<unsigned>(field)));
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const NviFieldSet&) const = default;

 private:
  std::uint8_t bits_ = 0;
};

/// "addr" ... "mail": the field's name in the option and in the block ("ADDR").
std::string_view NviFieldName(NviField field);
std::string_view NviFieldKey(NviField field);
/// The most bytes (CP932) written in the field.
std::size_t NviFieldLimit(NviField field);

/// "addr,comm", "all": the fields a list names; nothing when it names one
/// that is none (or nothing at all).
std::optional<NviFieldSet> ParseNviFieldList(std::string_view list);
/// "addr,comm": the list that names `fields`, "all" for every one.
std::string NviFieldListText(NviFieldSet fields);

/// The point's fields an NVI block with `fields` filled keeps.
PointFieldSet PointFieldsKeptIn(NviFieldSet fields);

/// What filling the fields did to their texts, by field.
struct NviFieldFit {
  /// Braces, semicolons and line breaks replaced.
  std::array<std::int64_t, kNviFieldCount> replaced{};
  /// Cut at the field's limit.
  std::array<bool, kNviFieldCount> cut{};
  bool changed() const {
    for (std::size_t i = 0; i < kNviFieldCount; ++i) {
      if (replaced[i] > 0 || cut[i]) return true;
    }
    return false;
  }
};

/// "ADDR: 2 braces, semicolons or line breaks replaced; COMM: cut at 256
/// bytes", for --explain; empty when nothing changed.
std::string NviFitNote(const NviFieldFit& fit);

/// The four fields' values, CP932, ready for the block.
struct NviFieldValues {
  std::string addr;
  std::string comm;
  std::string hpgl;
  std::string mail;
};

/// Fills `out` with the fields `wanted` from `texts` (CP932, as the title
/// rule made them); the others stay empty.
NviFieldFit FillNviFields(const FieldTexts& texts, NviFieldSet wanted, NviFieldValues& out);

/// The values as the writer takes them: ADDR as the address, COMM as the
/// description, HPGL as the link, MAIL as the e-mail address.
FieldTexts NviFieldTextsOf(const NviFieldValues& values);

/// Replaces in CP932 `text` what would break a block ("{", "}", ";", CR,
/// LF, TAB) and cuts it at `limit` bytes on a character's edge; returns
/// the characters replaced, `cut` tells whether it was cut.
std::int64_t MakeBlockSafe(std::string& text, std::size_t limit, bool& cut);

}  // namespace velorin
