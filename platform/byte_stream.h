#pragma once
// The two ends of a file as the engine sees them: bytes in, bytes out.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <system_error>

namespace velorin {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  /// Reads up to `capacity` bytes into `buffer`. Returns the count read,
  /// 0 at the end of the data, or -1 on a read error (see error()). A read
  /// given up because the person running the program cancelled (Ctrl-C while
  /// a pipe is quiet) fails with std::errc::operation_canceled.
  virtual std::ptrdiff_t Read(char* buffer, std::size_t capacity) = 0;
  virtual std::error_code error() const = 0;
  /// False when the next Read() would wait for data to arrive (a quiet pipe
  /// or terminal); files are always ready.
  virtual bool HasDataReady() { return true; }
  /// Waits up to `limit` for data to arrive; false when this source cannot
  /// wait in slices (its Read() then waits on its own).
  virtual bool WaitForData(std::chrono::milliseconds /*limit*/) { return false; }
  /// Moves to `offset` bytes from the start, for the Read() that follows;
  /// false, with nothing moved, where the source cannot (a pipe). A reader
  /// that needs a few bytes of a large file (a photo's EXIF) skips the rest.
  virtual bool Seek(std::uint64_t /*offset*/) { return false; }
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  /// Writes all `size` bytes or fails; false on failure (see error()).
  virtual bool Write(const char* data, std::size_t size) = 0;
  /// Flushes and closes; false when anything not yet on disk could not be
  /// written. Closing twice is harmless.
  virtual bool Close() = 0;
  virtual std::error_code error() const = 0;
};

}  // namespace velorin
