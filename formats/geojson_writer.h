#pragma once
// Points written as a GeoJSON FeatureCollection (RFC 7946, UTF-8), one
// Point feature a line, the title its properties.name, its further texts
// properties.description, comment, address, url, phone and email. Positions have nine
// decimals, not the six RFC 7946 suggests: an NVI position is a multiple of
// 1/11930464 degree, and only nine decimals read back to the same one.
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

class GeoJsonWriter : public PointWriter {
 public:
  explicit GeoJsonWriter(BufferedWriter& out) : out_(out) {}
  void Begin() override;
  void Write(const Point& point, std::string_view title) override;
  void WriteWithFields(const Point& point, std::string_view title,
                       const FieldTexts& fields) override;
  void End() override;

 private:
  void WriteFeature(const Point& point, std::string_view title, const FieldTexts* fields);

  BufferedWriter& out_;
  bool first_ = true;
};

}  // namespace velorin
