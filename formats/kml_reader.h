#pragma once
// Points read from the placemarks of a KML 2.2 document (Document and Folder
// nesting as deep as it goes): each Placemark with a Point, its name the
// title, its coordinates longitude,latitude[,altitude]. Placemarks of other
// shapes (lines, polygons) are counted, not read.
#include "formats/xml_point_reader.h"

namespace velorin {

class KmlReader : public XmlPointReader {
 public:
  explicit KmlReader(ByteSource& source) : XmlPointReader(source, "kml", "KML") {}
  IgnoredItems ignored() const override { return ignored_; }

 private:
  void OnStart(std::string_view name, int depth, const char** attributes) override;
  void OnEnd(std::string_view name, int depth) override;

  int placemarkDepth_ = 0;  ///< 0 outside a placemark
  std::int64_t placemarkLine_ = 0;
  bool inPoint_ = false;
  bool hasPoint_ = false;
  bool hasCoordinates_ = false;
  bool hasName_ = false;
  bool nameTooLong_ = false;
  bool coordinatesTooLong_ = false;
  std::string name_;
  std::string coordinates_;
  IgnoredItems ignored_;
};

/// Reads "longitude,latitude[,altitude]" (blanks around it and around each
/// number allowed); nothing for anything else, several tuples included.
std::optional<Degrees> ParseKmlCoordinates(std::string_view text);

}  // namespace velorin
