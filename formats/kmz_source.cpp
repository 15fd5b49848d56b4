#include "formats/kmz_source.h"

#include <memory>

#include "formats/kmz_archive_copy.h"
#include "formats/zip_archive.h"

namespace velorin {

namespace {

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
      case KmzError::kNoMember:
        return "the archive holds no such file";
      case KmzError::kNoCopy:
        return "the archive could not be copied to a temporary file";
      case KmzError::kZip64:
        return "the archive is in the zip64 form (for archives past 4 GiB), which is not read";
      case KmzError::kUnknownMethod:
        return "the .kml file in the archive is packed by a method other than deflate, which is "
               "not read";
    }
    return "KMZ error";
  }
};

std::error_code ErrorOf(ZipFault fault) {
  switch (fault) {
    case ZipFault::kZip64:
      return make_error_code(KmzError::kZip64);
    case ZipFault::kUnknownMethod:
      return make_error_code(KmzError::kUnknownMethod);
    case ZipFault::kReadFailed:
      return std::make_error_code(std::errc::io_error);
    case ZipFault::kNone:
    case ZipFault::kNotAZip:
    case ZipFault::kCorrupt:
      break;
  }
  return make_error_code(KmzError::kNotAnArchive);
}

}  // namespace

const std::error_category& KmzCategory() {
  static const KmzErrorCategory category;
  return category;
}

std::error_code make_error_code(KmzError error) { return {static_cast<int>(error), KmzCategory()}; }

KmzArchive::KmzArchive(ByteSource& archive) : archive_(archive) {}
KmzArchive::~KmzArchive() = default;

struct KmzSource::State {
  KmzArchive::Copy& copy;
  ZipDirectory directory;
  std::unique_ptr<ZipMemberReader> member;
  std::uint64_t unpacked = 0;  ///< member bytes handed out

  explicit State(KmzArchive::Copy& archive) : copy(archive) {}
};

KmzSource::KmzSource(KmzArchive& archive, std::string name)
    : archive_(archive), wanted_(std::move(name)) {}

KmzSource::~KmzSource() = default;

std::ptrdiff_t KmzSource::Failure(std::error_code error) {
  if (!error_) error_ = error;
  return -1;
}

bool KmzSource::CopyArchive() {
  if (!archive_.copy_) {
    archive_.copy_ = std::make_unique<KmzArchive::Copy>();
    archive_.copy_->Make(archive_.archive_);
  }
  if (archive_.copy_->error) {
    error_ = archive_.copy_->error;
    detail_ = archive_.copy_->detail;
    return false;
  }
  return true;
}

bool KmzSource::Open() {
  if (error_) return false;
  if (state_) return true;
  if (!CopyArchive()) return false;
  state_ = std::make_unique<State>(*archive_.copy_);
  if (!state_->directory.Open(state_->copy)) {
    return Failure(ErrorOf(state_->directory.fault())), false;
  }
  return Find();
}

bool KmzSource::Find() {
  ZipDirectory& directory = state_->directory;
  ZipEntry entry;
  for (int members = 0;; ++members) {
    if (members >= kMaxMembers) return Failure(make_error_code(KmzError::kTooManyMembers)), false;
    if (!directory.Next(entry)) {
      if (directory.fault() != ZipFault::kNone) return Failure(ErrorOf(directory.fault())), false;
      return Failure(make_error_code(wanted_.empty() ? KmzError::kNoKml : KmzError::kNoMember)),
             false;
    }
    if (!IsPlainMemberName(entry.name)) continue;
    // A symbolic link's bytes are the path it names, never KML.
    if (wanted_.empty() ? !entry.isFile || !EndsWithKml(entry.name) : wanted_ != entry.name) {
      continue;
    }
    if (!entry.isFile) return Failure(make_error_code(KmzError::kNoMember)), false;
    if (entry.encrypted()) return Failure(make_error_code(KmzError::kEncrypted)), false;
    member_ = entry.name;
    state_->member = std::make_unique<ZipMemberReader>(state_->copy, entry, directory.start());
    return true;
  }
}

std::ptrdiff_t KmzSource::Read(char* buffer, std::size_t capacity) {
  if (!Open()) return -1;
  if (ended_) return 0;
  ZipMemberReader& member = *state_->member;
  const std::ptrdiff_t count = member.Read(buffer, capacity);
  if (count < 0) return Failure(ErrorOf(member.fault()));
  if (count == 0) {
    ended_ = true;
    return 0;
  }
  // The packed bytes the member has used so far: zlib takes no more than
  // it inflates, so the ratio holds from the first read on.
  state_->unpacked += static_cast<std::uint64_t>(count);
  if (state_->unpacked > kMaxExpansion * member.packedUsed() + kExpansionSlack) {
    return Failure(make_error_code(KmzError::kBomb));
  }
  return count;
}

}  // namespace velorin
