#pragma once
// Points written as CSV (RFC 4180, CR LF): name,latitude,longitude, then a
// column for each further text the points carry (description, comment,
// address, url, phone, email); in UTF-8 (after a byte-order mark, if asked)
// or in CP932.
//
// The header comes first, so the columns are those the input names (a CSV
// input's columns, none for POT: see FieldsToCome), or else they are chosen
// from the first kCsvColumnLookahead points, held back until then (or until
// the input waits: a pipe's points go on as they come). A text
// of a later point that has no column is counted (fieldsLeftOut()).
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "formats/decimal_text.h"
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

inline constexpr std::size_t kCsvColumnLookahead = 1000;

class CsvWriter : public PointWriter {
 public:
  explicit CsvWriter(BufferedWriter& out, CsvEncoding encoding = CsvEncoding::kUtf8)
      : out_(out), encoding_(encoding) {}
  TitleEncoding titleEncoding() const override {
    return encoding_ == CsvEncoding::kCp932 ? TitleEncoding::kCp932 : TitleEncoding::kUtf8;
  }
  void Begin() override;
  void Write(const Point& point, std::string_view title) override;
  void WriteWithFields(const Point& point, std::string_view title,
                       const FieldTexts& fields) override;
  void End() override;
  /// The columns are these: the header and what is held go out at once.
  void FieldsToCome(PointFieldSet fields) override;
  /// The columns are those of the points held so far.
  void InputWaits() override;

 private:
  /// A row held back while the columns are chosen.
  struct HeldRow {
    std::string title;
    DecimalPosition position;
    std::array<std::string, kPointFieldCount> fields;
  };
  void Hold(const Point& point, std::string_view title, const FieldTexts* fields);
  /// Writes the header with the columns chosen, then the rows held.
  void ChooseColumns();
  void AppendRow(std::string_view title, const DecimalPosition& position, const FieldTexts* fields);
  void AppendFields(const FieldTexts* fields);

  BufferedWriter& out_;
  CsvEncoding encoding_;
  bool choosing_ = true;
  PointFieldSet columns_;
  std::vector<HeldRow> held_;
  std::size_t heldCount_ = 0;
};

}  // namespace velorin
