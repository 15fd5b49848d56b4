#pragma once
// Points written as CSV (RFC 4180, UTF-8, CR LF): name,latitude,longitude.
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

class CsvWriter : public PointWriter {
 public:
  explicit CsvWriter(BufferedWriter& out) : out_(out) {}
  void Begin() override;
  TitleChange Write(TitleView title, const PointPosition& position) override;

 private:
  BufferedWriter& out_;
  TitleConverter titles_;
};

}  // namespace velorin
