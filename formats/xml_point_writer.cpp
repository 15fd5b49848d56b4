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

void XmlPointWriter::WriteWithFields(const Point& point, std::string_view title,
                                     const FieldTexts& fields) {
  const DecimalPosition decimal = FormatPosition(point.position);
  layout_.beforeTitle(out_, decimal);
  AppendXmlText(out_, title);
  layout_.afterTitleWithFields(out_, decimal, fields);
}

void AppendXmlElement(BufferedWriter& out, std::string_view indent, std::string_view name,
                      std::string_view text) {
  if (text.empty()) return;
  out.Append(indent);
  out.Append('<');
  out.Append(name);
  out.Append('>');
  AppendXmlText(out, text);
  out.Append("</");
  out.Append(name);
  out.Append(">\n");
}

void XmlPointWriter::End() { out_.Append(layout_.tail); }

}  // namespace velorin
