#include "formats/photo_reader.h"

#include <algorithm>

#include "formats/format_table.h"
#include "formats/photo_exif.h"

namespace velorin {

namespace {

/// The file name without its extension: the title of a photo without one.
std::string Stem(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return std::string(dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

std::string DescriptionOf(const ExifTags& tags) {
  if (tags.taken.empty()) return tags.camera;
  if (tags.camera.empty()) return tags.taken;
  return tags.taken + ", " + tags.camera;
}

void Skip(ReadEntry& entry, std::string_view name, std::string_view why) {
  entry.isPoint = false;
  entry.skip = SkipKind::kMalformed;
  entry.reason = std::string(name) + ": " + std::string(why);
}

}  // namespace

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

PhotoReader::PhotoReader(ByteSource& source, std::string path)
    : source_(&source), path_(std::move(path)) {}

PhotoReader::PhotoReader(FileSystem& files, std::string folder)
    : files_(&files), path_(std::move(folder)) {}

void PhotoReader::ListFolder() {
  listed_ = true;
  std::optional<std::vector<std::string>> names = files_->FolderEntries(path_);
  if (!names) {
    Fail(0, "the folder cannot be read");
    return;
  }
  std::sort(names->begin(), names->end());
  for (const std::string& name : *names) {
    std::string path = Joined(path_, name);
    const bool photo = InputFormatOfExtension(name) == PointFormat::kPhoto;
    if (photo && files_->IsNormalFile(path)) {
      photos_.push_back(std::move(path));
    } else {
      ++ignored_[IgnoredKind::kOtherFile];
    }
  }
}

bool PhotoReader::Next(ReadEntry& entry) {
  entry = ReadEntry{};
  if (source_ != nullptr) {
    if (next_++ > 0) return false;
    ReadPhoto(*source_, path_, entry);
    return true;
  }
  if (!listed_) ListFolder();
  if (failure() || next_ >= photos_.size()) return false;
  const std::string& path = photos_[next_++];
  std::error_code error;
  const std::unique_ptr<ByteSource> photo = files_->OpenForReading(path, error);
  if (!photo || error) {
    Skip(entry, FileNameOf(path), "cannot be opened: " + error.message());
    return true;
  }
  ReadPhoto(*photo, path, entry);
  return true;
}

void PhotoReader::ReadPhoto(ByteSource& source, const std::string& path, ReadEntry& entry) const {
  const std::string_view name = FileNameOf(path);
  const PhotoTags tags = ReadPhotoTags(source);
  if (source.error()) return Skip(entry, name, ReadErrorText(source.error()));
  if (!tags.unread.empty()) return Skip(entry, name, tags.unread);
  if (!tags.exif.damage.empty()) return Skip(entry, name, tags.exif.damage);
  if (!tags.exif.position) return Skip(entry, name, "no position in its EXIF");
  entry.point.title = tags.exif.title.empty() ? Stem(name) : tags.exif.title;
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = Degrees{tags.exif.position->longitude, tags.exif.position->latitude, {}};
  const std::string description = DescriptionOf(tags.exif);
  if (!description.empty()) entry.point.fields.Set(PointField::kDescription, description);
}

}  // namespace velorin
