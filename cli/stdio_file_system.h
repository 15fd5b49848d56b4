#pragma once
// The local disk as velorin-cli sees it: standard input and output under two
// reserved path texts, reads that a signal can cut short while a pipe or
// terminal is quiet, and a count of the input bytes read for the progress line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace velorin {

class StdioFileSystem : public LocalFileSystem {
 public:
  /// The path texts that stand for the standard streams. They are not
  /// ordinary file names; the command line maps "-" to them.
  static constexpr std::string_view kStandardInput = "<standard input>";
  static constexpr std::string_view kStandardOutput = "<standard output>";

  std::unique_ptr<ByteSource> OpenForReading(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ByteSink> OpenForWriting(const std::string& path, std::error_code& ec) override;
  std::unique_ptr<ReplacingSink> OpenForReplacing(const std::string& path,
                                                  std::error_code& ec) override;
  bool IsNormalFile(const std::string& path) override;
  /// Also compares the standard streams, by what they are connected to:
  /// "convert - x.nvi < x.nvi" and "convert x.pot - 1<>x.pot" name one file.
  bool NameSameFile(const std::string& a, const std::string& b) override;

  /// Bytes read so far from the last file opened for reading.
  std::uint64_t BytesRead() const { return bytesRead_; }
  /// Size of that file when it is a regular file.
  std::optional<std::uint64_t> InputSize() const { return inputSize_; }

 private:
  std::uint64_t bytesRead_ = 0;
  std::optional<std::uint64_t> inputSize_;
};

}  // namespace velorin
