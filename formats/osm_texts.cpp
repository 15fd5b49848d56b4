#include "formats/osm_texts.h"

#include <initializer_list>

#include "text/ascii.h"

namespace velorin {

namespace {

std::string_view ValueOf(std::span<const OsmTag> tags, std::string_view key) {
  for (const auto& [k, v] : tags) {
    if (k == key) return v;
  }
  return {};
}

/// The first of the keys that the object has.
std::string_view FirstOf(std::span<const OsmTag> tags,
                         std::initializer_list<std::string_view> keys) {
  for (const std::string_view key : keys) {
    if (const std::string_view value = ValueOf(tags, key); !value.empty()) return value;
  }
  return {};
}

/// `parts` joined by `separator`, the empty ones left out.
std::string Joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
  std::string text;
  for (const std::string_view part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

std::string JapaneseAddress(std::span<const OsmTag> tags) {
  const std::string_view block = ValueOf(tags, "addr:block_number");
  const std::string_view house = ValueOf(tags, "addr:housenumber");
  const std::string number = Joined({block, house}, "-");
  const std::string places =
      Joined({FirstOf(tags, {"addr:province", "addr:state"}), ValueOf(tags, "addr:county"),
              ValueOf(tags, "addr:city"), ValueOf(tags, "addr:suburb"),
              ValueOf(tags, "addr:quarter"), ValueOf(tags, "addr:neighbourhood"),
              ValueOf(tags, "addr:street"), ValueOf(tags, "addr:place"), number},
             "");
  const std::string_view postcode = ValueOf(tags, "addr:postcode");
  if (postcode.empty()) return places;
  return Joined({"\xE3\x80\x92" + std::string(postcode), places}, " ");
}

std::string WesternAddress(std::span<const OsmTag> tags) {
  const std::string_view street = FirstOf(tags, {"addr:street", "addr:place"});
  const std::string line = Joined({ValueOf(tags, "addr:housenumber"), street}, " ");
  const std::string town =
      Joined({ValueOf(tags, "addr:postcode"), FirstOf(tags, {"addr:city", "addr:suburb"})}, " ");
  return Joined({line, ValueOf(tags, "addr:unit"), town,
                 FirstOf(tags, {"addr:state", "addr:province"}), ValueOf(tags, "addr:country")},
                ", ");
}

}  // namespace

std::string OsmTitle(std::span<const OsmTag> tags, std::string_view language) {
  if (!language.empty()) {
    const std::string key = "name:" + std::string(language);
    if (const std::string_view name = ValueOf(tags, key); !name.empty()) return std::string(name);
  }
  return std::string(ValueOf(tags, "name"));
}

bool InJapan(double longitude, double latitude) {
  return longitude >= 122.0 && longitude <= 154.0 && latitude >= 20.0 && latitude <= 46.0;
}

std::string OsmAddress(std::span<const OsmTag> tags, bool japanese) {
  if (const std::string_view full = ValueOf(tags, "addr:full"); !full.empty()) {
    return std::string(full);
  }
  const std::string_view country = ValueOf(tags, "addr:country");
  if (!country.empty()) japanese = EqualsIgnoringAsciiCase(country, "JP");
  return japanese ? JapaneseAddress(tags) : WesternAddress(tags);
}

void SetOsmFields(std::span<const OsmTag> tags, double longitude, double latitude,
                  PointFields& fields) {
  fields.Clear();
  const auto set = [&fields](PointField field, std::string_view text) {
    if (!text.empty()) fields.Set(field, text);
  };
  set(PointField::kAddress, OsmAddress(tags, InJapan(longitude, latitude)));
  set(PointField::kPhone, FirstOf(tags, {"phone", "contact:phone"}));
  set(PointField::kLink, FirstOf(tags, {"website", "contact:website"}));
  set(PointField::kEmail, FirstOf(tags, {"email", "contact:email"}));
  set(PointField::kDescription, ValueOf(tags, "description"));
  set(PointField::kComment, ValueOf(tags, "opening_hours"));
}

}  // namespace velorin
