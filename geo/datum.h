#pragma once
// The geodetic datums a position can be given in: WGS 84, which GPS, GPX,
// KML and GeoJSON use, and the Tokyo datum of older Japanese maps, units
// and point lists (some 400 m away from WGS 84 in Tokyo).
#include <optional>
#include <string_view>

namespace velorin {

enum class Datum { kWgs84, kTokyo };

/// The datum of an option's value: "wgs84" or "tokyo"; nothing otherwise.
std::optional<Datum> DatumNamed(std::string_view name);

/// The name an option takes: "wgs84", "tokyo".
std::string_view DatumName(Datum datum);

/// The datum in a sentence: "WGS 84", "the Tokyo datum".
std::string_view DatumWords(Datum datum);

/// The geographic system of the datum as PROJ names it: "EPSG:4326"
/// (WGS 84), "EPSG:4301" (Tokyo).
std::string_view DatumCrs(Datum datum);

}  // namespace velorin
