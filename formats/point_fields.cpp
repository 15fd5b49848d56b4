#include "formats/point_fields.h"

#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::array<FieldWords, kPointFieldCount> kWords = {{
    {"description", "descriptions", "description"},
    {"comment", "comments", "comment"},
    {"address", "addresses", "address"},
    {"link", "links", "url"},
    {"telephone number", "telephone numbers", "phone"},
    {"e-mail address", "e-mail addresses", "email"},
}};

struct Synonym {
  std::string_view name;
  PointField field;
  bool addressPart = false;
};

// Lower case; Japanese names as spreadsheets made in Japan head them; the
// parts of an address as GPSBabel's CSV, OpenStreetMap's tags and address
// books name them (not "town": "time", in nearly every feature of a GPX
// file made GeoJSON, would cost a look-up each).
constexpr std::array<Synonym, 55> kSynonyms = {{
    {"description", PointField::kDescription},
    {"desc", PointField::kDescription},
    {"notes", PointField::kDescription},
    {"note", PointField::kDescription},
    {"stop_desc", PointField::kDescription},
    {"説明", PointField::kDescription},
    {"comment", PointField::kComment},
    {"comments", PointField::kComment},
    {"cmt", PointField::kComment},
    {"備考", PointField::kComment},
    {"address", PointField::kAddress},
    {"addr", PointField::kAddress},
    {"住所", PointField::kAddress},
    {"street", PointField::kAddress, true},
    {"streetaddress", PointField::kAddress, true},
    {"street_address", PointField::kAddress, true},
    {"street address", PointField::kAddress, true},
    {"addr:street", PointField::kAddress, true},
    {"city", PointField::kAddress, true},
    {"addr:city", PointField::kAddress, true},
    {"市区町村", PointField::kAddress, true},
    {"state", PointField::kAddress, true},
    {"province", PointField::kAddress, true},
    {"prefecture", PointField::kAddress, true},
    {"addr:state", PointField::kAddress, true},
    {"都道府県", PointField::kAddress, true},
    {"postalcode", PointField::kAddress, true},
    {"postal_code", PointField::kAddress, true},
    {"postal code", PointField::kAddress, true},
    {"postcode", PointField::kAddress, true},
    {"zip", PointField::kAddress, true},
    {"zipcode", PointField::kAddress, true},
    {"zip code", PointField::kAddress, true},
    {"addr:postcode", PointField::kAddress, true},
    {"郵便番号", PointField::kAddress, true},
    {"country", PointField::kAddress, true},
    {"addr:country", PointField::kAddress, true},
    {"url", PointField::kLink},
    {"link", PointField::kLink},
    {"website", PointField::kLink},
    {"href", PointField::kLink},
    {"hpgl", PointField::kLink},
    {"stop_url", PointField::kLink},
    {"google_maps_url", PointField::kLink},
    {"phone", PointField::kPhone},
    {"tel", PointField::kPhone},
    {"telephone", PointField::kPhone},
    {"phonenumber", PointField::kPhone},
    {"phone_number", PointField::kPhone},
    {"電話番号", PointField::kPhone},
    {"email", PointField::kEmail},
    {"e-mail", PointField::kEmail},
    {"mail", PointField::kEmail},
    {"メール", PointField::kEmail},
    {"mailto", PointField::kEmail},
}};

}  // namespace

const FieldWords& WordsOf(PointField field) { return kWords[IndexOf(field)]; }

namespace {

constexpr std::size_t kLongestSynonym = 15;

/// The synonyms by their length: a reader asks for every name of every
/// point's properties, most of them no text's (an elevation, a time), which
/// its length and first letter mostly settle.
struct SynonymsByLength {
  std::array<std::array<const Synonym*, 12>, kLongestSynonym + 1> synonyms{};
  std::array<std::size_t, kLongestSynonym + 1> counts{};
  constexpr SynonymsByLength() {
    for (const Synonym& synonym : kSynonyms) {
      const std::size_t length = synonym.name.size();
      synonyms[length][counts[length]++] = &synonym;
    }
  }
};
constexpr SynonymsByLength kByLength;

constexpr std::array<std::uint32_t, 16> FirstLettersOfSynonyms() {
  std::array<std::uint32_t, 16> letters{};
  for (const Synonym& synonym : kSynonyms) {
    const auto first = static_cast<unsigned char>(synonym.name.front());
    const unsigned bit = first >= 'a' && first <= 'z' ? first - 'a' : 26u;
    letters[synonym.name.size()] |= 1u << bit;
  }
  return letters;
}

}  // namespace

const std::array<std::uint32_t, 16> field_names::kFirstLetters = FirstLettersOfSynonyms();

std::optional<FieldName> FieldOfName(std::string_view name) {
  if (!MayNameField(name)) return std::nullopt;
  const std::size_t length = name.size();
  const char first = AsciiLower(name.front());
  for (std::size_t i = 0; i < kByLength.counts[length]; ++i) {
    const Synonym& synonym = *kByLength.synonyms[length][i];
    if (synonym.name.front() == first && EqualsIgnoringAsciiCase(name, synonym.name)) {
      return FieldName{synonym.field, synonym.addressPart};
    }
  }
  return std::nullopt;
}

void PointFields::Set(PointField field, std::string_view text, TitleEncoding encoding) {
  if (text.empty() && !Any()) return;
  if (!values_) values_ = std::make_unique<Values>();
  if (!values_->filled) values_->encoding = encoding;
  values_->text[IndexOf(field)].assign(text);
  NoteFilled(text.empty());
}

void PointFields::Exchange(PointField field, std::string& text, TitleEncoding encoding) {
  if (text.empty() && !Any()) return;
  if (!values_) values_ = std::make_unique<Values>();
  if (!values_->filled) values_->encoding = encoding;
  values_->text[IndexOf(field)].swap(text);
  NoteFilled(values_->text[IndexOf(field)].empty());
}

void PointFields::NoteFilled(bool emptied) {
  if (!emptied) {
    values_->filled = true;
    return;
  }
  values_->filled = false;
  for (const std::string& value : values_->text) {
    values_->filled = values_->filled || !value.empty();
  }
}

void PointFields::ClearValues() {
  for (std::string& value : values_->text) value.clear();
  values_->filled = false;
  values_->cut = {};
}

}  // namespace velorin
