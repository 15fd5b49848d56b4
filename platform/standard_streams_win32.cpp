#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/handle_win32.h"
#include "platform/interrupt.h"
#include "platform/interrupt_win32.h"
#include "platform/native_file.h"
#include "platform/standard_streams.h"
#include "platform/system_error_win32.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

std::error_code Cancelled() { return std::make_error_code(std::errc::operation_canceled); }

/// A file on a disk, read straight through.
class DiskSource : public ByteSource {
 public:
  DiskSource(HANDLE file, bool owned, std::uint64_t& count)
      : file_(file), owned_(owned), count_(count) {}
  ~DiskSource() override {
    if (owned_) CloseHandle(file_);
  }
  DiskSource(const DiskSource&) = delete;
  DiskSource& operator=(const DiskSource&) = delete;

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    const std::ptrdiff_t count = ReadHandle(file_, buffer, capacity, error_);
    if (count > 0) count_ += static_cast<std::uint64_t>(count);
    return count;
  }
  std::error_code error() const override { return error_; }
  bool Seek(std::uint64_t offset) override {
    if (error_ || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
  }

 private:
  HANDLE file_;
  bool owned_;
  std::uint64_t& count_;
  std::error_code error_;
};

/// What the reading thread and the reader share: one chunk at a time.
struct Chunks {
  static constexpr std::size_t kChunkSize = 64 * 1024;

  Chunks()
      : ready(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        taken(CreateEventW(nullptr, FALSE, TRUE, nullptr)),
        data(kChunkSize) {}
  ~Chunks() {
    CloseHandle(ready);
    CloseHandle(taken);
  }
  Chunks(const Chunks&) = delete;
  Chunks& operator=(const Chunks&) = delete;

  HANDLE ready;  ///< set while there is data, an end or an error to take
  HANDLE taken;  ///< set when the reading thread may read the next chunk
  std::mutex lock;
  std::vector<char> data;
  std::size_t begin = 0;
  std::size_t end = 0;
  bool ended = false;
  std::error_code error;
};

/// The thread that waits in ReadFile on a pipe or console. Nothing else can
/// stop such a wait (Wine offers no PeekNamedPipe on an inherited pipe), so
/// the reader waits on the chunk and on the interrupt instead, and the
/// thread is left to the end of the program when the reader is gone.
void ReadChunks(HANDLE input, bool console, std::shared_ptr<Chunks> chunks) {
  for (;;) {
    WaitForSingleObject(chunks->taken, INFINITE);
    DWORD count = 0;
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = ReadFile(input, chunks->data.data(), static_cast<DWORD>(chunks->data.size()),
                             &count, nullptr);
    const DWORD error = GetLastError();
    if (console && count == 0 && error == ERROR_OPERATION_ABORTED) {
      // Ctrl-C at the console prompt ends the read as if the input had
      // ended; it is the interrupt's to answer, not an end of the input.
      SetEvent(chunks->taken);
      Sleep(50);
      continue;
    }
    const std::lock_guard<std::mutex> guard(chunks->lock);
    if (ok && count > 0) {
      chunks->begin = 0;
      chunks->end = count;
    } else if (ok || error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
      chunks->ended = true;
    } else {
      chunks->error =
          error == ERROR_SUCCESS ? std::make_error_code(std::errc::io_error) : Win32Error(error);
    }
    SetEvent(chunks->ready);
    if (chunks->ended || chunks->error) return;
  }
}

/// A pipe or console, read as its data comes.
class WaitingSource : public ByteSource {
 public:
  WaitingSource(HANDLE input, bool console, std::uint64_t& count)
      : chunks_(std::make_shared<Chunks>()), count_(count) {
    std::thread(ReadChunks, input, console, chunks_).detach();
  }

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (error_) return -1;
    for (;;) {
      if (InterruptRequested()) return Fail(Cancelled());
      {
        const std::lock_guard<std::mutex> guard(chunks_->lock);
        if (chunks_->begin < chunks_->end) {
          const std::size_t count = std::min(capacity, chunks_->end - chunks_->begin);
          std::copy_n(chunks_->data.data() + chunks_->begin, count, buffer);
          chunks_->begin += count;
          if (chunks_->begin == chunks_->end) {
            ResetEvent(chunks_->ready);
            SetEvent(chunks_->taken);
          }
          count_ += count;
          return static_cast<std::ptrdiff_t>(count);
        }
        if (chunks_->ended) return 0;
        if (chunks_->error) return Fail(chunks_->error);
      }
      const HANDLE wake = InterruptWakeEvent();
      const HANDLE waits[2] = {chunks_->ready, wake};
      WaitForMultipleObjects(wake != nullptr ? 2 : 1, waits, FALSE, INFINITE);
    }
  }

  bool HasDataReady() override { return WaitForSingleObject(chunks_->ready, 0) == WAIT_OBJECT_0; }

  std::error_code error() const override { return error_; }

 private:
  std::ptrdiff_t Fail(std::error_code error) {
    error_ = error;
    return -1;
  }

  std::shared_ptr<Chunks> chunks_;
  std::uint64_t& count_;
  std::error_code error_;
};

/// Standard output; Close() only reports, the handle stays open.
class StdoutSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (!error_) error_ = WriteHandle(GetStdHandle(STD_OUTPUT_HANDLE), data, size);
    return !error_;
  }
  bool Close() override { return !error_; }
  std::error_code error() const override { return error_; }

 private:
  std::error_code error_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenInterruptibleSource(const std::string& path, std::uint64_t& count,
                                                    std::optional<std::uint64_t>& size,
                                                    std::error_code& ec) {
  const bool standardInput = path.empty();
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!standardInput) {
    if (IsFolder(path)) {
      ec = std::make_error_code(std::errc::is_a_directory);
      return nullptr;
    }
    input = CreateFileW(Widen(path).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
      ec = LastWin32Error();
      return nullptr;
    }
  } else if (input == nullptr || input == INVALID_HANDLE_VALUE) {
    // A program started without standard input reads an empty one.
    input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
  }
  ec.clear();
  if (GetFileType(input) == FILE_TYPE_DISK) {
    LARGE_INTEGER bytes{};
    if (GetFileSizeEx(input, &bytes)) size = static_cast<std::uint64_t>(bytes.QuadPart);
    return std::make_unique<DiskSource>(input, !standardInput, count);
  }
  return std::make_unique<WaitingSource>(input, IsConsoleHandle(input), count);
}

std::unique_ptr<ByteSink> StandardOutputBytes() { return std::make_unique<StdoutSink>(); }

bool StandardOutputIsConsole() { return IsConsoleHandle(GetStdHandle(STD_OUTPUT_HANDLE)); }

bool WriteConsoleCharacters(std::string_view text, std::error_code& error) {
  const std::wstring wide = Widen(text);
  DWORD written = 0;
  if (!wide.empty() && !WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), wide.data(),
                                      static_cast<DWORD>(wide.size()), &written, nullptr)) {
    error = LastWin32Error();
    return false;
  }
  return true;
}

void UseBinaryStandardStreams() {
  for (std::FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
}

}  // namespace velorin
