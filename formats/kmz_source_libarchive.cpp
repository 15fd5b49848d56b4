// KMZ members through libarchive, loaded when the first KMZ file is read.
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

#include "formats/kmz_archive_copy.h"
#include "formats/kmz_source.h"
#include "platform/shared_library.h"

namespace velorin {

namespace {

/// The libarchive functions a KMZ needs. The library is loaded on the first
/// KMZ file: it brings a dozen others along, which every run (most are POT)
/// would otherwise load for nothing.
struct ArchiveApi {
  std::unique_ptr<SharedLibrary> library;
  decltype(&::archive_read_new) readNew = nullptr;
  decltype(&::archive_read_free) readFree = nullptr;
  decltype(&::archive_read_support_format_zip) supportZip = nullptr;
  decltype(&::archive_read_open2) readOpen = nullptr;
  decltype(&::archive_read_set_seek_callback) setSeek = nullptr;
  decltype(&::archive_filter_bytes) filterBytes = nullptr;
  decltype(&::archive_read_next_header) nextHeader = nullptr;
  decltype(&::archive_read_data) readData = nullptr;
  decltype(&::archive_error_string) errorString = nullptr;
  decltype(&::archive_entry_pathname) entryPathname = nullptr;
  decltype(&::archive_entry_filetype) entryFiletype = nullptr;
  decltype(&::archive_entry_is_encrypted) entryIsEncrypted = nullptr;
  std::string error;  ///< why the library could not be loaded

  template <typename Function>
  bool Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(library->Find(name));
    if (function == nullptr) error = std::string("no ") + name + " in " + VELORIN_LIBARCHIVE_SONAME;
    return function != nullptr;
  }

  ArchiveApi() {
    library = SharedLibrary::Open(VELORIN_LIBARCHIVE_SONAME, error);
    if (!library) return;
    const bool found =
        Find(readNew, "archive_read_new") && Find(readFree, "archive_read_free") &&
        Find(supportZip, "archive_read_support_format_zip") &&
        Find(readOpen, "archive_read_open2") && Find(setSeek, "archive_read_set_seek_callback") &&
        Find(filterBytes, "archive_filter_bytes") && Find(nextHeader, "archive_read_next_header") &&
        Find(readData, "archive_read_data") && Find(errorString, "archive_error_string") &&
        Find(entryPathname, "archive_entry_pathname") &&
        Find(entryFiletype, "archive_entry_filetype") &&
        Find(entryIsEncrypted, "archive_entry_is_encrypted");
    if (!found) library.reset();
  }
  bool loaded() const { return library != nullptr; }
};

/// Loaded once, on first use.
const ArchiveApi& Archive() {
  static const ArchiveApi api;
  return api;
}

}  // namespace

std::string KmzLibraryText() {
  return std::string(VELORIN_LIBARCHIVE_SONAME) + " (Debian package libarchive13)";
}

struct KmzSource::State {
  KmzArchive::Copy& copy;
  const ArchiveApi& api = Archive();
  struct archive* reader = api.readNew();
  std::vector<char> chunk;
  std::uint64_t at = 0;          ///< where libarchive reads in the copy
  std::int64_t packedStart = 0;  ///< where the member's packed bytes begin
  std::uint64_t unpacked = 0;    ///< member bytes handed out
  bool readFailed = false;

  explicit State(KmzArchive::Copy& archive) : copy(archive) {}
  ~State() {
    if (reader != nullptr) api.readFree(reader);
  }

  static la_ssize_t ReadCallback(struct archive*, void* self, const void** buffer) {
    auto& state = *static_cast<State*>(self);
    const std::uint64_t left = state.copy.copied - state.at;
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kKmzReadChunk));
    if (state.copy.file == nullptr) {
      *buffer = state.copy.memory.data() + state.at;
    } else {
      state.chunk.resize(kKmzReadChunk);
      if (std::fseek(state.copy.file, static_cast<long>(state.at), SEEK_SET) != 0 ||
          std::fread(state.chunk.data(), 1, count, state.copy.file) != count) {
        state.readFailed = true;
        return -1;
      }
      *buffer = state.chunk.data();
    }
    state.at += count;
    return static_cast<la_ssize_t>(count);
  }

  static la_int64_t SeekCallback(struct archive*, void* self, la_int64_t offset, int whence) {
    auto& state = *static_cast<State*>(self);
    const auto size = static_cast<la_int64_t>(state.copy.copied);
    const la_int64_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? static_cast<la_int64_t>(state.at)
                                                 : size;
    if (offset < -base) return ARCHIVE_FATAL;
    state.at = static_cast<std::uint64_t>(std::min(base + offset, size));
    return static_cast<la_int64_t>(state.at);
  }
};

KmzSource::KmzSource(KmzArchive& archive, std::string name)
    : archive_(archive), wanted_(std::move(name)) {}

KmzSource::~KmzSource() = default;

std::ptrdiff_t KmzSource::Failure(std::error_code error) {
  if (!error_) {
    error_ = state_->readFailed ? std::make_error_code(std::errc::io_error) : error;
    const char* words = state_->api.errorString(state_->reader);
    if (words != nullptr) detail_ = words;
  }
  return -1;
}

bool KmzSource::Open() {
  if (error_) return false;
  if (state_) return true;
  const ArchiveApi& api = Archive();
  if (!api.loaded()) {
    error_ = make_error_code(KmzError::kNoLibrary);
    detail_ = api.error;
    return false;
  }
  if (!CopyArchive()) return false;
  state_ = std::make_unique<State>(*archive_.copy_);
  if (state_->reader == nullptr) {
    error_ = std::make_error_code(std::errc::not_enough_memory);
    return false;
  }
  api.supportZip(state_->reader);
  api.setSeek(state_->reader, &State::SeekCallback);
  if (api.readOpen(state_->reader, state_.get(), nullptr, &State::ReadCallback, nullptr, nullptr) !=
      ARCHIVE_OK) {
    return Failure(make_error_code(KmzError::kNotAnArchive)), false;
  }
  return Find();
}

bool KmzSource::Find() {
  const ArchiveApi& api = state_->api;
  archive_entry* entry = nullptr;
  for (int members = 0;; ++members) {
    if (members >= kMaxMembers) return Failure(make_error_code(KmzError::kTooManyMembers)), false;
    const int status = api.nextHeader(state_->reader, &entry);
    if (status == ARCHIVE_EOF) {
      return Failure(make_error_code(wanted_.empty() ? KmzError::kNoKml : KmzError::kNoMember)),
             false;
    }
    if (status < ARCHIVE_WARN) return Failure(make_error_code(KmzError::kNotAnArchive)), false;
    const char* name = api.entryPathname(entry);
    if (name == nullptr) continue;
    // A symbolic link's bytes are the path it names, never KML.
    const bool file = api.entryFiletype(entry) == AE_IFREG;
    if (!IsPlainMemberName(name)) continue;
    if (wanted_.empty() ? !file || !EndsWithKml(name) : wanted_ != name) continue;
    if (!file) return Failure(make_error_code(KmzError::kNoMember)), false;
    if (api.entryIsEncrypted(entry)) {
      return Failure(make_error_code(KmzError::kEncrypted)), false;
    }
    member_ = name;
    state_->packedStart = api.filterBytes(state_->reader, -1);
    state_->unpacked = 0;
    return true;
  }
}

std::ptrdiff_t KmzSource::Read(char* buffer, std::size_t capacity) {
  if (!Open()) return -1;
  if (ended_) return 0;
  const ArchiveApi& api = state_->api;
  const la_ssize_t count = api.readData(state_->reader, buffer, capacity);
  if (count < 0) return Failure(make_error_code(KmzError::kNotAnArchive));
  if (count == 0) {
    ended_ = true;
    return 0;
  }
  state_->unpacked += static_cast<std::uint64_t>(count);
  // The packed bytes the member has used so far: libarchive takes no more
  // than it inflates, so the ratio holds from the first read on.
  const la_int64_t packed = api.filterBytes(state_->reader, -1) - state_->packedStart;
  if (state_->unpacked >
      kMaxExpansion * static_cast<std::uint64_t>(std::max<la_int64_t>(packed, 0)) +
          kExpansionSlack) {
    return Failure(make_error_code(KmzError::kBomb));
  }
  return count;
}

}  // namespace velorin
