#pragma once
// Points read from a CSV table (RFC 4180) whose header row names the
// columns (csv_columns.h): the title, the latitude and the longitude, and a
// point's further texts, gathered so that none is lost (gathered_texts.h);
// other columns are ignored. Fields separated by commas, TABs or ";" (with
// TABs and ";", decimal points or decimal commas), chosen from the header
// row and the first numbers. UTF-8 (with or without a byte-order mark) or
// CP932, chosen at the first bytes beyond ASCII.
#include <array>
#include <optional>
#include <string>

#include "formats/csv_columns.h"
#include "formats/csv_dialect.h"
#include "formats/csv_record.h"
#include "formats/encoding_head.h"
#include "formats/gathered_texts.h"
#include "formats/numbered_lines.h"
#include "formats/point_fields.h"
#include "formats/point_reader.h"
#include "formats/title_text.h"
#include "text/text_encoding.h"

namespace velorin {

class CsvReader : public PointReader {
 public:
  /// Longest record taken (a quoted field may span lines); a longer one
  /// fails the input.
  static constexpr std::size_t kMaxRecordSize = 1 << 20;

  /// `options.textEncoding`: as told, or chosen from the bytes when absent.
  explicit CsvReader(ByteSource& source, const ReaderOptions& options = {});
  bool Next(ReadEntry& entry) override;

  std::optional<TextEncoding> textEncoding() override { return encoding_.named(); }
  bool textBeyondAscii() override { return encoding_.beyondAscii(); }
  std::string layoutNote() const override;
  /// The columns of further texts its header names, once it is read.
  std::optional<PointFieldSet> fieldsGiven() const override;
  /// Which columns are read when none names a title, and the roles two
  /// columns name, once the header is read.
  std::string headNote() const override { return headNote_; }

 private:
  /// Reads the next record that is not blank; false at the end or on a failure.
  bool ReadRecord(std::int64_t& firstLine);
  bool ReadLine(std::string_view& line);
  bool ReadHeader();
  /// The header line's cells split at `separator` name the columns a table needs.
  bool NamesColumns(std::string_view headerLine, char separator);
  /// The cell as UTF-8 (CP932 files decoded), white space collapsed.
  std::string HeaderCell(std::string_view cell);
  /// "latitude 'north' is not a number" and the like.
  std::string UnreadableReason(bool latitude, std::string_view text) const;
  bool Cp932() const { return encoding_.encoding() == TextEncoding::kCp932; }
  /// The record's further texts into `fields`, in the file's encoding.
  void FieldsInto(PointFields& fields);

  LateTextEncoding encoding_;
  NumberedLines lines_;
  CsvRecord record_;
  bool headerRead_ = false;
  CsvColumns columns_;
  std::string headNote_;
  GatheredTexts texts_;
  char separator_ = ',';
  CsvDecimalMark decimalMark_{','};
  Cp932Decoder decoder_;
  std::string number_;  ///< a number with its decimal comma made a point
};

}  // namespace velorin
