#include <windows.h>

#include <array>
#include <cstring>
#include <optional>

#include "platform/file_identity.h"
#include "platform/system_error_win32.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

/// What makes a file itself: its volume and its index there, with its full
/// name where the system tells it.
struct FileKey {
  ULONGLONG volume = 0;  ///< 0: unknown (Wine's answer for inherited standard handles)
  std::array<BYTE, 16> index{};
  std::optional<std::wstring> name;
};

bool SameFile(const FileKey& a, const FileKey& b) {
  if (a.index != b.index) return false;
  if (a.volume != 0 && b.volume != 0) return a.volume == b.volume;
  // One volume unknown: the same index is taken as the same file (a false
  // alarm refuses a run; a miss could destroy the input), unless both full
  // names are known and differ.
  if (a.name && b.name) return SameNameIgnoringCase(*a.name, *b.name);
  return true;
}

/// The full name of an open file without the "\\?\" that the system puts
/// in front.
std::optional<std::wstring> NameOf(HANDLE file) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(
        file, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(length + 1);
  }
  if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + name.substr(8);
  if (name.rfind(L"\\\\?\\", 0) == 0) return name.substr(4);
  return name;
}

std::optional<FileKey> KeyOf(HANDLE file) {
  FileKey key;
  FILE_ID_INFO id{};
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandleEx(file, FileIdInfo, &id, sizeof id)) {
    key.volume = id.VolumeSerialNumber;
    std::memcpy(key.index.data(), id.FileId.Identifier, key.index.size());
  } else if (GetFileInformationByHandle(file, &information)) {
    // Older systems and file systems: a 64-bit index, laid out as the
    // 128-bit one holds it.
    key.volume = information.dwVolumeSerialNumber;
    const ULONGLONG index =
        (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    std::memcpy(key.index.data(), &index, sizeof index);
  } else {
    return std::nullopt;
  }
  key.name = NameOf(file);
  return key;
}

/// Opens a file or folder for nothing but questions about it; links followed.
HANDLE OpenForQuestions(const std::wstring& path) {
  return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::optional<FileKey> KeyOfPath(const std::wstring& path) {
  const HANDLE file = OpenForQuestions(path);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<FileKey> key = KeyOf(file);
  CloseHandle(file);
  return key;
}

std::optional<FileKey> KeyOfStream(StandardStream stream) {
  const HANDLE handle =
      GetStdHandle(stream == StandardStream::kInput ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      GetFileType(handle) != FILE_TYPE_DISK) {
    return std::nullopt;
  }
  return KeyOf(handle);
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

/// The final component of `path` as written (after the last separator or a
/// drive's colon).
std::wstring_view FinalComponent(std::wstring_view path) {
  std::size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1]) && path[start - 1] != L':') --start;
  return path.substr(start);
}

/// Where the file named by `path` will be: its folder's identity and its name.
struct Place {
  FileKey folder;
  std::wstring name;
};

std::optional<Place> PlaceOf(const std::string& path) {
  std::error_code ec;
  const std::wstring target = Widen(FollowLinks(path, ec));
  if (ec) return std::nullopt;
  // "a\.", "a\.." and "a\" name folders, never a file to be written.
  const std::wstring_view written = FinalComponent(target);
  if (written.empty() || written == L"." || written == L"..") return std::nullopt;
  // The full name resolves "..", a drive's current folder and the trailing
  // dots and blanks that Windows drops from a name.
  wchar_t* filePart = nullptr;
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(target.c_str(), static_cast<DWORD>(full.size()), full.data(), &filePart);
    if (length == 0) return std::nullopt;
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length + 1);
  }
  if (filePart == nullptr) return std::nullopt;
  const std::size_t nameStart = static_cast<std::size_t>(filePart - full.data());
  std::wstring name = full.substr(nameStart);
  std::wstring folder = full.substr(0, nameStart);
  // "C:\" keeps its backslash; "C:\data\" drops it.
  if (folder.size() > 3 && IsSeparator(folder.back())) folder.pop_back();
  std::optional<FileKey> folderKey = KeyOfPath(folder);
  if (!folderKey) return std::nullopt;
  return Place{std::move(*folderKey), std::move(name)};
}

}  // namespace

std::string FollowLinks(const std::string& path, std::error_code& ec) {
  ec.clear();
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return path;
  }
  // A symbolic link: the system follows the whole chain when it opens it.
  const HANDLE file = OpenForQuestions(wide);
  if (file == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_CANT_RESOLVE_FILENAME) ec = Win32Error(ERROR_CANT_RESOLVE_FILENAME);
    return path;  // a link to nothing (yet) is written as itself
  }
  const std::optional<std::wstring> target = NameOf(file);
  CloseHandle(file);
  if (!target) return path;
  return Narrow(*target).value_or(path);
}

bool LieInOneFolder(const std::string& a, const std::string& b) {
  auto folderOf = [](const std::string& path) {
    std::wstring wide = Widen(path);
    wide.resize(wide.size() - FinalComponent(wide).size());
    return wide.empty() ? std::wstring(L".") : wide;
  };
  const std::optional<FileKey> folderA = KeyOfPath(folderOf(a));
  const std::optional<FileKey> folderB = KeyOfPath(folderOf(b));
  return folderA && folderB && SameFile(*folderA, *folderB);
}

bool NameSameFile(const std::string& a, const std::string& b) {
  // Names that differ only in case are one name on Windows.
  if (SameNameIgnoringCase(Widen(a), Widen(b))) return true;
  const std::optional<FileKey> keyA = KeyOfPath(Widen(a));
  const std::optional<FileKey> keyB = KeyOfPath(Widen(b));
  if (keyA && keyB) return SameFile(*keyA, *keyB);
  const std::optional<Place> placeA = PlaceOf(a);
  const std::optional<Place> placeB = PlaceOf(b);
  return placeA && placeB && SameFile(placeA->folder, placeB->folder) &&
         SameNameIgnoringCase(placeA->name, placeB->name);
}

std::optional<std::string> FileIdentityKey(const std::string& path) {
  const std::optional<FileKey> key = KeyOfPath(Widen(path));
  if (!key) return std::nullopt;
  // The volume is left out: where it is unknown, the index alone decides
  // (see SameFile).
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (const BYTE b : key->index) {
    text += kHex[b >> 4];
    text += kHex[b & 0xF];
  }
  return text;
}

bool StreamIsFile(StandardStream stream, const std::string& path) {
  const std::optional<FileKey> streamKey = KeyOfStream(stream);
  const std::optional<FileKey> fileKey = KeyOfPath(Widen(path));
  return streamKey && fileKey && SameFile(*streamKey, *fileKey);
}

bool StreamsAreOneFile() {
  const std::optional<FileKey> input = KeyOfStream(StandardStream::kInput);
  const std::optional<FileKey> output = KeyOfStream(StandardStream::kOutput);
  return input && output && SameFile(*input, *output);
}

}  // namespace velorin
