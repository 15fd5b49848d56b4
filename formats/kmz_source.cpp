#include "formats/kmz_source.h"

#include <climits>
#include <memory>

#include "formats/kmz_archive_copy.h"
#include "text/ascii.h"

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
      case KmzError::kNoLibrary:
        return "reading KMZ files needs " + KmzLibraryText() + ", which could not be loaded";
      case KmzError::kZip64:
        return "the archive is in the zip64 form (for archives past 4 GiB), which is not read";
      case KmzError::kUnknownMethod:
        return "the .kml file in the archive is packed by a method other than deflate, which is "
               "not read";
    }
    return "KMZ error";
  }
};

}  // namespace

const std::error_category& KmzCategory() {
  static const KmzErrorCategory category;
  return category;
}

std::error_code make_error_code(KmzError error) { return {static_cast<int>(error), KmzCategory()}; }

bool EndsWithKml(std::string_view name) { return EndsWithIgnoringAsciiCase(name, ".kml"); }

bool IsPlainMemberName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos ||
      name.find(':') != std::string_view::npos) {
    return false;
  }
  while (!name.empty()) {
    const std::size_t slash = name.find('/');
    if (name.substr(0, slash) == "..") return false;
    name = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
  }
  return true;
}

bool KmzArchive::Copy::ReadAt(std::uint64_t offset, char* into, std::size_t count) {
  if (offset > copied || count > copied - offset) return false;
  if (file == nullptr) {
    std::memcpy(into, memory.data() + offset, count);
    return true;
  }
  // fseek takes a long: 2 GiB on Windows, past which no archive is read.
  if (offset > static_cast<std::uint64_t>(LONG_MAX)) return false;
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(into, 1, count, file) == count;
}

KmzArchive::KmzArchive(ByteSource& archive) : archive_(archive) {}
KmzArchive::~KmzArchive() = default;

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

}  // namespace velorin
