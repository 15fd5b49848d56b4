// KMZ members through Velorin's own zip reader (zip_archive.h) and zlib:
// the build's choice where libarchive is not to be had (Windows).
#include <algorithm>

#include "formats/kmz_archive_copy.h"
#include "formats/kmz_source.h"
#include "formats/zip_archive.h"

namespace velorin {

namespace {

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

std::string KmzLibraryText() { return "zlib"; }  // linked in: never missing

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
