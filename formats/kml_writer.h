#pragma once
// Points written as the placemarks of a KML 2.2 document (UTF-8).
#include "formats/point_writer.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"

namespace velorin {

class KmlWriter : public PointWriter {
 public:
  explicit KmlWriter(BufferedWriter& out) : out_(out) {}
  void Begin() override;
  TitleChange Write(TitleView title, const PointPosition& position) override;
  void End() override;

 private:
  BufferedWriter& out_;
  TitleConverter titles_;
};

}  // namespace velorin
