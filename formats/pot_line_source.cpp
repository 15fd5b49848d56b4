#include "formats/pot_line_source.h"

namespace velorin {

PotLineSource::PotLineSource(ByteSource& source, std::optional<TextEncoding> told,
                             std::size_t bufferSize, std::size_t maxLineSize)
    : lines_(source, bufferSize, maxLineSize), encoding_(told) {}

PotLineSource::Line PotLineSource::Next(std::string_view& line) {
  if (!encoding_.started()) encoding_.Start(lines_.reader());
  if (!lines_.Read(line)) return Line::kNone;
  encoding_.See(line, lines_.reader());
  if (encoding_.encoding() == TextEncoding::kCp932) return Line::kRead;
  converted_.clear();
  replaced_.clear();
  if (!encoder_.Append(line, converted_, &replaced_)) return Line::kNotUtf8;
  line = converted_;
  return Line::kRead;
}

bool PotLineSource::HasReplacementAmong(std::string_view part) const {
  if (part.data() < converted_.data() || part.data() > converted_.data() + converted_.size()) {
    return false;
  }
  const auto begin = static_cast<std::size_t>(part.data() - converted_.data());
  const std::size_t end = begin + part.size();
  for (const ByteSpan& span : replaced_) {
    if (span.offset < end && span.offset + span.size > begin) return true;
  }
  return false;
}

}  // namespace velorin
