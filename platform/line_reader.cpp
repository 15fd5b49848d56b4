#include "platform/line_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velorin {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

// Offset of the first CR or LF in buffer[from, end), or `end` when there is
// none. One pass for both bytes: sixteen at a time with SSE2 where the
// compiler offers it, then eight at a time in plain C++: a word with no byte
// below 0x0E holds neither; in one that has, the first byte flagged is truly
// below 0x0E (flags can be wrong only above a true one) and is looked at
// closely. The last few bytes one by one.
std::size_t FindLineEnd(const std::vector<char>& buffer, std::size_t from, std::size_t end) {
  const char* data = buffer.data();
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8(kCr);
  const __m128i lf = _mm_set1_epi8(kLf);
  for (; at + 16 <= end; at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const int ends =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (ends != 0) {
      return at + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(ends)));
    }
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    while (at + 8 <= end) {
      std::uint64_t word;
      std::memcpy(&word, data + at, 8);
      const std::uint64_t below = (word - kOnes * 0x0E) & ~word & kHigh;
      if (below == 0) {
        at += 8;
        continue;
      }
      const std::size_t first = at + static_cast<std::size_t>(std::countr_zero(below)) / 8;
      if (data[first] == kCr || data[first] == kLf) return first;
      at = first + 1;  // a tab or another control byte: go on after it
    }
  }
  for (; at < end; ++at) {
    if (data[at] == kCr || data[at] == kLf) return at;
  }
  return end;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t bufferSize, std::size_t maxLineSize)
    : source_(source),
      buffer_(std::max<std::size_t>(std::min(bufferSize, maxLineSize), 1)),
      maxLineSize_(maxLineSize) {}

bool LineReader::AtEndAfterReading() {
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
    // Bytes before searched_ hold no line end: a line that needs more reads
    // is not searched again from its start.
    const std::size_t terminator = FindLineEnd(buffer_, std::max(searched_, begin_), end_);
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
    searched_ = end_;
    if (eof_) {
      const bool complete = !failed_;  // a read error leaves an unfinished line
      line = std::string_view(buffer_.data() + begin_, complete ? end_ - begin_ : 0);
      begin_ = end_;
      return complete;
    }
    Fill();
  }
}

std::string_view LineReader::Peek(std::size_t size) {
  bool came = false;  // bytes came, if only the LF dropped below
  while (end_ - begin_ < size && !eof_) {
    if ((begin_ < end_ || came) && !source_.HasDataReady()) break;
    came = Fill() || came;
    if (skipLf_ && begin_ < end_) {
      // The LF of a CR LF cut by the buffer's end: part of the line end
      // before, not of what comes next.
      if (buffer_[begin_] == kLf) ++begin_;
      skipLf_ = false;
    }
  }
  return std::string_view(buffer_.data() + begin_, std::min(size, end_ - begin_));
}

void LineReader::Skip(std::size_t size) { begin_ += std::min(size, end_ - begin_); }

bool LineReader::Fill() {
  if (beforeWait_ && !source_.HasDataReady()) beforeWait_();
  if (begin_ > 0) {
    // Move the unfinished line to the front so that the next read is large.
    const std::size_t pending = end_ - begin_;
    if (pending > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, pending);
    searched_ = searched_ > begin_ ? searched_ - begin_ : 0;
    end_ = pending;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) {  // one line fills it all
    if (buffer_.size() >= maxLineSize_) {
      lineTooLong_ = true;
      failed_ = true;
      eof_ = true;
      return false;
    }
    buffer_.resize(std::min(buffer_.size() * 2, std::max(maxLineSize_, buffer_.size())));
  }
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
