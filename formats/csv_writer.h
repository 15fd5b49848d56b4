#pragma once
// Points written as CSV (RFC 4180, CR LF): name,latitude,longitude; in
// UTF-8 (after a byte-order mark, if asked) or in CP932.
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

class CsvWriter : public PointWriter {
 public:
  explicit CsvWriter(BufferedWriter& out, CsvEncoding encoding = CsvEncoding::kUtf8)
      : out_(out), encoding_(encoding) {}
  TitleEncoding titleEncoding() const override {
    return encoding_ == CsvEncoding::kCp932 ? TitleEncoding::kCp932 : TitleEncoding::kUtf8;
  }
  void Begin() override;
  void Write(const Point& point, std::string_view title) override;

 private:
  BufferedWriter& out_;
  CsvEncoding encoding_;
};

}  // namespace velorin
