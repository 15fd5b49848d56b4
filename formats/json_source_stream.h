#pragma once
// A ByteSource as RapidJSON's input stream: a fixed buffer refilled as the
// parser takes characters, so that memory stays flat whatever the size of
// the file. It counts lines only when asked, each newline once, when the
// place asked about first passes it; skips a UTF-8 byte-order mark, and
// stops feeding the parser when a single token (a string, a number, a run
// of white space) grows past kMaxTokenSize: the parser copies a string or
// a number whole before it hands it over.
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <vector>

#include "platform/byte_stream.h"

namespace velorin {

class JsonSourceStream {
 public:
  using Ch = char;  // RapidJSON's stream concept
  static constexpr std::size_t kMaxTokenSize = 1 << 20;

  JsonSourceStream(ByteSource& source, std::size_t bufferSize);

  // RapidJSON's input stream concept: '\0' stands for the end.
  Ch Peek() const { return *current_; }
  Ch Take() {
    const Ch c = *current_;
    if (current_ < last_) {
      ++current_;
    } else {
      Refill();
    }
    return c;
  }
  std::size_t Tell() const { return consumed_ + static_cast<std::size_t>(current_ - begin()); }
  // Only for parsing in place, which is never asked for.
  Ch* PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  std::size_t PutEnd(Ch*) { return 0; }

  /// The line of the current place, from 1.
  std::int64_t Line() {
    if (nextNewline_ < current_) CountNewlinesBefore(current_);
    return newlines_ + 1;
  }
  /// The parser reached a token's end here: the token size counts from here.
  void MarkEvent() { eventAt_ = current_; }
  /// The whole input has been taken ('\0' is its end, not a byte of it).
  bool AtEnd() const { return ended_ && current_ == last_; }
  /// Feeding stopped at a token longer than kMaxTokenSize.
  bool tokenTooLong() const { return tokenTooLong_; }
  /// A read error stopped the input (see error()).
  bool readFailed() const { return readFailed_; }
  std::error_code error() const { return source_.error(); }
  /// The first bytes look like UTF-16 or UTF-32 (a NUL among the first
  /// two, or a UTF-16 byte-order mark).
  bool LooksWide() const { return looksWide_; }

 private:
  const Ch* begin() const { return buffer_.data(); }
  /// Counts the newlines before `place` not counted yet, one memchr a newline.
  void CountNewlinesBefore(const Ch* place);
  void Refill();
  void End();

  ByteSource& source_;
  std::vector<Ch> buffer_;  ///< the bytes, then one '\0'
  Ch* current_;
  Ch* last_;                   ///< the last byte of the buffer's data, or the '\0' at the end
  std::size_t consumed_ = 0;   ///< bytes of the buffers before this one
  std::size_t lastEvent_ = 0;  ///< as of the last refill
  /// The latest event's place in this buffer, null when none came since it
  /// was filled: marking an event costs one store, the offset is worked out
  /// at the refill.
  const Ch* eventAt_ = nullptr;
  /// The first newline not counted yet, or the end of the buffer's data:
  /// asking for the line costs a comparison until the place passes it.
  const Ch* nextNewline_;
  std::int64_t newlines_ = 0;
  bool ended_ = false;
  bool tokenTooLong_ = false;
  bool readFailed_ = false;
  bool looksWide_ = false;
};

}  // namespace velorin
