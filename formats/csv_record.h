#pragma once
// One CSV record (RFC 4180) split into its fields, fed a line at a time so
// that a quoted field may go on over several lines.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

class CsvRecord {
 public:
  explicit CsvRecord(char delimiter = ',') : delimiter_(delimiter) {}

  /// Starts a new record.
  void Clear();
  /// Adds one line (without its line end). True when the record is complete;
  /// false when a quoted field is still open and the next line belongs to
  /// it (the line end becomes an LF in the field).
  bool Feed(std::string_view line);

  std::size_t size() const { return count_; }
  std::string_view field(std::size_t index) const {
    return index < count_ ? std::string_view(fields_[index]) : std::string_view();
  }
  /// Bytes held in the fields so far.
  std::size_t bytes() const { return bytes_; }

 private:
  std::string& NewField();

  char delimiter_;
  std::vector<std::string> fields_;  ///< kept between records to reuse their memory
  std::size_t count_ = 0;
  std::size_t bytes_ = 0;
  bool inQuotes_ = false;
};

}  // namespace velorin
