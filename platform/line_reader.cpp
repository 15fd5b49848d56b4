#include "platform/line_reader.h"

#include <algorithm>
#include <cstring>

namespace velorin {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

// Position of the first `byte` at or after `from`, or `end` when there is none.
std::size_t Find(const std::vector<char>& buffer, std::size_t from, std::size_t end, char byte) {
  if (from >= end) return end;
  const void* hit = std::memchr(buffer.data() + from, byte, end - from);
  return hit == nullptr ? end
                        : static_cast<std::size_t>(static_cast<const char*>(hit) - buffer.data());
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t bufferSize)
    : source_(source), buffer_(std::max<std::size_t>(bufferSize, 1)) {}

bool LineReader::AtEnd() {
  for (;;) {
    if (skipLf_ && begin_ < end_) {
      // The previous line ended with the last byte of the buffer, a CR:
      // an LF right after it belongs to that line end.
      if (buffer_[begin_] == kLf) ++begin_;
      skipLf_ = false;
    }
    if (begin_ < end_) return false;
    if (eof_) return true;
    Fill();
  }
}

bool LineReader::ReadLine(std::string_view& line) {
  if (AtEnd()) return false;
  for (;;) {
    // The cached positions are either a CR (LF) at or after begin_, or the end
    // of what has been searched; either way nothing before them needs another
    // look, so every byte is searched once per kind.
    nextCr_ = Find(buffer_, std::max(nextCr_, begin_), end_, kCr);
    nextLf_ = Find(buffer_, std::max(nextLf_, begin_), end_, kLf);
    const std::size_t terminator = std::min(nextCr_, nextLf_);
    if (terminator < end_) {
      line = std::string_view(buffer_.data() + begin_, terminator - begin_);
      begin_ = terminator + 1;
      if (buffer_[terminator] == kCr) {
        if (begin_ < end_) {
          if (buffer_[begin_] == kLf) ++begin_;
        } else {
          // The LF, if any, is not read yet; the next call drops it.
          skipLf_ = !eof_;
        }
      }
      return true;
    }
    if (eof_) {
      const bool complete = !failed_;  // a read error leaves an unfinished line
      line = std::string_view(buffer_.data() + begin_, complete ? end_ - begin_ : 0);
      begin_ = end_;
      return complete;
    }
    Fill();
  }
}

bool LineReader::Fill() {
  if (begin_ > 0) {
    // Move the unfinished line to the front so that the next read is large.
    const std::size_t pending = end_ - begin_;
    if (pending > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, pending);
    nextCr_ = nextCr_ > begin_ ? nextCr_ - begin_ : 0;
    nextLf_ = nextLf_ > begin_ ? nextLf_ - begin_ : 0;
    end_ = pending;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // one line fills it all
  const std::ptrdiff_t count = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
  if (count < 0) {
    failed_ = true;
    eof_ = true;
    return false;
  }
  if (count == 0) {
    eof_ = true;
    return false;
  }
  end_ += static_cast<std::size_t>(count);
  consumed_ += static_cast<std::uint64_t>(count);
  return true;
}

}  // namespace velorin
