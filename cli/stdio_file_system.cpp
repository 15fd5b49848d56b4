#include "cli/stdio_file_system.h"

#include "cli/standard_streams.h"
#include "platform/file_identity.h"
#include "platform/native_file.h"
#include "platform/standard_streams.h"

namespace velorin {

namespace {

bool IsStream(const std::string& path) {
  return path == StdioFileSystem::kStandardInput || path == StdioFileSystem::kStandardOutput;
}

StandardStream StreamOf(const std::string& path) {
  return path == StdioFileSystem::kStandardInput ? StandardStream::kInput : StandardStream::kOutput;
}

}  // namespace

std::unique_ptr<ByteSource> StdioFileSystem::OpenForReading(const std::string& path,
                                                            std::error_code& ec) {
  if (expected_) bytesBefore_ += bytesRead_;
  bytesRead_ = 0;
  inputSize_.reset();
  return OpenInterruptibleSource(path == kStandardInput ? std::string() : path, bytesRead_,
                                 inputSize_, ec);
}

std::unique_ptr<ByteSink> StdioFileSystem::OpenForWriting(const std::string& path,
                                                          std::error_code& ec) {
  if (path == kStandardOutput) {
    ec.clear();
    return StandardOutputSink();
  }
  return LocalFileSystem::OpenForWriting(path, ec);
}

std::unique_ptr<ReplacingSink> StdioFileSystem::OpenForReplacing(const std::string& path,
                                                                 std::error_code& ec) {
  // Standard output streams as it goes: there is no file to keep.
  if (path == kStandardOutput) {
    ec.clear();
    return WriteInPlace(StandardOutputSink());
  }
  return LocalFileSystem::OpenForReplacing(path, ec);
}

void StdioFileSystem::ExpectInputs(const std::vector<std::string>& paths) {
  expected_ = true;
  bytesBefore_ = 0;
  totalSize_ = 0;
  for (const std::string& path : paths) {
    const std::optional<std::uint64_t> size = FileSize(path);
    if (!size) {
      totalSize_.reset();
      return;
    }
    *totalSize_ += *size;
  }
}

std::optional<std::uint64_t> StdioFileSystem::FileSize(const std::string& path) {
  if (IsStream(path)) return std::nullopt;
  return LocalFileSystem::FileSize(path);
}

std::optional<std::string> StdioFileSystem::ReadHead(const std::string& path, std::size_t count) {
  if (IsStream(path)) return std::nullopt;
  return LocalFileSystem::ReadHead(path, count);
}

bool StdioFileSystem::IsFolder(const std::string& path) {
  return !IsStream(path) && LocalFileSystem::IsFolder(path);
}

bool StdioFileSystem::IsNormalFile(const std::string& path) {
  // Standard output is written whatever it is connected to.
  if (IsStream(path)) return false;
  // Any file counts, hidden ones too: the command line never overwrites a
  // file without --force or a yes (the window's look-up passes over hidden
  // and system files on Windows).
  return IsExistingFile(path);
}

bool StdioFileSystem::NameSameFile(const std::string& a, const std::string& b) {
  if (!IsStream(a) && !IsStream(b)) return LocalFileSystem::NameSameFile(a, b);
  if (a == b) return false;  // "-" in and "-" out are two streams
  // A stream against a file, or standard input against standard output: the
  // same when both are one regular file.
  if (IsStream(a) && IsStream(b)) return StreamsAreOneFile();
  return IsStream(a) ? StreamIsFile(StreamOf(a), b) : StreamIsFile(StreamOf(b), a);
}

std::optional<std::string> StdioFileSystem::IdentityOf(const std::string& path) {
  // Standard input is read once at most: it repeats no file.
  return IsStream(path) ? std::nullopt : LocalFileSystem::IdentityOf(path);
}

}  // namespace velorin
