#include "formats/csv_dialect.h"

namespace velorin {

std::size_t CountOutsideQuotes(std::string_view line, char c) {
  std::size_t count = 0;
  bool quoted = false;
  for (const char at : line) {
    if (at == '"') quoted = !quoted;
    count += !quoted && at == c;
  }
  return count;
}

char ChooseCsvSeparator(std::string_view headerLine,
                        const std::function<bool(char separator)>& namesColumns) {
  char chosen = 0;
  std::size_t chosenCount = 0;
  bool chosenNames = false;
  for (const char separator : kCsvSeparators) {
    const std::size_t count = CountOutsideQuotes(headerLine, separator);
    if (count == 0) continue;
    const bool names = namesColumns(separator);
    if ((names && !chosenNames) || (names == chosenNames && count > chosenCount)) {
      chosen = separator;
      chosenCount = count;
      chosenNames = names;
    }
  }
  return chosen != 0 ? chosen : kCsvSeparators.front();
}

void CsvDecimalMark::LookClosely(std::string_view text) {
  const bool point = text.find('.') != std::string_view::npos;
  const bool comma = text.find(',') != std::string_view::npos;
  if (point == comma) return;
  // Only a number decides: "north, 5" shows no decimal comma.
  CsvDecimalMark shown(';');
  shown.mark_ = point ? '.' : ',';
  std::string scratch;
  double degrees = 0.0;
  if (shown.Read(text, scratch, degrees)) mark_ = shown.mark_;
}

bool CsvDecimalMark::ReadWithComma(std::string_view text, std::string& scratch,
                                   double& degrees) const {
  if (text.find('.') != std::string_view::npos) return false;
  const std::size_t comma = text.find(',');
  std::optional<double> read;
  if (comma == std::string_view::npos) {
    read = ParseDecimalDegrees(text);
  } else {
    scratch.assign(text);
    scratch[comma] = '.';
    read = ParseDecimalDegrees(scratch);
  }
  if (read) degrees = *read;
  return read.has_value();
}

bool CsvDecimalMark::ReadsWithTheOtherMark(std::string_view text) const {
  if (!mark_ || !eitherMark_) return false;
  CsvDecimalMark other(';');
  other.mark_ = *mark_ == ',' ? '.' : ',';
  std::string scratch;
  double degrees = 0.0;
  return other.Read(text, scratch, degrees);
}

std::string CsvLayoutNote(char separator, std::optional<char> decimalMark) {
  if (separator == ',') return {};
  if (separator == '\t') {
    return decimalMark == ',' ? "fields separated by TABs with decimal commas"
                              : "fields separated by TABs";
  }
  std::string note = "fields separated by \"" + std::string(1, separator) + "\"";
  if (decimalMark) note += *decimalMark == ',' ? " with decimal commas" : " with decimal points";
  return note;
}

}  // namespace velorin
