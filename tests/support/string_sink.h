#pragma once
// A ByteSink that keeps everything written in a string.
#include <string>

#include "platform/byte_stream.h"

namespace velorin::testing {

class StringSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    bytes.append(data, size);
    return true;
  }
  bool Close() override { return true; }
  std::error_code error() const override { return {}; }

  std::string bytes;
};

}  // namespace velorin::testing
