#include "formats/peeked_source.h"

#include <algorithm>
#include <cstring>

namespace velorin {

PeekedSource::PeekedSource(ByteSource& inner, std::size_t size) : inner_(inner) {
  head_.resize(size);
  std::size_t filled = 0;
  while (filled < size) {
    const std::ptrdiff_t count = inner_.Read(head_.data() + filled, size - filled);
    if (count < 0) {
      failed_ = true;
      break;
    }
    if (count == 0) {
      whole_ = true;
      break;
    }
    filled += static_cast<std::size_t>(count);
  }
  head_.resize(filled);
}

std::ptrdiff_t PeekedSource::Read(char* buffer, std::size_t capacity) {
  if (offset_ < head_.size()) {
    const std::size_t count = std::min(capacity, head_.size() - offset_);
    std::memcpy(buffer, head_.data() + offset_, count);
    offset_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  if (failed_) return -1;
  if (whole_) return 0;
  return inner_.Read(buffer, capacity);
}

TextEncoding TakeTextEncoding(PeekedSource& source, std::optional<TextEncoding> told) {
  const DetectedEncoding detected = ChooseTextEncoding(source.head(), source.headIsWhole(), told);
  source.Skip(detected.byteOrderMarkSize);
  return detected.encoding;
}

}  // namespace velorin
