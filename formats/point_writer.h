#pragma once
// What every writer of a point format offers: a header, one entry per
// point, a footer, all appended to one BufferedWriter.
#include <cstdint>
#include <string_view>

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
  virtual void Begin() {}
  /// Writes one point; `title` is never empty (untitled points arrive as
  /// "no title"). Says whether characters of the title had to be replaced
  /// by the closest ones the format's encoding holds.
  virtual TitleChange Write(TitleView title, const PointPosition& position) = 0;
  /// A CP932 title.
  TitleChange Write(std::string_view cp932, const PointPosition& position) {
    return Write(TitleView{cp932, TitleEncoding::kCp932}, position);
  }
  virtual void End() {}
  /// Titles that had to be changed to fit the format (none for most).
  std::int64_t titlesAdjusted() const { return titlesAdjusted_; }

 protected:
  std::int64_t titlesAdjusted_ = 0;
};

}  // namespace velorin
