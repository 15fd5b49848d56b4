#include "geo/datum.h"

namespace velorin {

namespace {

struct DatumRow {
  Datum datum;
  std::string_view name;
  std::string_view words;
  std::string_view crs;
};

constexpr DatumRow kDatums[] = {
    {Datum::kWgs84, "wgs84", "WGS 84", "EPSG:4326"},
    {Datum::kTokyo, "tokyo", "the Tokyo datum", "EPSG:4301"},
};

const DatumRow& RowOf(Datum datum) {
  for (const DatumRow& row : kDatums) {
    if (row.datum == datum) return row;
  }
  return kDatums[0];
}

}  // namespace

std::optional<Datum> DatumNamed(std::string_view name) {
  for (const DatumRow& row : kDatums) {
    if (row.name == name) return row.datum;
  }
  return std::nullopt;
}

std::string_view DatumName(Datum datum) { return RowOf(datum).name; }

std::string_view DatumWords(Datum datum) { return RowOf(datum).words; }

std::string_view DatumCrs(Datum datum) { return RowOf(datum).crs; }

}  // namespace velorin
