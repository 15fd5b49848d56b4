#pragma once
// A byte source whose first bytes can be looked at before it is read: they
// are held in a buffer and given again by the reads that follow, so that a
// pipe, which cannot seek back, is told by its head as a file is.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"

namespace velorin {

class PeekedSource : public ByteSource {
 public:
  explicit PeekedSource(ByteSource& inner) : inner_(inner) {}

  /// Reads the first bytes, up to `most`, and holds them. Data that is
  /// ready is taken; a wait for more is made only while `enough` says that
  /// what has come tells too little (a quiet pipe is not waited on for
  /// bytes that change nothing). Stops early at the end of the data or a
  /// failed read, which the reads after the held bytes then give. Once only,
  /// before the first Read().
  std::string_view Peek(std::size_t most, const std::function<bool(std::string_view)>& enough);

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override;
  std::error_code error() const override { return inner_.error(); }
  bool HasDataReady() override;
  bool WaitForData(std::chrono::milliseconds limit) override { return inner_.WaitForData(limit); }
  /// Once the held bytes have all been given; before, the source stays where
  /// it is.
  bool Seek(std::uint64_t offset) override {
    return given_ == held_.size() && !ended_ && !failed_ && inner_.Seek(offset);
  }

 private:
  ByteSource& inner_;
  std::string held_;
  std::size_t given_ = 0;  ///< of held_, by the reads so far
  bool ended_ = false;     ///< the peek met the end of the data
  bool failed_ = false;    ///< the peek met a failed read
};

}  // namespace velorin
