#pragma once
// A photo's EXIF tags, read from the photo's bytes: a JPEG's segments are
// walked up to its EXIF segment (never into the image data, which follows
// them), a TIFF file's directories are read at their offsets. A file source
// seeks past what it skips; a pipe is read on and what is skipped dropped.
#include <string>

#include "formats/exif_tags.h"
#include "platform/byte_stream.h"

namespace velorin {

struct PhotoTags {
  ExifTags exif;
  /// Why the photo gave no tags at all ("no JPEG or TIFF image", "no EXIF");
  /// empty when it did.
  std::string unread;
};

/// The most segments of a JPEG walked before its EXIF segment.
inline constexpr int kMostJpegSegments = 64;

PhotoTags ReadPhotoTags(ByteSource& source);

}  // namespace velorin
