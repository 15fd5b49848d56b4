#include <windows.h>

#include <random>

#include "platform/abort_cleanup.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/replacing_file.h"
#include "platform/system_error_win32.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

/// Attributes a replaced file keeps: how Explorer shows it. Read-only never
/// comes here (such a file is refused), and the rest belong to the new file.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

/// Writes every byte, through short writes (a file-size limit under Wine
/// cuts a write short before it fails).
bool WriteAll(HANDLE file, const char* data, std::size_t size, std::error_code& error) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) {
      error = LastWin32Error();
      return false;
    }
    if (written == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

/// Renames `from` over `to` in one step. Windows refuses to replace a file
/// that another program has open at that moment (a virus scanner, an indexer,
/// a second run about to replace it too): such a hold is brief, so the
/// rename is tried again for about a second.
bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
  constexpr int kAttempts = 20;
  constexpr DWORD kPause = 50;  // milliseconds
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (attempt == kAttempts || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
      SetLastError(error);
      return false;
    }
    Sleep(kPause);
  }
}

/// A new, hidden temporary file beside the target, opened for writing. Others
/// may delete it (the clean-up after a second Ctrl-C runs on another thread).
HANDLE CreateTemporary(const std::wstring& target, std::wstring& temporary) {
  std::size_t nameStart = target.size();
  while (nameStart > 0 && !IsSeparator(target[nameStart - 1]) && target[nameStart - 1] != L':') {
    --nameStart;
  }
  // Room for the dot and the suffix within the usual 255-character name limit.
  const std::wstring name = target.substr(nameStart, 200);
  static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring suffix;
    for (int i = 0; i < 6; ++i) suffix += kLetters[random() % 36];
    temporary = target.substr(0, nameStart) + L"." + name + L".velorin-" + suffix;
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

class TemporaryFileSink : public ReplacingSink {
 public:
  /// `keptAttributes`: those of the file that is replaced, or none (a new file).
  TemporaryFileSink(HANDLE file, std::wstring temporary, std::wstring target,
                    std::optional<DWORD> keptAttributes)
      : file_(file),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        keptAttributes_(keptAttributes) {
    RememberPendingTemporaryFile(Narrow(temporary_).value_or(std::string()));
  }
  ~TemporaryFileSink() override {
    if (!finished_) Discard();
  }
  TemporaryFileSink(const TemporaryFileSink&) = delete;
  TemporaryFileSink& operator=(const TemporaryFileSink&) = delete;

  bool Write(const char* data, std::size_t size) override {
    if (error_) return false;
    if (file_ == INVALID_HANDLE_VALUE) {
      error_ = std::make_error_code(std::errc::bad_file_descriptor);
      return false;
    }
    return WriteAll(file_, data, size, error_);
  }

  bool Close() override {
    if (file_ != INVALID_HANDLE_VALUE) {
      // On the disk before it takes an old file's place (see the POSIX
      // sibling); a new file is spared the wait.
      if (keptAttributes_ && !error_ && !FlushFileBuffers(file_)) error_ = LastWin32Error();
      if (!CloseHandle(file_) && !error_) error_ = LastWin32Error();
      file_ = INVALID_HANDLE_VALUE;
    }
    return !error_;
  }

  bool Commit() override {
    if (finished_) return !error_;
    if (Close()) {
      const DWORD attributes = keptAttributes_ ? *keptAttributes_ & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
      SetFileAttributesW(temporary_.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
      if (!MoveIntoPlace(temporary_, target_)) error_ = LastWin32Error();
    }
    if (error_) {
      Discard();
      return false;
    }
    finished_ = true;
    ForgetPendingTemporaryFile();
    return true;
  }

  void Discard() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!finished_) DeleteFileW(temporary_.c_str());
    finished_ = true;
    ForgetPendingTemporaryFile();
  }

  std::error_code error() const override { return error_; }

 private:
  HANDLE file_;
  std::wstring temporary_;
  std::wstring target_;
  std::optional<DWORD> keptAttributes_;
  bool finished_ = false;
  std::error_code error_;
};

}  // namespace

std::unique_ptr<ReplacingSink> OpenReplacingFile(const std::string& path, std::error_code& ec) {
  ec.clear();
  const std::string followed = FollowLinks(path, ec);
  if (ec) return nullptr;
  const std::wstring target = Widen(followed);

  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  // Opening the target with the access the final rename needs (writing and
  // deleting), without changing it, refuses now what the rename would refuse
  // after the whole conversion: a read-only file, a file another program
  // holds, even one it lets others write but not delete. It also tells a
  // device from a file.
  std::optional<DWORD> keptAttributes;
  const HANDLE existing = CreateFileW(
      target.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    const bool device = GetFileType(existing) != FILE_TYPE_DISK;
    CloseHandle(existing);
    if (device) {
      // Nothing to keep (NUL, COM1): written as it is.
      std::unique_ptr<ByteSink> sink = OpenFileForWriting(followed, ec);
      return sink ? WriteInPlace(std::move(sink)) : nullptr;
    }
    keptAttributes = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    ec = LastWin32Error();
    return nullptr;
  }

  std::wstring temporary;
  const HANDLE file = CreateTemporary(target, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    ec = LastWin32Error();
    return nullptr;
  }
  return std::make_unique<TemporaryFileSink>(file, std::move(temporary), target, keptAttributes);
}

}  // namespace velorin
