#include "formats/kmz_source.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

#include "platform/shared_library.h"

namespace velorin {

namespace {

constexpr std::size_t kReadChunk = 1 << 16;

class KmzErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "kmz"; }
  std::string message(int code) const override {
    switch (static_cast<KmzError>(code)) {
      case KmzError::kNotAnArchive:
        return "not a readable KMZ (zip) archive";
      case KmzError::kNoKml:
        return "the archive holds no .kml file";
      case KmzError::kBomb:
        return "the .kml file expands more than " + std::to_string(KmzSource::kMaxExpansion) +
               " times its packed size: refused as a zip bomb";
      case KmzError::kTooManyMembers:
        return "more than " + std::to_string(KmzSource::kMaxMembers) +
               " files in the archive before a .kml file: refused";
      case KmzError::kEncrypted:
        return "the .kml file in the archive is encrypted";
      case KmzError::kNoLibrary:
        return std::string("reading KMZ files needs ") + VELORIN_LIBARCHIVE_SONAME +
               " (Debian package libarchive13), which could not be loaded";
    }
    return "KMZ error";
  }
};

/// The libarchive functions a KMZ needs. The library is loaded on the first
/// KMZ file: it brings a dozen others along, which every run (most are POT)
/// would otherwise load for nothing.
struct ArchiveApi {
  std::unique_ptr<SharedLibrary> library;
  decltype(&::archive_read_new) readNew = nullptr;
  decltype(&::archive_read_free) readFree = nullptr;
  decltype(&::archive_read_support_format_zip) supportZip = nullptr;
  decltype(&::archive_read_open) readOpen = nullptr;
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
        Find(readOpen, "archive_read_open") && Find(nextHeader, "archive_read_next_header") &&
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

bool EndsWithKml(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return tail == ".kml";
}

}  // namespace

const std::error_category& KmzCategory() {
  static const KmzErrorCategory category;
  return category;
}

std::error_code make_error_code(KmzError error) { return {static_cast<int>(error), KmzCategory()}; }

struct KmzSource::State {
  ByteSource& archive;
  const ArchiveApi& api = Archive();
  struct archive* reader = api.loaded() ? api.readNew() : nullptr;
  std::vector<char> chunk = std::vector<char>(kReadChunk);
  std::uint64_t packed = 0;    ///< archive bytes read
  std::uint64_t unpacked = 0;  ///< member bytes handed out
  bool readFailed = false;

  explicit State(ByteSource& source) : archive(source) {}
  ~State() {
    if (reader != nullptr) api.readFree(reader);
  }

  static la_ssize_t ReadCallback(struct archive*, void* self, const void** buffer) {
    auto& state = *static_cast<State*>(self);
    const std::ptrdiff_t count = state.archive.Read(state.chunk.data(), state.chunk.size());
    if (count < 0) {
      state.readFailed = true;
      return -1;
    }
    state.packed += static_cast<std::uint64_t>(count);
    *buffer = state.chunk.data();
    return count;
  }
};

KmzSource::KmzSource(ByteSource& archive) : state_(std::make_unique<State>(archive)) {
  const ArchiveApi& api = state_->api;
  if (!api.loaded()) {
    error_ = make_error_code(KmzError::kNoLibrary);
    detail_ = api.error;
    return;
  }
  if (state_->reader == nullptr) {
    error_ = std::make_error_code(std::errc::not_enough_memory);
    return;
  }
  api.supportZip(state_->reader);
  if (api.readOpen(state_->reader, state_.get(), nullptr, &State::ReadCallback, nullptr) !=
      ARCHIVE_OK) {
    Failure(make_error_code(KmzError::kNotAnArchive));
  }
}

KmzSource::~KmzSource() = default;

std::ptrdiff_t KmzSource::Failure(std::error_code error) {
  if (!error_) {
    error_ = state_->readFailed ? state_->archive.error() : error;
    if (!error_) error_ = std::make_error_code(std::errc::io_error);
    const char* words =
        state_->reader != nullptr ? state_->api.errorString(state_->reader) : nullptr;
    if (words != nullptr) detail_ = words;
  }
  return -1;
}

bool KmzSource::FindKml() {
  const ArchiveApi& api = state_->api;
  archive_entry* entry = nullptr;
  for (int members = 0;; ++members) {
    if (members >= kMaxMembers) return Failure(make_error_code(KmzError::kTooManyMembers)), false;
    const int status = api.nextHeader(state_->reader, &entry);
    if (status == ARCHIVE_EOF) return Failure(make_error_code(KmzError::kNoKml)), false;
    if (status < ARCHIVE_WARN) return Failure(make_error_code(KmzError::kNotAnArchive)), false;
    const char* name = api.entryPathname(entry);
    if (name == nullptr || api.entryFiletype(entry) != AE_IFREG || !EndsWithKml(name)) {
      continue;
    }
    if (api.entryIsEncrypted(entry)) {
      return Failure(make_error_code(KmzError::kEncrypted)), false;
    }
    member_ = name;
    // The expansion is measured from here: the members passed over count
    // as packed bytes read, never as bytes unpacked.
    state_->unpacked = 0;
    state_->packed = 0;
    return true;
  }
}

std::ptrdiff_t KmzSource::Read(char* buffer, std::size_t capacity) {
  if (error_) return -1;
  if (ended_) return 0;
  if (!found_) {
    if (!FindKml()) return -1;
    found_ = true;
  }
  const la_ssize_t count = state_->api.readData(state_->reader, buffer, capacity);
  if (count < 0) return Failure(make_error_code(KmzError::kNotAnArchive));
  if (count == 0) {
    ended_ = true;
    return 0;
  }
  state_->unpacked += static_cast<std::uint64_t>(count);
  // A little packed data is always read ahead, so the ratio is measured
  // only once the member has grown past the grace size.
  if (state_->unpacked > kExpansionGrace &&
      state_->unpacked > kMaxExpansion * std::max<std::uint64_t>(state_->packed, 1)) {
    return Failure(make_error_code(KmzError::kBomb));
  }
  return count;
}

}  // namespace velorin
