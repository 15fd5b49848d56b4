#pragma once
// How a CSV file writes its table: the character between its fields and the
// decimal mark of its numbers. Spreadsheets where the comma is the decimal
// mark (much of Europe) save fields separated by ";", and numbers such as
// 50,941278; elsewhere fields are separated by commas (or TABs) and
// numbers have decimal points.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "formats/decimal_text.h"

namespace velorin {

/// The separators a header may use, in the order a tie is settled in.
inline constexpr std::array<char, 3> kCsvSeparators = {',', '\t', ';'};

/// How often `c` occurs in `line` outside double quotes.
std::size_t CountOutsideQuotes(std::string_view line, char c);

/// The separator of a header line. Of the separators with which the line's
/// cells name the columns a table needs (`namesColumns` says), the one it
/// holds most often; when none does, the one it holds most often.
char ChooseCsvSeparator(std::string_view headerLine,
                        const std::function<bool(char separator)>& namesColumns);

/// The decimal mark of a number written in a file whose fields are
/// separated by `separator`: a comma separates fields or marks decimals,
/// never both, so only files separated by ";" or TABs may have decimal
/// commas (GDAL reads both so). Nothing while open: no number of such a
/// file has shown its mark yet.
class CsvDecimalMark {
 public:
  explicit CsvDecimalMark(char separator)
      : eitherMark_(separator == ';' || separator == '\t'),
        mark_(eitherMark_ ? std::nullopt : std::optional<char>('.')) {}

  /// Chosen by the first text that is a number with a point or with a
  /// comma: a whole number reads the same with either.
  void Look(std::string_view text) {
    if (!mark_) LookClosely(text);
  }
  std::optional<char> mark() const { return mark_; }

  /// Reads a number of degrees written with the mark (a point while the mark
  /// is open) into `degrees`; false for any other text. `scratch` holds the
  /// text with its comma made a point. (A result through a flag rather than
  /// an optional: one optional or the other, as the mark says, is put
  /// together in memory and read back whole, a stall on every number.)
  bool Read(std::string_view text, std::string& scratch, double& degrees) const {
    if (mark_ == ',') return ReadWithComma(text, scratch, degrees);
    const std::optional<double> read = ParseDecimalDegrees(text);  // the usual file
    if (read) degrees = *read;
    return read.has_value();
  }
  /// For a text Read() refused: true when it reads with the other mark, in
  /// a file that may have either.
  bool ReadsWithTheOtherMark(std::string_view text) const;

 private:
  void LookClosely(std::string_view text);
  bool ReadWithComma(std::string_view text, std::string& scratch, double& degrees) const;

  bool eitherMark_;
  std::optional<char> mark_;
};

/// What a reader says of a table's layout: "fields separated by \";\" with
/// decimal commas", "fields separated by TABs" (and "with decimal commas"
/// when they have them); empty for fields separated by commas, the usual
/// layout.
std::string CsvLayoutNote(char separator, std::optional<char> decimalMark);

}  // namespace velorin
