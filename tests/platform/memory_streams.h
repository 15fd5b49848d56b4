#pragma once
// In-memory ends of a byte stream for tests: a source that hands its data out
// in chunks of a chosen size (and can fail), a sink that collects what is
// written (and can be told to fail).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/byte_stream.h"

namespace velorin::testing {

class MemorySource : public ByteSource {
 public:
  /// chunkSize 0 hands out as much as the caller asks for at once.
  explicit MemorySource(std::string data, std::size_t chunkSize = 0)
      : data_(std::move(data)), chunkSize_(chunkSize) {}

  /// After `bytes` bytes have been delivered, every read fails.
  void FailAfter(std::size_t bytes) { failAfter_ = bytes; }

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    ++reads_;
    maxCapacity_ = std::max(maxCapacity_, capacity);
    std::size_t limit = data_.size();
    if (failAfter_ && position_ >= *failAfter_) {
      error_ = std::make_error_code(std::errc::io_error);
      return -1;
    }
    if (failAfter_) limit = std::min(limit, *failAfter_);
    std::size_t count = std::min(capacity, limit - position_);
    if (chunkSize_ > 0) count = std::min(count, chunkSize_);
    if (count > 0) std::memcpy(buffer, data_.data() + position_, count);
    position_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }

  std::error_code error() const override { return error_; }
  std::size_t position() const { return position_; }
  std::size_t reads() const { return reads_; }
  /// The largest buffer space a reader offered in one read.
  std::size_t maxCapacity() const { return maxCapacity_; }

 private:
  std::string data_;
  std::size_t chunkSize_;
  std::size_t position_ = 0;
  std::size_t reads_ = 0;
  std::size_t maxCapacity_ = 0;
  std::optional<std::size_t> failAfter_;
  std::error_code error_;
};

class MemorySink : public ByteSink {
 public:
  /// A write that would take the total beyond `bytes` fails (nothing of it is kept).
  void FailAfter(std::size_t bytes) { failAfter_ = bytes; }
  /// Close reports a failure (a flush that did not reach the disk).
  void FailAtClose() { failAtClose_ = true; }

  bool Write(const char* data, std::size_t size) override {
    ++writes_;
    if (error_) return false;
    if (closed_ || (failAfter_ && data_.size() + size > *failAfter_)) {
      error_ = std::make_error_code(std::errc::no_space_on_device);
      return false;
    }
    data_.append(data, size);
    return true;
  }

  bool Close() override {
    if (!closed_) {
      closed_ = true;
      ++closes_;
      if (failAtClose_ && !error_) error_ = std::make_error_code(std::errc::io_error);
    }
    return !error_;
  }

  std::error_code error() const override { return error_; }
  const std::string& data() const { return data_; }
  bool closed() const { return closed_; }
  std::size_t writes() const { return writes_; }
  std::size_t closes() const { return closes_; }

 private:
  std::string data_;
  std::optional<std::size_t> failAfter_;
  bool failAtClose_ = false;
  bool closed_ = false;
  std::size_t writes_ = 0;
  std::size_t closes_ = 0;
  std::error_code error_;
};

}  // namespace velorin::testing
