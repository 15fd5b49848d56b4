#include "formats/gpx_writer.h"

#include "formats/decimal_text.h"
#include "formats/markup_escape.h"

namespace velorin {

void GpxWriter::Begin() {
  out_.Append(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"Velorin\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n");
}

TitleChange GpxWriter::Write(TitleView title, const PointPosition& position) {
  const DecimalPosition decimal = FormatPosition(position);
  out_.Append("  <wpt lat=\"");
  out_.Append(decimal.latitude.view());
  out_.Append("\" lon=\"");
  out_.Append(decimal.longitude.view());
  out_.Append("\">\n    <name>");
  if (AppendXmlText(out_, titles_.Utf8(title))) ++titlesAdjusted_;
  out_.Append("</name>\n  </wpt>\n");
  return titles_.lastUtf8Change();
}

void GpxWriter::End() { out_.Append("</gpx>\n"); }

}  // namespace velorin
