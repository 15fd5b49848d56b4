#pragma once
// Points written as POT point lines (CP932, CR LF):
// ORD=POI/tex=TITLE/kei=D'M'S'T/ido=D'M'S'T, rounded to tenths of a second.
#include <cstddef>
#include <string>

#include "formats/point_writer.h"
#include "platform/buffered_writer.h"

namespace velorin {

/// The title as a POT line can carry it and give back unchanged: a "/"
/// (which would end the field) becomes the full-width "／", the "=" of an
/// "ido=" (which would be taken for the latitude's key) the full-width "＝",
/// a CR (which would end the line) a blank; a title that begins or ends with
/// a double quote is put in quotes, since reading takes one off each end; a
/// title longer than kMaxPotTitleCharacters is cut there, since a reader
/// finds the keys of a line only within its first 32767 characters.
/// True when the title had to change (quoting is no change: it reads back).
bool PotTitleText(std::string_view cp932, std::string& out);

inline constexpr std::size_t kMaxPotTitleCharacters = 32'000;

class PotWriter : public PointWriter {
 public:
  explicit PotWriter(BufferedWriter& out) : out_(out) {}
  TitleEncoding titleEncoding() const override { return TitleEncoding::kCp932; }
  void Write(const Point& point, std::string_view title) override;

 private:
  BufferedWriter& out_;
  std::string title_;
};

}  // namespace velorin
