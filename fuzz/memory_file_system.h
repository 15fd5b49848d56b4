#pragma once
// A FileSystem in memory for the whole-run fuzz target: files are strings,
// reads come in chunks of a chosen size, and one fault can be planted (a
// read error, a full disk under the output or the log, a failed rename).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/file_system.h"

namespace velorin::fuzzing {

enum class Fault { kNone, kReadError, kOutputFull, kLogFull, kCommitFails, kNoOutputFolder };

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::size_t readChunk = 4096;
  Fault fault = Fault::kNone;
  std::size_t faultAfter = 0;  ///< bytes delivered or written before the fault
  std::string logPath;         ///< the file that kLogFull fills

  std::unique_ptr<ByteSource> OpenForReading(const std::string& path,
                                             std::error_code& ec) override {
    const auto found = files.find(path);
    if (found == files.end()) {
      ec = std::make_error_code(std::errc::no_such_file_or_directory);
      return nullptr;
    }
    const std::optional<std::size_t> failAfter =
        fault == Fault::kReadError ? std::optional(faultAfter) : std::nullopt;
    return std::make_unique<Source>(found->second, readChunk, failAfter);
  }

  std::unique_ptr<ByteSink> OpenForWriting(const std::string& path, std::error_code&) override {
    files[path].clear();
    return std::make_unique<Sink>(*this, path, path == logPath && fault == Fault::kLogFull);
  }

  std::unique_ptr<ReplacingSink> OpenForReplacing(const std::string& path,
                                                  std::error_code& ec) override {
    if (fault == Fault::kNoOutputFolder) {
      ec = std::make_error_code(std::errc::no_such_file_or_directory);
      return nullptr;
    }
    return std::make_unique<Replacing>(*this, path);
  }

  bool IsNormalFile(const std::string& path) override { return files.count(path) > 0; }
  bool NameSameFile(const std::string& a, const std::string& b) override { return a == b; }

 private:
  static std::error_code DiskFull() { return std::make_error_code(std::errc::no_space_on_device); }

  class Source : public ByteSource {
   public:
    Source(std::string data, std::size_t chunk, std::optional<std::size_t> failAfter)
        : data_(std::move(data)), chunk_(std::max<std::size_t>(chunk, 1)), failAfter_(failAfter) {}
    std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
      std::size_t limit = data_.size();
      if (failAfter_) {
        if (position_ >= *failAfter_) {
          error_ = std::make_error_code(std::errc::io_error);
          return -1;
        }
        limit = std::min(limit, *failAfter_);
      }
      const std::size_t count = std::min({capacity, chunk_, limit - position_});
      std::memcpy(buffer, data_.data() + position_, count);
      position_ += count;
      return static_cast<std::ptrdiff_t>(count);
    }
    std::error_code error() const override { return error_; }

   private:
    std::string data_;
    std::size_t chunk_;
    std::optional<std::size_t> failAfter_;
    std::size_t position_ = 0;
    std::error_code error_;
  };

  /// Writes straight into a file of the file system (the log).
  class Sink : public ByteSink {
   public:
    Sink(MemoryFileSystem& fs, std::string path, bool fills)
        : fs_(fs), path_(std::move(path)), fills_(fills) {}
    bool Write(const char* data, std::size_t size) override {
      std::string& file = fs_.files[path_];
      if (fills_ && file.size() + size > fs_.faultAfter) {
        error_ = DiskFull();
        return false;
      }
      file.append(data, size);
      return true;
    }
    bool Close() override { return !error_; }
    std::error_code error() const override { return error_; }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
    bool fills_;
    std::error_code error_;
  };

  /// Collects the output apart and puts it in place on Commit.
  class Replacing : public ReplacingSink {
   public:
    Replacing(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const char* data, std::size_t size) override {
      if (fs_.fault == Fault::kOutputFull && bytes_.size() + size > fs_.faultAfter) {
        error_ = DiskFull();
        return false;
      }
      bytes_.append(data, size);
      return true;
    }
    bool Close() override { return !error_; }
    bool Commit() override {
      if (error_) return false;
      if (fs_.fault == Fault::kCommitFails) {
        error_ = std::make_error_code(std::errc::permission_denied);
        return false;
      }
      fs_.files[path_] = std::move(bytes_);
      return true;
    }
    void Discard() override { bytes_.clear(); }
    std::error_code error() const override { return error_; }

   private:
    MemoryFileSystem& fs_;
    std::string path_;
    std::string bytes_;
    std::error_code error_;
  };
};

}  // namespace velorin::fuzzing
