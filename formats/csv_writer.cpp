#include "formats/csv_writer.h"

#include "formats/decimal_text.h"
#include "formats/markup_escape.h"

namespace velorin {

namespace {
constexpr std::string_view kRecordEnd = "\r\n";
}  // namespace

void CsvWriter::Begin() {
  out_.Append("name,latitude,longitude");
  out_.Append(kRecordEnd);
}

TitleChange CsvWriter::Write(TitleView title, const PointPosition& position) {
  const DecimalPosition decimal = FormatPosition(position);
  AppendCsvField(out_, titles_.Utf8(title));
  out_.Append(',');
  out_.Append(decimal.latitude.view());
  out_.Append(',');
  out_.Append(decimal.longitude.view());
  out_.Append(kRecordEnd);
  return titles_.lastUtf8Change();
}

}  // namespace velorin
