#include "formats/csv_record.h"

namespace velorin {

void CsvRecord::Clear() {
  count_ = 0;
  bytes_ = 0;
  inQuotes_ = false;
}

std::string& CsvRecord::NewField() {
  if (count_ == fields_.size()) fields_.emplace_back();
  std::string& field = fields_[count_++];
  field.clear();
  return field;
}

bool CsvRecord::Feed(std::string_view line) {
  std::size_t at = 0;
  std::string* field = nullptr;
  if (inQuotes_) {
    field = &fields_[count_ - 1];
    *field += '\n';
  } else {
    field = &NewField();
  }
  bytes_ += line.size() + 1;
  // At the start of a field: a quote opens a quoted field.
  bool fieldStart = !inQuotes_;
  while (at < line.size()) {
    const char c = line[at];
    if (inQuotes_) {
      if (c == '"') {
        if (at + 1 < line.size() && line[at + 1] == '"') {
          *field += '"';
          at += 2;
          continue;
        }
        inQuotes_ = false;  // what follows up to the delimiter is kept as it is
      } else {
        *field += c;
      }
      ++at;
      continue;
    }
    if (c == delimiter_) {
      field = &NewField();
      fieldStart = true;
      ++at;
      continue;
    }
    if (c == '"' && fieldStart) {
      inQuotes_ = true;
    } else {
      *field += c;  // a quote inside an unquoted field is kept
    }
    fieldStart = false;
    ++at;
  }
  return !inQuotes_;
}

}  // namespace velorin
