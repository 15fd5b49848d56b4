#include "formats/geojson_crs.h"

#include <array>

#include "formats/geojson_quoted.h"

namespace velorin {

namespace {

/// The names of WGS 84 longitude/latitude that a crs member may give: OGC's
/// CRS84 and, as GDAL writes it for such data, EPSG:4326.
constexpr std::array<std::string_view, 7> kWgs84Names = {
    "urn:ogc:def:crs:OGC:1.3:CRS84",
    "urn:ogc:def:crs:OGC::CRS84",
    "http://www.opengis.net/def/crs/OGC/1.3/CRS84",
    "OGC:CRS84",
    "EPSG:4326",
    "urn:ogc:def:crs:EPSG::4326",
    "http://www.opengis.net/def/crs/EPSG/0/4326"};

}  // namespace

std::optional<std::string> GeoJsonCrs::Refusal() const {
  if (type_ == "name") {
    for (const std::string_view name : kWgs84Names) {
      if (name_ == name) return std::nullopt;
    }
  }
  // The form GeoJSON had before RFC 7946 named WGS 84 by its EPSG code.
  if (type_ == "EPSG" && code_ == "4326") return std::nullopt;
  const std::string named = type_ == "name"   ? QuotedJsonText(name_)
                            : type_ == "EPSG" ? "EPSG code " + QuotedJsonText(code_)
                                              : "no name (type " + QuotedJsonText(type_) + ")";
  return "the \"crs\" member gives " + named +
         ", not WGS 84 longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate system "
         "is converted";
}

}  // namespace velorin
