#include "formats/csv_reader.h"

#include "formats/decimal_text.h"
#include "text/ascii.h"

namespace velorin {

namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

CsvReader::CsvReader(ByteSource& source, const ReaderOptions& options)
    : encoding_(options.textEncoding), lines_(source, options.bufferSize, kMaxRecordSize) {}

bool CsvReader::ReadLine(std::string_view& line) {
  if (!encoding_.started()) encoding_.Start(lines_.reader());
  if (lines_.Read(line)) {
    encoding_.See(line, lines_.reader());
    return true;
  }
  FailWith(lines_.failure());
  return false;
}

bool CsvReader::ReadRecord(std::int64_t& firstLine) {
  std::string_view line;
  for (;;) {
    if (!ReadLine(line)) return false;
    if (!headerRead_ && IsBlank(line)) continue;
    if (!headerRead_) {
      separator_ = ChooseCsvSeparator(
          line, [this, line](char separator) { return NamesColumns(line, separator); });
      record_ = CsvRecord(separator_);
      decimalMark_ = CsvDecimalMark(separator_);
    }
    firstLine = lines_.number();
    record_.Clear();
    bool complete = record_.Feed(line);
    while (!complete) {
      if (record_.bytes() > kMaxRecordSize) {
        // Only an open quote makes a record span lines.
        Fail(firstLine, "a quote opened in the record of this line does not close within " +
                            std::to_string(kMaxRecordSize) + " bytes");
        return false;
      }
      if (!ReadLine(line)) {
        if (!failure()) Fail(firstLine, "a quoted field is never closed");
        return false;
      }
      complete = record_.Feed(line);
    }
    bool blank = true;
    for (std::size_t i = 0; i < record_.size() && blank; ++i) blank = IsBlank(record_.field(i));
    if (!blank) return true;
  }
}

bool CsvReader::NamesColumns(std::string_view headerLine, char separator) {
  CsvRecord header(separator);
  if (!header.Feed(headerLine)) return false;
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < header.size(); ++i) cells.push_back(HeaderCell(header.field(i)));
  const CsvColumns columns = FindCsvColumns(cells);
  return columns.latitude && columns.longitude;
}

std::string CsvReader::HeaderCell(std::string_view cell) {
  std::string text;
  if (Cp932()) {
    decoder_.Decode(cell, text);
  } else {
    text.assign(cell);
  }
  CollapseWhiteSpace(text);
  return text;
}

namespace {

/// Why a header row may name no column: the file is not what it is read as.
std::string HeaderHint(const CsvRecord& header) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (header.field(i).find('\0') != std::string_view::npos) {
      return "; the file looks like UTF-16, which is not read (save it as UTF-8)";
    }
  }
  return {};
}

}  // namespace

bool CsvReader::ReadHeader() {
  std::int64_t line = 0;
  if (!ReadRecord(line)) {
    // A table needs its header row: a file of blank lines or none is no table.
    Fail(1, "the file holds no header row (it is empty)");
    return false;
  }
  headerRead_ = true;
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < record_.size(); ++i) cells.push_back(HeaderCell(record_.field(i)));
  columns_ = FindCsvColumns(cells);
  headNote_ = CsvHeaderNote(columns_, cells);
  if (!columns_.latitude || !columns_.longitude) {
    Fail(line, std::string("the header row names no ") +
                   (!columns_.latitude ? "latitude column (lat, latitude or 緯度)"
                                       : "longitude column (lon, lng, long, longitude or 経度)") +
                   HeaderHint(record_));
    return false;
  }
  return true;
}

std::string CsvReader::UnreadableReason(bool latitude, std::string_view text) const {
  std::string reason = latitude ? "latitude" : "longitude";
  if (text.empty()) return reason + " missing";
  reason += " '" + (Cp932() ? Cp932ToUtf8(text) : std::string(text)) + "' is not a number";
  if (decimalMark_.ReadsWithTheOtherMark(text)) {
    reason += *decimalMark_.mark() == ',' ? " (the file's numbers have decimal commas)"
                                          : " (the file's numbers have decimal points)";
  }
  return reason;
}

std::optional<PointFieldSet> CsvReader::fieldsGiven() const {
  if (!headerRead_) return std::nullopt;
  return columns_.given;
}

std::string CsvReader::layoutNote() const {
  if (!headerRead_) return {};
  return CsvLayoutNote(separator_, decimalMark_.mark());
}

bool CsvReader::Next(ReadEntry& entry) {
  if (!headerRead_ && !ReadHeader()) return false;
  std::int64_t line = 0;
  if (!ReadRecord(line)) return false;

  entry.point.line = line;
  entry.isPoint = false;
  entry.skip = SkipKind::kMalformed;
  const std::string_view latitudeText = record_.field(*columns_.latitude);
  const std::string_view longitudeText = record_.field(*columns_.longitude);
  decimalMark_.Look(latitudeText);
  decimalMark_.Look(longitudeText);
  double latitude = 0.0;
  double longitude = 0.0;
  const bool latitudeRead = decimalMark_.Read(latitudeText, number_, latitude);
  const bool longitudeRead = decimalMark_.Read(longitudeText, number_, longitude);
  if (!latitudeRead || !longitudeRead) {
    entry.reason = !latitudeRead ? UnreadableReason(true, latitudeText)
                                 : UnreadableReason(false, longitudeText);
    return true;
  }

  // The title's bytes as they are, in the file's encoding: those that are
  // no character of it are the run's title rule's to replace, as in the
  // row's other texts.
  entry.point.title.assign(columns_.name ? record_.field(*columns_.name) : std::string_view());
  entry.point.titleApproximated = false;
  entry.point.titleEncoding = Cp932() ? TitleEncoding::kCp932 : TitleEncoding::kUtf8;
  entry.point.position = Degrees{longitude, latitude};
  entry.point.fields.Clear();
  if (!columns_.texts.empty()) FieldsInto(entry.point.fields);
  entry.isPoint = true;
  return true;
}

void CsvReader::FieldsInto(PointFields& fields) {
  // A CP932 file's texts keep their bytes; a UTF-8 file's bytes that are
  // no UTF-8 are the title rule's to replace.
  const TitleEncoding encoding = Cp932() ? TitleEncoding::kCp932 : TitleEncoding::kUtf8;
  for (const CsvTextColumn& column : columns_.texts) {
    texts_.Offer(column.field, record_.field(column.column), column.addressPart);
  }
  texts_.MoveInto(fields, encoding);
}

}  // namespace velorin
