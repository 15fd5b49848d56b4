// The markup of GPX 1.1: each point a waypoint with its name, then its
// comment, description and link, and its address and telephone number in
// Garmin's waypoint extension (which route planners and Garmin's own
// programs read). GPX has no place for a waypoint's e-mail address.
#include "formats/markup_escape.h"
#include "formats/xml_point_writer.h"

namespace velorin {

namespace {

constexpr std::string_view kGarminExtensions = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";

/// The extension, its namespace declared where it is used: a file without
/// any keeps the document element it always had.
void AppendGarminExtension(BufferedWriter& out, const FieldTexts& fields) {
  const std::string_view address = fields[PointField::kAddress];
  const std::string_view phone = fields[PointField::kPhone];
  if (address.empty() && phone.empty()) return;
  out.Append("    <extensions><gpxx:WaypointExtension xmlns:gpxx=\"");
  out.Append(kGarminExtensions);
  out.Append("\">");
  if (!address.empty()) {
    out.Append("<gpxx:Address><gpxx:StreetAddress>");
    AppendXmlText(out, address);
    out.Append("</gpxx:StreetAddress></gpxx:Address>");
  }
  if (!phone.empty()) {
    out.Append("<gpxx:PhoneNumber>");
    AppendXmlText(out, phone);
    out.Append("</gpxx:PhoneNumber>");
  }
  out.Append("</gpxx:WaypointExtension></extensions>\n");
}

}  // namespace

const XmlLayout kGpxLayout = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Velorin\" "
    "xmlns=\"http://www.topografix.com/GPX/1/1\">\n",
    "</gpx>\n",
    [](BufferedWriter& out, const DecimalPosition& position) {
      out.Append("  <wpt lat=\"");
      out.Append(position.latitude.view());
      out.Append("\" lon=\"");
      out.Append(position.longitude.view());
      out.Append("\">\n    <name>");
    },
    [](BufferedWriter& out, const DecimalPosition&) { out.Append("</name>\n  </wpt>\n"); },
    [](BufferedWriter& out, const DecimalPosition&, const FieldTexts& fields) {
      // In the order GPX 1.1 gives a waypoint's elements.
      out.Append("</name>\n");
      AppendXmlElement(out, "    ", "cmt", fields[PointField::kComment]);
      AppendXmlElement(out, "    ", "desc", fields[PointField::kDescription]);
      if (const std::string_view link = fields[PointField::kLink]; !link.empty()) {
        out.Append("    <link href=\"");
        AppendXmlText(out, link);
        out.Append("\"/>\n");
      }
      AppendGarminExtension(out, fields);
      out.Append("  </wpt>\n");
    },
};

}  // namespace velorin
