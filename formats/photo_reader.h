#pragma once
// Points from geotagged photos: one photo read from its source, or every
// photo of a folder in the order of their names, each opened through the
// file system, read for its EXIF (photo_exif.h) and closed before the next.
// A photo is a point at its GPS position, titled by its own title or else
// by its file name without the extension, described by the time it was
// taken and the camera. A photo without a position is skipped with its
// name ("IMG_0042.jpg: no position in its EXIF"), never put at 0°,0°; the
// folder's other files are counted.
#include <cstddef>
#include <string>
#include <vector>

#include "formats/point_reader.h"
#include "platform/file_system.h"

namespace velorin {

class PhotoReader : public PointReader {
 public:
  /// The one photo `source` holds; `path` names it.
  PhotoReader(ByteSource& source, std::string path);
  /// The photos of the folder `folder`.
  PhotoReader(FileSystem& files, std::string folder);

  bool Next(ReadEntry& entry) override;
  IgnoredItems ignored() const override { return ignored_; }

 private:
  /// Lists the folder: its photos in name order, the other entries counted.
  void ListFolder();
  void ReadPhoto(ByteSource& source, const std::string& path, ReadEntry& entry) const;

  ByteSource* source_ = nullptr;  ///< the one photo; null for a folder
  FileSystem* files_ = nullptr;
  std::string path_;
  std::vector<std::string> photos_;  ///< paths, for a folder
  std::size_t next_ = 0;
  bool listed_ = false;
  IgnoredItems ignored_;
};

/// The last step of a path ("IMG_0042.jpg"), after "/" and, as Windows has
/// it, "\".
std::string_view FileNameOf(std::string_view path);

}  // namespace velorin
