#pragma once
// A ByteSource as RapidJSON's input stream, read in pieces into one buffer
// so that memory stays flat whatever the size of the file. The parser
// parses in place: it decodes each string over its own text in the
// buffer, which spares it copying every character to a stack of its own.
//
// What the parser has not finished with stays where it is in the buffer:
// a string being decoded (from PutBegin to PutEnd) never moves, and the
// bytes since the last event (a number being read) move only as a whole,
// to the front, when the buffer is refilled. The buffer holds two tokens
// of the longest size and two pieces besides, reserved but touched only as
// far as it is used.
//
// It counts lines only when asked, each newline once, when the place asked
// about first passes it (never inside a string, where decoded escapes may
// leave newline bytes); skips a UTF-8 byte-order mark, and stops feeding
// the parser when a single token (a string, a number, a run of white space)
// grows past kMaxTokenSize.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

class JsonSourceStream {
 public:
  using Ch = char;  // RapidJSON's stream concept
  static constexpr std::size_t kMaxTokenSize = 1 << 20;

  /// Reads `readSize` bytes at a time from `source`.
  JsonSourceStream(ByteSource& source, std::size_t readSize);

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
  std::size_t Tell() const { return consumed_ + static_cast<std::size_t>(current_ - begin_); }
  // Parsing in place. The parser asks PutBegin() where a string begins,
  // just after its opening quote, and where a number it has read begins,
  // just after its last character (a number is handed over where it stands).
  Ch* PutBegin() {
    if (current_[-1] == '"') {
      if (nextNewline_ < current_ || last_ >= stringRoomEnds_) PrepareString();
      inString_ = true;
      put_ = current_;
      return current_;
    }
    // A number: it begins after the last character that is none of its own
    // (the byte before the buffer is a blank).
    Ch* at = current_;
    while (IsNumberCharacter(at[-1])) --at;
    return at;
  }
  void Put(Ch c) { *put_++ = c; }
  void Flush() {}
  std::size_t PutEnd(Ch* from) {
    inString_ = false;
    return static_cast<std::size_t>(put_ - from);
  }

  /// The line of the current place, from 1.
  std::int64_t Line() {
    if (nextNewline_ < current_ && !inString_) CountNewlinesBefore(current_);
    return newlines_ + 1;
  }
  /// The parser reached a token's end here: the token size counts from here.
  void MarkEvent() { eventAt_ = current_; }
  /// The whole input has been taken ('\0' is its end, not a byte of it).
  bool AtEnd() const { return ended_ && current_ == last_; }
  /// Feeding stopped at a token longer than kMaxTokenSize.
  bool tokenTooLong() const { return tokenTooLong_; }
  /// Stops feeding the parser at a \u escape of a lone low surrogate, which
  /// no UTF-8 text holds (the parser itself refuses a lone high one).
  void StopAtLoneSurrogate();
  bool loneSurrogate() const { return loneSurrogate_; }
  /// A read error stopped the input (see error()).
  bool readFailed() const { return readFailed_; }
  std::error_code error() const { return source_.error(); }
  /// The first bytes look like UTF-16 or UTF-32 (a NUL among the first
  /// two, or a UTF-16 byte-order mark).
  bool LooksWide() const { return looksWide_; }

 private:
  /// Counts the newlines before `place` not counted yet, one memchr a newline.
  void CountNewlinesBefore(const Ch* place);
  void Refill();
  /// Moves the bytes from `from` to the end of the data to the front.
  void MoveToFront(Ch* from);
  /// Takes the latest event's place as an offset, before bytes move.
  void NoteEvent();
  /// Reads the next piece after the data, or ends the input.
  void ReadAfterData();
  void End();
  /// Counts the newlines before a string and makes room after the data
  /// for the longest one, where either is needed.
  void PrepareString();
  std::size_t room() const { return static_cast<std::size_t>(bufferEnd_ - (last_ + 1)); }
  /// One of "+-.0123456789Ee": one bit each, from '+' on, tested at once.
  static bool IsNumberCharacter(char c) {
    constexpr auto kBit = [](char member) { return std::uint64_t{1} << (member - '+'); };
    constexpr std::uint64_t kMembers = kBit('+') | kBit('-') | kBit('.') | kBit('0') | kBit('1') |
                                       kBit('2') | kBit('3') | kBit('4') | kBit('5') | kBit('6') |
                                       kBit('7') | kBit('8') | kBit('9') | kBit('E') | kBit('e');
    const unsigned offset = static_cast<unsigned char>(c) - unsigned{'+'};
    return offset < 64 && ((kMembers >> offset) & 1) != 0;
  }

  ByteSource& source_;
  std::size_t readSize_;
  std::unique_ptr<Ch[]> buffer_;  ///< uninitialised: pages are touched only as used
  Ch* begin_;                     ///< after one blank, which ends a look back
  Ch* bufferEnd_;                 ///< one before the last byte, kept for the '\0' after the data
  /// Data that ends here or later leaves too little room after it for the
  /// longest string.
  Ch* stringRoomEnds_;
  Ch* current_;
  Ch* last_;                   ///< the last byte of the data, or the '\0' at the end
  Ch* keepFrom_;               ///< where the bytes still needed begin
  Ch* put_ = nullptr;          ///< where the string being decoded is written
  bool inString_ = false;      ///< between PutBegin and PutEnd of a string
  std::size_t consumed_ = 0;   ///< bytes of the file before begin_
  std::size_t lastEvent_ = 0;  ///< offset in the file, as of the last refill
  /// The latest event's place in the buffer, null when none came since the
  /// last refill: marking an event costs one store, the offset is worked
  /// out when bytes move or more come.
  Ch* eventAt_ = nullptr;
  /// The first newline not counted yet, or the end of the data: asking for
  /// the line costs a comparison until the place passes it.
  const Ch* nextNewline_;
  std::int64_t newlines_ = 0;
  bool ended_ = false;
  bool tokenTooLong_ = false;
  bool loneSurrogate_ = false;
  bool readFailed_ = false;
  bool looksWide_ = false;
};

}  // namespace velorin
