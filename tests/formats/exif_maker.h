#pragma once
// Photos for the tests: a TIFF structure with the EXIF entries asked for,
// in either byte order, and a JPEG that holds one in its EXIF segment.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velorin::testing {

struct ExifSpec {
  std::optional<double> latitude;  ///< degrees, the sign picks the reference
  std::optional<double> longitude;
  bool writeReferences = true;
  bool bigEndian = false;
  bool zeroDenominator = false;
  std::string title;  ///< ImageDescription; none when empty
  std::string taken;  ///< DateTimeOriginal
  std::string make;
  std::string model;
};

class TiffMaker {
 public:
  explicit TiffMaker(bool bigEndian) : bigEndian_(bigEndian) {}

  struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::string data;  ///< the value's bytes, in the file's order
  };

  std::string U16(std::uint32_t v) const {
    const char a = static_cast<char>(v & 0xFF), b = static_cast<char>((v >> 8) & 0xFF);
    return bigEndian_ ? std::string{b, a} : std::string{a, b};
  }
  std::string U32(std::uint32_t v) const {
    return bigEndian_ ? U16(v >> 16) + U16(v & 0xFFFF) : U16(v & 0xFFFF) + U16(v >> 16);
  }
  Entry Ascii(std::uint16_t tag, const std::string& text) const {
    return {tag, 2, static_cast<std::uint32_t>(text.size() + 1), text + '\0'};
  }
  Entry Angle(std::uint16_t tag, double degrees, bool zero) const {
    const double whole = std::floor(degrees);
    const double minutes = std::floor((degrees - whole) * 60.0);
    const double seconds = ((degrees - whole) * 60.0 - minutes) * 60.0;
    const auto rational = [&](double value, std::uint32_t scale) {
      return U32(static_cast<std::uint32_t>(std::lround(value * scale))) + U32(zero ? 0 : scale);
    };
    return {tag, 5, 3, rational(whole, 1) + rational(minutes, 1) + rational(seconds, 10000)};
  }
  Entry Pointer(std::uint16_t tag, std::uint32_t offset) const { return {tag, 4, 1, U32(offset)}; }

  /// One directory at `offset`: its table, then the values that do not fit.
  std::string Directory(std::uint32_t offset, const std::vector<Entry>& entries) const {
    std::string table = U16(static_cast<std::uint32_t>(entries.size()));
    std::string values;
    const std::uint32_t valuesAt = offset + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
    for (const Entry& e : entries) {
      table += U16(e.tag) + U16(e.type) + U32(e.count);
      if (e.data.size() <= 4) {
        table += e.data + std::string(4 - e.data.size(), '\0');
      } else {
        table += U32(valuesAt + static_cast<std::uint32_t>(values.size()));
        values += e.data;
      }
    }
    return table + U32(0) + values;
  }

 private:
  bool bigEndian_;
};

inline std::string ExifTiff(const ExifSpec& spec) {
  const TiffMaker t(spec.bigEndian);
  std::vector<TiffMaker::Entry> gps;
  if (spec.latitude) {
    if (spec.writeReferences) gps.push_back(t.Ascii(1, *spec.latitude < 0 ? "S" : "N"));
    gps.push_back(t.Angle(2, std::abs(*spec.latitude), spec.zeroDenominator));
  }
  if (spec.longitude) {
    if (spec.writeReferences) gps.push_back(t.Ascii(3, *spec.longitude < 0 ? "W" : "E"));
    gps.push_back(t.Angle(4, std::abs(*spec.longitude), spec.zeroDenominator));
  }
  std::vector<TiffMaker::Entry> first;
  if (!spec.title.empty()) first.push_back(t.Ascii(0x010E, spec.title));
  if (!spec.make.empty()) first.push_back(t.Ascii(0x010F, spec.make));
  if (!spec.model.empty()) first.push_back(t.Ascii(0x0110, spec.model));
  const bool exif = !spec.taken.empty();
  if (exif) first.push_back(t.Pointer(0x8769, 0));
  if (!gps.empty()) first.push_back(t.Pointer(0x8825, 0));
  // The pointers' room is known before their values: lay out, then fill.
  const auto size0 = static_cast<std::uint32_t>(t.Directory(8, first).size());
  const std::uint32_t exifAt = 8 + size0;
  const std::string exifDirectory =
      exif ? t.Directory(exifAt, {t.Ascii(0x9003, spec.taken)}) : std::string();
  const std::uint32_t gpsAt = exifAt + static_cast<std::uint32_t>(exifDirectory.size());
  for (TiffMaker::Entry& e : first) {
    if (e.tag == 0x8769) e = t.Pointer(0x8769, exifAt);
    if (e.tag == 0x8825) e = t.Pointer(0x8825, gpsAt);
  }
  const std::string header = spec.bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  return header + t.U32(8) + t.Directory(8, first) + exifDirectory +
         (gps.empty() ? std::string() : t.Directory(gpsAt, gps));
}

/// A JPEG: JFIF segment, the EXIF segment holding `tiff` (none when empty),
/// then image data that no reader of positions should touch.
inline std::string ExifJpeg(const std::string& tiff, std::size_t imageBytes = 64) {
  std::string jpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
  if (!tiff.empty()) {
    const std::size_t length = tiff.size() + 8;
    jpeg += std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
            static_cast<char>(length & 0xFF) + std::string("Exif\0\0", 6) + tiff;
  }
  jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
  return jpeg + std::string(imageBytes, '\x55') + "\xFF\xD9";
}

}  // namespace velorin::testing
