#pragma once
// What every writer of a point format offers: a header, one entry per
// point, a footer, all appended to one BufferedWriter. Titles reach a
// writer already in the form its file holds (the run's title rule made
// them so): a writer only escapes them as its format's syntax needs.
#include <array>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "formats/point.h"

namespace velorin {

/// The encodings a CSV file is written in: UTF-8, UTF-8 after a byte-order
/// mark (what spreadsheet programs take for UTF-8), or CP932 by the title
/// rule (what they assume on a Japanese system).
enum class CsvEncoding { kUtf8, kUtf8Bom, kCp932 };

/// What a writer may be told beforehand.
struct WriterOptions {
  CsvEncoding csvEncoding = CsvEncoding::kUtf8;
};

class PointWriter {
 public:
  virtual ~PointWriter() = default;
  /// The encoding the writer takes titles in.
  virtual TitleEncoding titleEncoding() const { return TitleEncoding::kUtf8; }
  virtual void Begin() {}
  /// Writes one point under `title`, which is in titleEncoding() and never
  /// empty (an untitled point arrives as "no title"); the point's own title
  /// is as the input gave it.
  virtual void Write(const Point& point, std::string_view title) = 0;
  /// The same with the point's fields, in titleEncoding() as the title rule
  /// made them and only those the format keeps (see FormatInfo::fields);
  /// the run calls it for a point with any field. A writer whose format has
  /// no place for them writes the point alone.
  virtual void WriteWithFields(const Point& point, std::string_view title,
                               const FieldTexts& /*fields*/) {
    Write(point, title);
  }
  virtual void End() {}
  /// The fields the points to come can carry at most, told before the
  /// first of them when the input knows (a CSV writer then writes its
  /// header at once instead of waiting for the first points to tell).
  virtual void FieldsToCome(PointFieldSet /*fields*/) {}
  /// The input waits for more (a quiet pipe): what the writer holds back
  /// goes out now, so that a pipeline passes each point on as it comes.
  virtual void InputWaits() {}
  /// Why the writer could not write what it was given, beyond what its
  /// BufferedWriter tells (a picture whose points it could not read back).
  virtual std::error_code error() const { return {}; }
  /// Titles the format's own syntax made change (a "/" in a POT line).
  std::int64_t titlesAdjusted() const { return titlesAdjusted_; }
  /// Fields the writer had no room for after all (a CSV's columns are
  /// chosen from its first points), by field.
  const std::array<std::int64_t, kPointFieldCount>& fieldsLeftOut() const { return fieldsLeftOut_; }

 protected:
  std::int64_t titlesAdjusted_ = 0;
  std::array<std::int64_t, kPointFieldCount> fieldsLeftOut_{};
};

}  // namespace velorin
