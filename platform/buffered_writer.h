#pragma once
// Appends small pieces of text to a ByteSink through one large buffer.
// A failed write is sticky: later appends do nothing and ok() stays false.
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"

namespace velorin {

class BufferedWriter {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;

  explicit BufferedWriter(ByteSink& sink, std::size_t bufferSize = kDefaultBufferSize);

  void Append(std::string_view text);
  void Append(char c);
  /// Writes what is buffered and closes the sink; false if any write failed.
  bool Close();
  bool ok() const { return ok_; }

 private:
  void Flush();

  ByteSink& sink_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

}  // namespace velorin
