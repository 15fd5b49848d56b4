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

JsonSourceStream::JsonSourceStream(ByteSource& source, std::size_t readSize)
    : source_(source), readSize_(std::max<std::size_t>(readSize, 4)) {
  const std::size_t capacity = 2 * (kMaxTokenSize + readSize_) + 1;
  buffer_ = std::make_unique_for_overwrite<Ch[]>(1 + capacity);
  buffer_[0] = ' ';
  begin_ = buffer_.get() + 1;
  bufferEnd_ = begin_ + capacity - 1;
  stringRoomEnds_ = bufferEnd_ - (kMaxTokenSize + readSize_);
  current_ = keepFrom_ = begin_;
  last_ = begin_ - 1;
  // The first four bytes at least (a source may hand out less), to see
  // whether a byte-order mark or a wide encoding begins the file.
  std::size_t size = 0;
  while (size < 4) {
    const std::ptrdiff_t count = source_.Read(begin_ + size, readSize_ - size);
    if (count < 0) readFailed_ = true;
    if (count <= 0) break;
    size += static_cast<std::size_t>(count);
  }
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(begin_[i]); };
  looksWide_ =
      (size >= 2 && (byte(0) == 0 || byte(1) == 0)) ||
      (size >= 2 && ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0xFF && byte(1) == 0xFE)));
  last_ = begin_ + size - 1;
  if (size == 0) {
    End();
    return;
  }
  nextNewline_ = FindNewline(current_, last_ + 1);
  if (size >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    keepFrom_ = begin_ + 3;
    if (size == 3) {
      current_ = last_;
      Refill();
    } else {
      current_ += 3;
    }
  }
}

void JsonSourceStream::PrepareString() {
  // Newlines are counted up to the string before decoding overwrites it:
  // the next one not counted then lies past the string (a string holds no
  // newline of its own) and no count looks inside it later.
  if (nextNewline_ < current_) CountNewlinesBefore(current_);
  // The string may grow to the longest token after the data: make room.
  if (last_ >= stringRoomEnds_) {
    NoteEvent();
    MoveToFront(current_);
  }
}

void JsonSourceStream::CountNewlinesBefore(const Ch* place) {
  while (nextNewline_ < place) {
    ++newlines_;
    nextNewline_ = FindNewline(nextNewline_ + 1, last_ + 1);
  }
}

void JsonSourceStream::NoteEvent() {
  if (eventAt_ == nullptr) return;
  lastEvent_ = consumed_ + static_cast<std::size_t>(eventAt_ - begin_);
  keepFrom_ = eventAt_;
  eventAt_ = nullptr;
}

void JsonSourceStream::MoveToFront(Ch* from) {
  const std::ptrdiff_t shift = from - begin_;
  if (shift == 0) return;
  std::memmove(begin_, from, static_cast<std::size_t>(last_ + 1 - from));
  consumed_ += static_cast<std::size_t>(shift);
  current_ -= shift;
  last_ -= shift;
  nextNewline_ -= shift;
  keepFrom_ = begin_;
}

void JsonSourceStream::End() {
  ended_ = true;
  current_ = last_ = last_ + 1;
  *current_ = '\0';
  nextNewline_ = current_;
}

void JsonSourceStream::StopAtLoneSurrogate() {
  loneSurrogate_ = true;
  if (ended_) {
    current_ = last_;  // the '\0' after the data
  } else {
    End();
  }
}

void JsonSourceStream::Refill() {
  if (ended_) return;
  const Ch* end = last_ + 1;
  if (!inString_) CountNewlinesBefore(end);
  NoteEvent();
  if (consumed_ + static_cast<std::size_t>(end - begin_) - lastEvent_ > kMaxTokenSize) {
    tokenTooLong_ = true;
    End();
    return;
  }
  // A string being decoded stays where it began; otherwise what is kept of
  // the token being read moves to the front.
  if (!inString_) MoveToFront(keepFrom_);
  ReadAfterData();
}

void JsonSourceStream::ReadAfterData() {
  Ch* const at = last_ + 1;
  const std::size_t size = std::min(readSize_, room());
  const std::ptrdiff_t count = size == 0 ? 0 : source_.Read(at, size);
  if (count <= 0) {
    readFailed_ = count < 0;
    if (size == 0) tokenTooLong_ = true;  // cannot happen: the buffer holds two tokens
    End();
    return;
  }
  current_ = at;
  last_ = at + count - 1;
  nextNewline_ = FindNewline(at, last_ + 1);
}

}  // namespace velorin
