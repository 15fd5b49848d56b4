#include "formats/csv_writer.h"

#include "formats/markup_escape.h"

namespace velorin {

namespace {
constexpr std::string_view kRecordEnd = "\r\n";
}  // namespace

void CsvWriter::Begin() {
  if (encoding_ == CsvEncoding::kUtf8Bom) out_.Append("\xEF\xBB\xBF");
}

void CsvWriter::FieldsToCome(PointFieldSet fields) {
  if (!choosing_) return;
  for (const PointField field : kPointFields) {
    if (fields.Has(field)) columns_.Add(field);
  }
  ChooseColumns();
}

void CsvWriter::Write(const Point& point, std::string_view title) {
  if (choosing_) {
    Hold(point, title, nullptr);
    return;
  }
  AppendRow(title, FormatPosition(point.position), nullptr);
}

void CsvWriter::WriteWithFields(const Point& point, std::string_view title,
                                const FieldTexts& fields) {
  if (choosing_) {
    Hold(point, title, &fields);
    return;
  }
  AppendRow(title, FormatPosition(point.position), &fields);
}

void CsvWriter::End() {
  if (choosing_) ChooseColumns();
}

void CsvWriter::InputWaits() {
  if (choosing_) ChooseColumns();
}

void CsvWriter::Hold(const Point& point, std::string_view title, const FieldTexts* fields) {
  if (heldCount_ == held_.size()) held_.emplace_back();
  HeldRow& row = held_[heldCount_++];
  row.title.assign(title);
  row.position = FormatPosition(point.position);
  for (const PointField field : kPointFields) {
    const std::string_view text = fields != nullptr ? (*fields)[field] : std::string_view();
    row.fields[IndexOf(field)].assign(text);
    if (!text.empty()) columns_.Add(field);
  }
  if (heldCount_ == kCsvColumnLookahead) ChooseColumns();
}

void CsvWriter::ChooseColumns() {
  choosing_ = false;
  out_.Append("name,latitude,longitude");
  for (const PointField field : kPointFields) {
    if (!columns_.Has(field)) continue;
    out_.Append(',');
    out_.Append(WordsOf(field).column);
  }
  out_.Append(kRecordEnd);
  for (std::size_t i = 0; i < heldCount_; ++i) {
    const HeldRow& row = held_[i];
    FieldTexts texts;
    for (const PointField field : kPointFields) texts[field] = row.fields[IndexOf(field)];
    AppendRow(row.title, row.position, &texts);
  }
  held_.clear();
  held_.shrink_to_fit();
  heldCount_ = 0;
}

void CsvWriter::AppendRow(std::string_view title, const DecimalPosition& position,
                          const FieldTexts* fields) {
  // The field rules hold for CP932 as for UTF-8: no trail byte is a comma,
  // a quote or a line break.
  AppendCsvField(out_, title);
  out_.Append(',');
  out_.Append(position.latitude.view());
  out_.Append(',');
  out_.Append(position.longitude.view());
  if (fields != nullptr || !columns_.Empty()) AppendFields(fields);
  out_.Append(kRecordEnd);
}

void CsvWriter::AppendFields(const FieldTexts* fields) {
  for (const PointField field : kPointFields) {
    const std::string_view text = fields != nullptr ? (*fields)[field] : std::string_view();
    if (columns_.Has(field)) {
      out_.Append(',');
      AppendCsvField(out_, text);
    } else if (!text.empty()) {
      ++fieldsLeftOut_[IndexOf(field)];
    }
  }
}

}  // namespace velorin
