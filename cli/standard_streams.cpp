#include "cli/standard_streams.h"

#include "platform/standard_streams.h"
#include "text/cp932_decoder.h"
#include "text/sjis_scan.h"

namespace velorin {

namespace {

/// True when the last byte of `bytes` leads a character whose second byte
/// has not come yet.
bool EndsInLeadByte(std::string_view bytes) {
  std::size_t at = 0;
  bool lead = false;
  while (at < bytes.size()) {
    lead = IsLeadByte(static_cast<unsigned char>(bytes[at]));
    if (lead && at + 1 < bytes.size()) {
      at += 2;
      lead = false;
    } else {
      ++at;
    }
  }
  return lead;
}

}  // namespace

bool Cp932TextSink::Write(const char* data, std::size_t size) {
  if (error_) return false;
  std::string bytes = pendingLead_ + std::string(data, size);
  pendingLead_.clear();
  if (EndsInLeadByte(bytes)) {
    pendingLead_ = bytes.back();
    bytes.pop_back();
  }
  const std::string text = Cp932ToUtf8(bytes);
  return text.empty() || show_(text, error_);
}

std::unique_ptr<ByteSink> StandardOutputSink() {
  if (!StandardOutputIsConsole()) return StandardOutputBytes();
  return std::make_unique<Cp932TextSink>(WriteConsoleCharacters);
}

}  // namespace velorin
