// The markup of GPX 1.1: each point a waypoint with its name.
#include "formats/xml_point_writer.h"

namespace velorin {

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
};

}  // namespace velorin
