#include <windows.h>

#include <optional>
#include <random>

#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/handle_win32.h"
#include "platform/system_error_win32.h"
#include "platform/temporary_file.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

/// Attributes a replaced file keeps: how Explorer shows it. Read-only never
/// comes here (such a file is refused), and the rest belong to the new file.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

/// Renames `from` over `to` in one step. Windows refuses to replace a file
/// that another program has open at that moment (a virus scanner, an indexer,
/// a second run about to replace it too): such a hold is brief, so the
/// rename is tried again for about a second.
bool MoveOver(const std::wstring& from, const std::wstring& to) {
  constexpr int kAttempts = 20;
  constexpr DWORD kPause = 50;  // milliseconds
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (attempt == kAttempts ||
        (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
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
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

class Win32TemporaryFile : public TemporaryFile {
 public:
  /// `keptAttributes`: those of the file that is replaced, or none (a new file).
  Win32TemporaryFile(HANDLE file, std::wstring temporary, std::wstring target,
                     std::optional<DWORD> keptAttributes)
      : file_(file),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        keptAttributes_(keptAttributes) {}
  ~Win32TemporaryFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  Win32TemporaryFile(const Win32TemporaryFile&) = delete;
  Win32TemporaryFile& operator=(const Win32TemporaryFile&) = delete;

  std::string PathText() const override { return Narrow(temporary_).value_or(std::string()); }
  bool ReplacesExisting() const override { return keptAttributes_.has_value(); }

  std::error_code Write(const char* data, std::size_t size) override {
    return WriteHandle(file_, data, size);
  }

  std::error_code Sync() override {
    return FlushFileBuffers(file_) ? std::error_code() : LastWin32Error();
  }

  std::error_code Close() override {
    const HANDLE file = file_;
    file_ = INVALID_HANDLE_VALUE;
    return CloseHandle(file) ? std::error_code() : LastWin32Error();
  }

  std::error_code MoveIntoPlace() override {
    const DWORD attributes =
        keptAttributes_ ? *keptAttributes_ & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
    SetFileAttributesW(temporary_.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
    return MoveOver(temporary_, target_) ? std::error_code() : LastWin32Error();
  }

  void Remove() override { DeleteFileW(temporary_.c_str()); }

 private:
  HANDLE file_;
  std::wstring temporary_;
  std::wstring target_;
  std::optional<DWORD> keptAttributes_;
};

/// The folder part of `target`, its last separator kept ("" for a bare name).
std::wstring FolderPart(const std::wstring& target) {
  std::size_t nameStart = target.size();
  while (nameStart > 0 && !IsSeparator(target[nameStart - 1]) && target[nameStart - 1] != L':') {
    --nameStart;
  }
  return target.substr(0, nameStart);
}

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

/// Deletes `path` when no program has it open: opened alone, it cannot be
/// while a save under way writes it.
void DeleteIfUnused(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FILE_DISPOSITION_INFO dispose{};
  dispose.DeleteFile = TRUE;
  SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
  CloseHandle(file);
}

}  // namespace

namespace {

/// The temporary file that is to take `target`'s place, once the ones left
/// beside it are gone.
ReplacementTarget NewFileInPlaceOf(const std::wstring& target, std::optional<DWORD> keptAttributes,
                                   std::error_code& ec) {
  RemoveStaleTemporaryFiles(Narrow(FolderPart(target)).value_or(std::string(".")),
                            kStaleTemporaryAge);
  std::wstring temporary;
  const HANDLE file = CreateTemporary(target, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    ec = LastWin32Error();
    return {};
  }
  return {std::make_unique<Win32TemporaryFile>(file, std::move(temporary), target, keptAttributes),
          nullptr};
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds age) {
  std::wstring prefix = Widen(folder);
  if (!prefix.empty() && !IsSeparator(prefix.back()) && prefix.back() != L':') prefix += L'\\';
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW((prefix + L".*.velorin-*").c_str(), FindExInfoBasic,
                                         &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  constexpr ULONGLONG kTicksPerSecond = 10'000'000;
  const ULONGLONG before = Ticks(now) - static_cast<ULONGLONG>(age.count()) * kTicksPerSecond;
  do {
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        Ticks(found.ftLastWriteTime) > before) {
      continue;
    }
    const std::optional<std::string> name = Narrow(found.cFileName);
    if (name && IsTemporaryFileName(*name)) DeleteIfUnused(prefix + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

ReplacementTarget OpenReplacementTarget(const std::string& path, bool followLinks,
                                        std::error_code& ec) {
  ec.clear();
  const std::string followed = followLinks ? FollowLinks(path, ec) : path;
  if (ec) return {};
  const std::wstring target = Widen(followed);

  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return {};
  }
  // A link replaced itself keeps nothing of what it pointed to.
  if (!followLinks && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return NewFileInPlaceOf(target, FILE_ATTRIBUTE_NORMAL, ec);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return {};
  }
  // Windows refuses to write a read-only file, whoever asks; Wine run as
  // root would write it anyway (and drop its read-only mark): refused here
  // on both.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ec = std::make_error_code(std::errc::permission_denied);
    return {};
  }
  // Opening the target with the access the final rename needs (writing and
  // deleting), without changing it, refuses now what the rename would refuse
  // after the whole conversion: a read-only file, a file another program
  // holds, even one it lets others write but not delete. It also tells a
  // device from a file.
  std::optional<DWORD> keptAttributes;
  const HANDLE existing = CreateFileW(target.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    const bool device = GetFileType(existing) != FILE_TYPE_DISK;
    CloseHandle(existing);
    // Nothing to keep (NUL, COM1): written as it is.
    if (device) return {nullptr, OpenFileForWriting(followed, ec)};
    keptAttributes = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    ec = LastWin32Error();
    return {};
  }

  return NewFileInPlaceOf(target, keptAttributes, ec);
}

}  // namespace velorin
