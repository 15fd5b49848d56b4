#pragma once
// Standard output as velorin-cli writes a converted file to it: the bytes as
// they are, or on a Windows console the characters that the CP932 bytes of
// an NVI or POT file stand for, whatever code page the console is set to.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin {

/// CP932 bytes shown as the UTF-8 text they stand for. A lead byte at the
/// end of one write waits for its second byte in the next.
class Cp932TextSink : public ByteSink {
 public:
  /// Shows a piece of UTF-8 text; false, with the error set, on failure.
  using Show = std::function<bool(std::string_view text, std::error_code& error)>;

  explicit Cp932TextSink(Show show) : show_(std::move(show)) {}

  bool Write(const char* data, std::size_t size) override;
  /// Only reports: the stream stays open.
  bool Close() override { return !error_; }
  std::error_code error() const override { return error_; }

 private:
  Show show_;
  std::string pendingLead_;
  std::error_code error_;
};

/// Standard output; Close() only reports, the stream stays open.
std::unique_ptr<ByteSink> StandardOutputSink();

}  // namespace velorin
