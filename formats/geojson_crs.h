#pragma once
// The "crs" member of a GeoJSON file, which RFC 7946 no longer has: read
// only to be sure that it names WGS 84 longitude/latitude, since no
// coordinate system is converted. Named (OGC's CRS84, or EPSG:4326 as GDAL
// writes it), or in the older form by its EPSG code.
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

class GeoJsonCrs {
 public:
  /// Its "type": "name", or "EPSG" in the older form.
  void SetType(std::string_view type) { type_ = type.substr(0, kKept); }
  /// Its properties' "name".
  void SetName(std::string_view name) { name_ = name.substr(0, kKept); }
  /// Its properties' "code" in the older form, as a text or a number.
  void SetCode(std::string_view code) { code_ = code.substr(0, kKept); }
  /// Why the file is refused; nothing when it names WGS 84.
  std::optional<std::string> Refusal() const;

 private:
  static constexpr std::size_t kKept = 100;
  std::string type_;
  std::string name_;
  std::string code_;
};

}  // namespace velorin
