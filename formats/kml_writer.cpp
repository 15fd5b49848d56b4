// The markup of KML 2.2: each point a placemark with its name, its link,
// address, telephone number and description, its comment and e-mail
// address as data items, and its coordinates (longitude first).
#include "formats/markup_escape.h"
#include "formats/xml_point_writer.h"

namespace velorin {

namespace {

void AppendData(BufferedWriter& out, PointField field, std::string_view text) {
  out.Append("      <Data name=\"");
  out.Append(WordsOf(field).column);
  out.Append("\"><value>");
  AppendXmlText(out, text);
  out.Append("</value></Data>\n");
}

void AppendPoint(BufferedWriter& out, const DecimalPosition& position) {
  out.Append("    <Point><coordinates>");
  out.Append(position.longitude.view());
  out.Append(',');
  out.Append(position.latitude.view());
  out.Append("</coordinates></Point>\n  </Placemark>\n");
}

/// In the order KML 2.2 gives a placemark's elements; the Atom namespace
/// declared where it is used.
void AppendFields(BufferedWriter& out, const FieldTexts& fields) {
  if (const std::string_view link = fields[PointField::kLink]; !link.empty()) {
    out.Append("    <atom:link xmlns:atom=\"http://www.w3.org/2005/Atom\" href=\"");
    AppendXmlText(out, link);
    out.Append("\"/>\n");
  }
  AppendXmlElement(out, "    ", "address", fields[PointField::kAddress]);
  AppendXmlElement(out, "    ", "phoneNumber", fields[PointField::kPhone]);
  AppendXmlElement(out, "    ", "description", fields[PointField::kDescription]);
  const std::string_view comment = fields[PointField::kComment];
  const std::string_view email = fields[PointField::kEmail];
  if (comment.empty() && email.empty()) return;
  out.Append("    <ExtendedData>\n");
  if (!comment.empty()) AppendData(out, PointField::kComment, comment);
  if (!email.empty()) AppendData(out, PointField::kEmail, email);
  out.Append("    </ExtendedData>\n");
}

}  // namespace

const XmlLayout kKmlLayout = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
    "<Document>\n",
    "</Document>\n</kml>\n",
    [](BufferedWriter& out, const DecimalPosition&) { out.Append("  <Placemark>\n    <name>"); },
    [](BufferedWriter& out, const DecimalPosition& position) {
      out.Append("</name>\n");
      AppendPoint(out, position);
    },
    [](BufferedWriter& out, const DecimalPosition& position, const FieldTexts& fields) {
      out.Append("</name>\n");
      AppendFields(out, fields);
      AppendPoint(out, position);
    },
};

}  // namespace velorin
