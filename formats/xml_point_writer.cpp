#include "formats/xml_point_writer.h"

#include "formats/markup_escape.h"

namespace velorin {

void XmlPointWriter::Begin() { out_.Append(layout_.head); }

TitleChange XmlPointWriter::Write(TitleView title, const PointPosition& position) {
  const DecimalPosition decimal = FormatPosition(position);
  layout_.beforeTitle(out_, decimal);
  if (AppendXmlText(out_, titles_.Utf8(title))) ++titlesAdjusted_;
  layout_.afterTitle(out_, decimal);
  return titles_.lastUtf8Change();
}

void XmlPointWriter::End() { out_.Append(layout_.tail); }

}  // namespace velorin
