#include "formats/kml_writer.h"

#include "formats/decimal_text.h"
#include "formats/markup_escape.h"

namespace velorin {

void KmlWriter::Begin() {
  out_.Append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
      "<Document>\n");
}

TitleChange KmlWriter::Write(TitleView title, const PointPosition& position) {
  const DecimalPosition decimal = FormatPosition(position);
  out_.Append("  <Placemark>\n    <name>");
  if (AppendXmlText(out_, titles_.Utf8(title))) ++titlesAdjusted_;
  out_.Append("</name>\n    <Point><coordinates>");
  out_.Append(decimal.longitude.view());
  out_.Append(',');
  out_.Append(decimal.latitude.view());
  out_.Append("</coordinates></Point>\n  </Placemark>\n");
  return titles_.lastUtf8Change();
}

void KmlWriter::End() { out_.Append("</Document>\n</kml>\n"); }

}  // namespace velorin
