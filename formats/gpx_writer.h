#pragma once
// Points written as the waypoints of a GPX 1.1 file (UTF-8).
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

class GpxWriter : public PointWriter {
 public:
  explicit GpxWriter(BufferedWriter& out) : out_(out) {}
  void Begin() override;
  TitleChange Write(TitleView title, const PointPosition& position) override;
  void End() override;

 private:
  BufferedWriter& out_;
  TitleConverter titles_;
};

}  // namespace velorin
