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
  void Begin() override;
  TitleChange Write(TitleView title, const PointPosition& position) override;

 private:
  BufferedWriter& out_;
  CsvEncoding encoding_;
  TitleConverter titles_;
};

}  // namespace velorin
