#include "formats/xml_point_writer.h"

#include "formats/markup_escape.h"

namespace velorin {

void XmlPointWriter::Begin() { out_.Append(layout_.head); }

void XmlPointWriter::Write(const Point& point, std::string_view title) {
  const DecimalPosition decimal = FormatPosition(point.position);
  layout_.beforeTitle(out_, decimal);
  AppendXmlText(out_, title);
  layout_.afterTitle(out_, decimal);
}

void XmlPointWriter::End() { out_.Append(layout_.tail); }

}  // namespace velorin
