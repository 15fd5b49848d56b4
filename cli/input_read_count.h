#pragma once
// How far a run has read its inputs, for the progress line: the file system
// that opens them counts the bytes as they come.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velorin {

class InputReadCount {
 public:
  virtual ~InputReadCount() = default;
  /// The inputs of a run that reads several one after another: from here on
  /// BytesRead() and InputSize() count them all.
  virtual void ExpectInputs(const std::vector<std::string>& paths) = 0;
  /// Bytes read so far from the last file opened for reading (and the
  /// expected inputs before it).
  virtual std::uint64_t BytesRead() const = 0;
  /// Size of that file when it is a regular file (of all the expected
  /// inputs, when each is one).
  virtual std::optional<std::uint64_t> InputSize() const = 0;
};

}  // namespace velorin
