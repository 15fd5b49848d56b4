#pragma once
// A byte source whose first bytes can be looked at before reading starts
// (to choose a text file's encoding), without seeking: they are kept and
// handed out again.
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "text/text_encoding.h"

namespace velorin {

class PeekedSource : public ByteSource {
 public:
  /// Reads up to `size` bytes ahead (fewer at the end of the data).
  PeekedSource(ByteSource& inner, std::size_t size);

  std::string_view head() const { return head_; }
  /// True when the head is all the data there is.
  bool headIsWhole() const { return whole_; }
  /// Drops the first `count` bytes of the head (a byte-order mark).
  void Skip(std::size_t count) { offset_ = std::min(count, head_.size()); }

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override;
  std::error_code error() const override { return inner_.error(); }
  bool HasDataReady() override {
    return offset_ < head_.size() || failed_ || whole_ || inner_.HasDataReady();
  }

 private:
  ByteSource& inner_;
  std::string head_;
  std::size_t offset_ = 0;
  bool whole_ = false;
  bool failed_ = false;
};

/// The encoding of the text in `source`: as told, or as its head says. A
/// UTF-8 byte-order mark is dropped, unless the text is told to be CP932.
TextEncoding TakeTextEncoding(PeekedSource& source, std::optional<TextEncoding> told);

}  // namespace velorin
