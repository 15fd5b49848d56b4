#pragma once
// Appends small pieces of text to a ByteSink through one large buffer.
// A failed write is sticky: later appends do nothing and ok() stays false.
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"

namespace velorin {

class BufferedWriter {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;

  explicit BufferedWriter(ByteSink& sink, std::size_t bufferSize = kDefaultBufferSize);

  // Small pieces that fit the buffer are copied inline; everything else
  // (a full buffer, a failed writer) takes the out-of-line path.
  void Append(std::string_view text) {
    if (ok_ && text.size() <= buffer_.size() - used_) {
      if (!text.empty()) std::memcpy(buffer_.data() + used_, text.data(), text.size());
      used_ += text.size();
      return;
    }
    AppendBeyondBuffer(text);
  }
  void Append(char c) {
    if (ok_ && used_ < buffer_.size()) {
      buffer_[used_++] = c;
      return;
    }
    AppendBeyondBuffer(std::string_view(&c, 1));
  }
  /// The next `size` bytes of the buffer, for the caller to fill, when they
  /// fit what is left of it (and the writer has not failed); else nullptr,
  /// and nothing changes: Append the pieces instead, which writes the buffer
  /// out at the same bytes as ever.
  char* Claim(std::size_t size) {
    if (!ok_ || size > buffer_.size() - used_) return nullptr;
    char* const piece = buffer_.data() + used_;
    used_ += size;
    return piece;
  }
  /// Hands what is buffered to the sink now (for a reader downstream that
  /// waits for it); false if any write failed.
  bool Flush();
  /// Writes what is buffered and closes the sink; false if any write failed.
  bool Close();
  bool ok() const { return ok_; }

 private:
  /// Append when the piece does not fit what is left of the buffer, or the
  /// writer has failed.
  void AppendBeyondBuffer(std::string_view text);

  ByteSink& sink_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

}  // namespace velorin
