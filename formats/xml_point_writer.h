#pragma once
// Points written as the elements of an XML document in UTF-8 (GPX, KML): the
// document's head, one element a point around its escaped title, the tail.
// Only the markup differs from format to format: each gives its XmlLayout.
#include <string_view>

#include "formats/decimal_text.h"
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

struct XmlLayout {
  std::string_view head;
  std::string_view tail;
  /// The markup of one point before its title and after it.
  void (*beforeTitle)(BufferedWriter& out, const DecimalPosition& position);
  void (*afterTitle)(BufferedWriter& out, const DecimalPosition& position);
  /// The same for a point with fields: its further elements, then the rest.
  void (*afterTitleWithFields)(BufferedWriter& out, const DecimalPosition& position,
                               const FieldTexts& fields);
};

/// Appends "<NAME>text</NAME>" on a line of its own at `indent`, nothing
/// for an empty text.
void AppendXmlElement(BufferedWriter& out, std::string_view indent, std::string_view name,
                      std::string_view text);

/// GPX 1.1: a waypoint a point (gpx_writer.cpp).
extern const XmlLayout kGpxLayout;
/// KML 2.2: a placemark a point (kml_writer.cpp).
extern const XmlLayout kKmlLayout;

class XmlPointWriter : public PointWriter {
 public:
  /// `layout` must outlive the writer.
  XmlPointWriter(BufferedWriter& out, const XmlLayout& layout) : out_(out), layout_(layout) {}
  void Begin() override;
  void Write(const Point& point, std::string_view title) override;
  void WriteWithFields(const Point& point, std::string_view title,
                       const FieldTexts& fields) override;
  void End() override;

 private:
  BufferedWriter& out_;
  const XmlLayout& layout_;
};

}  // namespace velorin
