#pragma once
// What a point carries besides its title and position: a description, a
// comment, an address, a link, a telephone number and an e-mail address,
// as the formats that hold them give them. A point whose file holds none
// carries none at no cost: the texts live behind one pointer, null until a
// reader sets the first of them, and a point moves and swaps as before.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "formats/title_text.h"

namespace velorin {

/// The most bytes of one text a reader keeps (XML, GeoJSON); a longer
/// one is cut on a character's edge and marked as cut.
inline constexpr std::size_t kMaxTextBytes = std::size_t{1} << 16;

enum class PointField : std::uint8_t { kDescription, kComment, kAddress, kLink, kPhone, kEmail };

inline constexpr std::size_t kPointFieldCount = 6;
inline constexpr std::array<PointField, kPointFieldCount> kPointFields = {
    PointField::kDescription, PointField::kComment, PointField::kAddress,
    PointField::kLink,        PointField::kPhone,   PointField::kEmail};

constexpr std::size_t IndexOf(PointField field) { return static_cast<std::size_t>(field); }

/// Fields, one bit each.
class PointFieldSet {
 public:
  constexpr PointFieldSet() = default;
  constexpr PointFieldSet(std::initializer_list<PointField> fields) {
    for (const PointField field : fields) Add(field);
  }
  static constexpr PointFieldSet All() {
    PointFieldSet all;
    all.bits_ = (1u << kPointFieldCount) - 1;
    return all;
  }
  constexpr bool Has(PointField field) const { return ((bits_ >> IndexOf(field)) & 1u) != 0; }
  constexpr void Add(PointField field) {
    bits_ = static_cast<std::uint8_t>(bits_ | (1u << IndexOf(field)));
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const PointFieldSet&) const = default;

 private:
  std::uint8_t bits_ = 0;
};

/// How reports and tables name a field.
struct FieldWords {
  std::string_view one;   ///< "address"
  std::string_view many;  ///< "addresses"
  /// The name a CSV column or a GeoJSON property of it is written under.
  std::string_view column;
};
const FieldWords& WordsOf(PointField field);

/// What a column, property or data item of a name holds: its field, and
/// whether it is a part of an address rather than a whole one.
struct FieldName {
  PointField field = PointField::kDescription;
  bool addressPart = false;
};

/// The field a column, property or data item of this name holds, in any
/// letter case: the written names and their common synonyms ("notes",
/// "comment", "link", "website", "tel" ...), and the address for each part
/// of one ("street", "city", "state", "postcode", "country" ...). Nothing
/// for any other name.
std::optional<FieldName> FieldOfName(std::string_view name);

namespace field_names {
/// For each length of a name, the first letters (a bit each, "a" to "z",
/// then one for any other byte) that some field's name of that length has.
extern const std::array<std::uint32_t, 16> kFirstLetters;
}  // namespace field_names

/// Whether FieldOfName could know `name`: a test of its length and first
/// byte, inline, so that the names of most properties (an elevation, a
/// time) cost a reader almost nothing.
inline bool MayNameField(std::string_view name) {
  if (name.empty() || name.size() >= field_names::kFirstLetters.size()) return false;
  const auto lower = static_cast<unsigned char>(name.front() | 0x20);
  const unsigned bit = lower >= 'a' && lower <= 'z' ? lower - 'a' : 26u;
  return ((field_names::kFirstLetters[name.size()] >> bit) & 1u) != 0;
}

/// The fields as an output holds them: views, empty where a point has none.
struct FieldTexts {
  std::array<std::string_view, kPointFieldCount> text{};
  std::string_view operator[](PointField field) const { return text[IndexOf(field)]; }
  std::string_view& operator[](PointField field) { return text[IndexOf(field)]; }
  bool Empty() const {
    for (const std::string_view value : text) {
      if (!value.empty()) return false;
    }
    return true;
  }
};

/// A point's fields as its input gave them, all in one encoding.
class PointFields {
 public:
  PointFields() = default;
  PointFields(const PointFields& other)
      : values_(other.values_ ? std::make_unique<Values>(*other.values_) : nullptr) {}
  PointFields& operator=(const PointFields& other) {
    if (this != &other) PointFields(other).swap(*this);
    return *this;
  }
  PointFields(PointFields&&) noexcept = default;
  PointFields& operator=(PointFields&&) noexcept = default;
  ~PointFields() = default;

  void swap(PointFields& other) noexcept { values_.swap(other.values_); }

  /// Whether any field holds text.
  bool Any() const { return values_ != nullptr && values_->filled; }
  std::string_view Get(PointField field) const {
    return values_ ? std::string_view(values_->text[IndexOf(field)]) : std::string_view();
  }
  TitleEncoding encoding() const { return values_ ? values_->encoding : TitleEncoding::kUtf8; }
  /// Sets a field's text (an empty text clears it); every field of a point
  /// is in `encoding`.
  void Set(PointField field, std::string_view text, TitleEncoding encoding = TitleEncoding::kUtf8);
  /// Sets a field to `text` by exchanging buffers: `text` gets the field's
  /// old one (empty after Clear()), so that a reader's buffer and the
  /// point's change hands rather than being copied.
  void Exchange(PointField field, std::string& text, TitleEncoding encoding = TitleEncoding::kUtf8);
  /// Empties every field, keeping the memory for the next point.
  void Clear() {
    if (values_ && values_->filled) ClearValues();
  }
  /// The reader cut the field's text at its bound (on a character's edge).
  void MarkCut(PointField field) {
    if (values_) values_->cut.Add(field);
  }
  bool WasCut(PointField field) const { return values_ && values_->cut.Has(field); }

 private:
  struct Values {
    TitleEncoding encoding = TitleEncoding::kUtf8;
    bool filled = false;
    PointFieldSet cut;
    std::array<std::string, kPointFieldCount> text;
  };
  void ClearValues();
  /// A field was set, emptied or not: whether any holds text.
  void NoteFilled(bool emptied);

  std::unique_ptr<Values> values_;
};

}  // namespace velorin
