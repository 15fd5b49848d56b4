#pragma once
// What a photo's EXIF says of where and when it was taken, read from the
// TIFF structure EXIF is written in: the GPS position, the image's own
// title, the time taken and the camera. Velorin's own small reader, so that
// Linux and Windows read photos alike: it reads the few entries it needs at
// their offsets and nothing else, and gives up on any structure it cannot
// trust (offsets out of the data, loops, counts past its limits) rather
// than read far.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velorin {

/// The bytes of one TIFF structure, from its header on, read at offsets:
/// a JPEG's EXIF segment held in memory, or a TIFF file through its source.
class TiffBytes {
 public:
  /// Reads exactly `count` bytes at `offset` into `into`; false when they
  /// are not all there (or cannot be read).
  virtual bool ReadAt(std::uint64_t offset, char* into, std::size_t count) = 0;

 protected:
  ~TiffBytes() = default;
};

/// An EXIF position in decimal degrees, south and west negative.
struct ExifPosition {
  double latitude = 0.0;
  double longitude = 0.0;
};

struct ExifTags {
  /// Nothing when the GPS entries are missing, incomplete or hold no
  /// position (0°,0° is what a camera writes before it has a fix).
  std::optional<ExifPosition> position;
  std::string title;   ///< ImageDescription, trimmed; empty when blank
  std::string taken;   ///< "2024-05-03 10:22:01": DateTimeOriginal, else DateTime
  std::string camera;  ///< Make and Model, "Canon Canon EOS R6" shortened to "Canon EOS R6"
  /// Why the structure could not be read at all; empty when it could.
  std::string damage;
};

/// The most entries of one directory read; more means a damaged file.
inline constexpr std::uint16_t kMostTiffEntries = 1024;
/// The longest text entry read.
inline constexpr std::size_t kMostExifText = 2000;

/// Reads the tags Velorin uses from the TIFF structure in `bytes`.
ExifTags ReadExifTags(TiffBytes& bytes);

/// The TIFF byte order mark of a header: "II*\0" or "MM\0*".
bool StartsTiff(const char* head, std::size_t size);

}  // namespace velorin
