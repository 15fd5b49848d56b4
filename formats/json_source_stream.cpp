#include "formats/json_source_stream.h"

#include <algorithm>
#include <cstring>

namespace velorin {

namespace {

/// The first newline in [from, end), or `end`.
const char* FindNewline(const char* from, const char* end) {
  const void* found = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
  return found != nullptr ? static_cast<const char*>(found) : end;
}

}  // namespace

JsonSourceStream::JsonSourceStream(ByteSource& source, std::size_t bufferSize)
    : source_(source),
      buffer_(std::max<std::size_t>(bufferSize, 4) + 1),
      current_(buffer_.data()),
      last_(buffer_.data()),
      nextNewline_(buffer_.data()) {
  // The first four bytes at least (a source may hand out less), to see
  // whether a byte-order mark or a wide encoding begins the file.
  const std::size_t capacity = buffer_.size() - 1;
  std::size_t size = 0;
  while (size < 4) {
    const std::ptrdiff_t count = source_.Read(buffer_.data() + size, capacity - size);
    if (count < 0) readFailed_ = true;
    if (count <= 0) break;
    size += static_cast<std::size_t>(count);
  }
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(buffer_[i]); };
  looksWide_ =
      (size >= 2 && (byte(0) == 0 || byte(1) == 0)) ||
      (size >= 2 && ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0xFF && byte(1) == 0xFE)));
  if (size == 0) {
    End();
    return;
  }
  last_ = buffer_.data() + size - 1;
  nextNewline_ = FindNewline(current_, last_ + 1);
  if (size >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    if (size == 3) {
      Refill();  // counts the mark's three bytes as consumed
    } else {
      current_ += 3;
    }
  }
}

void JsonSourceStream::CountNewlinesBefore(const Ch* place) {
  while (nextNewline_ < place) {
    ++newlines_;
    nextNewline_ = FindNewline(nextNewline_ + 1, last_ + 1);
  }
}

void JsonSourceStream::End() {
  ended_ = true;
  buffer_[0] = '\0';
  current_ = last_ = buffer_.data();
  nextNewline_ = current_;
}

void JsonSourceStream::Refill() {
  if (ended_) return;
  const Ch* end = last_ + 1;
  CountNewlinesBefore(end);
  if (eventAt_ != nullptr) {
    lastEvent_ = consumed_ + static_cast<std::size_t>(eventAt_ - begin());
    eventAt_ = nullptr;
  }
  consumed_ += static_cast<std::size_t>(end - begin());
  if (consumed_ - lastEvent_ > kMaxTokenSize) {
    tokenTooLong_ = true;
    End();
    return;
  }
  const std::ptrdiff_t count = source_.Read(buffer_.data(), buffer_.size() - 1);
  if (count <= 0) {
    readFailed_ = count < 0;
    End();
    return;
  }
  current_ = buffer_.data();
  last_ = current_ + count - 1;
  nextNewline_ = FindNewline(current_, last_ + 1);
}

}  // namespace velorin
