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

TitleChange CsvWriter::Write(TitleView title, const PointPosition& position) {
  const DecimalPosition decimal = FormatPosition(position);
  // The field rules hold for CP932 as for UTF-8: no trail byte is a comma,
  // a quote or a line break.
  bool approximated = false;
  const bool cp932 = encoding_ == CsvEncoding::kCp932;
  const std::string_view text = cp932 ? titles_.Cp932(title, approximated) : titles_.Utf8(title);
  AppendCsvField(out_, text);
  out_.Append(',');
  out_.Append(decimal.latitude.view());
  out_.Append(',');
  out_.Append(decimal.longitude.view());
  out_.Append(kRecordEnd);
  return cp932 ? ChangeOfTitle(text, approximated) : titles_.lastUtf8Change();
}

}  // namespace velorin
