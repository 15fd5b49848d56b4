#pragma once
// Line-by-line reading of a byte stream through one large buffer.
//
// A line ends at CR LF, at CR, or at a lone LF; the terminator is not part of
// the line. The end of the data after a terminator starts no further line, so
// "A\r\n" is one line and an empty stream has none. Lines are handed out as
// views into the buffer: nothing is allocated per line, and memory grows only
// with the longest line, never with the stream.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"

namespace velorin {

class LineReader {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;

  /// `maxLineSize` bounds the memory one line may take: a line that does not
  /// fit in that many bytes ends the data as a failure (see lineTooLong()).
  explicit LineReader(ByteSource& source, std::size_t bufferSize = kDefaultBufferSize,
                      std::size_t maxLineSize = SIZE_MAX);

  /// True when no further line can be read (end of data). May read ahead.
  /// A read error also ends the data; failed() tells the two apart.
  bool AtEnd() {
    if (!skipLf_ && begin_ < end_) return false;  // unread bytes: the usual case
    return AtEndAfterReading();
  }
  /// Reads the next line into `line` (valid until the next call). False at
  /// the end of the data or on a read error.
  bool ReadLine(std::string_view& line);
  bool failed() const { return failed_; }
  /// The failure was a line longer than the bound, not a read error.
  bool lineTooLong() const { return lineTooLong_; }
  /// The next unread bytes, up to `size` of them, without consuming them:
  /// reads until that many are buffered, the data ends, or the source would
  /// wait (then what has come so far, at least one byte unless at the end).
  std::string_view Peek(std::size_t size);
  /// True when the data has ended cleanly (what Peek shows is all there
  /// is); a read error is no end: the bytes after it are unknown.
  bool SawEnd() const { return eof_ && !failed_; }
  /// Drops `size` unread bytes (no more than Peek showed).
  void Skip(std::size_t size);
  /// Called before a read that would wait for the source (a quiet pipe):
  /// the moment to hand on what was converted so far.
  void OnWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }
  /// Bytes taken from the source so far.
  std::uint64_t bytesConsumed() const { return consumed_; }

 private:
  /// AtEnd when a pending LF must be dropped or the buffer is used up.
  bool AtEndAfterReading();
  bool Fill();

  ByteSource& source_;
  std::function<void()> beforeWait_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;     // first unread byte
  std::size_t end_ = 0;       // one past the last valid byte
  std::size_t searched_ = 0;  // [begin_, searched_) holds no CR or LF
  bool skipLf_ = false;       // last line ended at a CR that was the last byte read
  bool eof_ = false;
  bool failed_ = false;
  bool lineTooLong_ = false;
  std::size_t maxLineSize_;
  std::uint64_t consumed_ = 0;
};

}  // namespace velorin
