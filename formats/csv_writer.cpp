#include "formats/csv_writer.h"

#include "formats/decimal_text.h"
#include "formats/markup_escape.h"

namespace velorin {

namespace {
constexpr std::string_view kRecordEnd = "\r\n";
}  // namespace

void CsvWriter::Begin() {
  if (encoding_ == CsvEncoding::kUtf8Bom) out_.Append("\xEF\xBB\xBF");
  out_.Append("name,latitude,longitude");
  out_.Append(kRecordEnd);
}

void CsvWriter::Write(const Point& point, std::string_view title) {
  const DecimalPosition decimal = FormatPosition(point.position);
  // The field rules hold for CP932 as for UTF-8: no trail byte is a comma,
  // a quote or a line break.
  AppendCsvField(out_, title);
  out_.Append(',');
  out_.Append(decimal.latitude.view());
  out_.Append(',');
  out_.Append(decimal.longitude.view());
  out_.Append(kRecordEnd);
}

}  // namespace velorin
