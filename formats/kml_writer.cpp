// The markup of KML 2.2: each point a placemark with its name and its
// coordinates (longitude first).
#include "formats/xml_point_writer.h"

namespace velorin {

const XmlLayout kKmlLayout = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
    "<Document>\n",
    "</Document>\n</kml>\n",
    [](BufferedWriter& out, const DecimalPosition&) { out.Append("  <Placemark>\n    <name>"); },
    [](BufferedWriter& out, const DecimalPosition& position) {
      out.Append("</name>\n    <Point><coordinates>");
      out.Append(position.longitude.view());
      out.Append(',');
      out.Append(position.latitude.view());
      out.Append("</coordinates></Point>\n  </Placemark>\n");
    },
};

}  // namespace velorin
