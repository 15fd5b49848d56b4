#pragma once
// The local disk as velorin-cli sees it: standard input and output under two
// reserved path texts, reads that a signal can cut short while a pipe or
// terminal is quiet, and a count of the input bytes read for the progress line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/input_read_count.h"
#include "platform/file_system.h"

namespace velorin {

class StdioFileSystem : public LocalFileSystem, public InputReadCount {
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
  std::optional<std::string> IdentityOf(const std::string& path) override;
  /// The standard streams have no size, no head to look at, and are no
  /// folders.
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadHead(const std::string& path, std::size_t count) override;
  bool IsFolder(const std::string& path) override;

  void ExpectInputs(const std::vector<std::string>& paths) override;
  std::uint64_t BytesRead() const override { return bytesBefore_ + bytesRead_; }
  std::optional<std::uint64_t> InputSize() const override {
    return expected_ ? totalSize_ : inputSize_;
  }

 private:
  std::uint64_t bytesRead_ = 0;
  std::optional<std::uint64_t> inputSize_;
  bool expected_ = false;
  std::uint64_t bytesBefore_ = 0;  ///< of the expected inputs read before
  std::optional<std::uint64_t> totalSize_;
};

}  // namespace velorin
