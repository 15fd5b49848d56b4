#include "platform/buffered_writer.h"

#include <algorithm>
#include <cstring>

namespace velorin {

BufferedWriter::BufferedWriter(ByteSink& sink, std::size_t bufferSize)
    : sink_(sink), buffer_(std::max<std::size_t>(bufferSize, 1)) {}

void BufferedWriter::AppendBeyondBuffer(std::string_view text) {
  if (!ok_ || text.empty()) return;  // an empty view may have no data pointer
  if (text.size() > buffer_.size() - used_) {
    Flush();
    if (!ok_) return;
    if (text.size() >= buffer_.size()) {
      // Larger than the whole buffer: copying it first would gain nothing.
      ok_ = sink_.Write(text.data(), text.size());
      return;
    }
  }
  std::memcpy(buffer_.data() + used_, text.data(), text.size());
  used_ += text.size();
}

bool BufferedWriter::Close() {
  Flush();
  // The sink is closed even after a failure, so that the file is released.
  const bool closed = sink_.Close();
  ok_ = ok_ && closed;
  return ok_;
}

bool BufferedWriter::Flush() {
  if (ok_ && used_ > 0) ok_ = sink_.Write(buffer_.data(), used_);
  used_ = 0;
  return ok_;
}

}  // namespace velorin
