#include "formats/exif_tags.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace velorin {

namespace {

enum Tag : std::uint16_t {
  kGpsLatitudeRef = 0x0001,
  kGpsLatitude = 0x0002,
  kGpsLongitudeRef = 0x0003,
  kGpsLongitude = 0x0004,
  kImageDescription = 0x010E,
  kMake = 0x010F,
  kModel = 0x0110,
  kDateTime = 0x0132,
  kExifDirectory = 0x8769,
  kGpsDirectory = 0x8825,
  kDateTimeOriginal = 0x9003,
};

enum Type : std::uint16_t {
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
  kSignedRational = 10,
};

struct Entry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::array<char, 4> value{};  ///< the value itself, or its offset
};

std::size_t SizeOfType(std::uint16_t type) {
  switch (type) {
    case kShort:
      return 2;
    case kLong:
    case 9:
      return 4;
    case kRational:
    case kSignedRational:
    case 12:
      return 8;
    default:
      return 1;
  }
}

class Structure {
 public:
  explicit Structure(TiffBytes& bytes) : bytes_(bytes) {}

  bool ReadHeader(std::uint32_t& first) {
    char head[8];
    if (!bytes_.ReadAt(0, head, sizeof head) || !StartsTiff(head, sizeof head)) return false;
    bigEndian_ = head[0] == 'M';
    first = Unsigned32(head + 4);
    return true;
  }

  /// The entries of the directory at `offset`; empty when it is damaged.
  std::vector<Entry> Directory(std::uint32_t offset) {
    char count[2];
    if (!bytes_.ReadAt(offset, count, 2)) return {};
    const std::uint16_t entries = Unsigned16(count);
    if (entries == 0 || entries > kMostTiffEntries) return {};
    std::vector<char> table(std::size_t{entries} * 12);
    if (!bytes_.ReadAt(std::uint64_t{offset} + 2, table.data(), table.size())) return {};
    std::vector<Entry> result(entries);
    for (std::size_t i = 0; i < entries; ++i) {
      const char* at = table.data() + i * 12;
      result[i].tag = Unsigned16(at);
      result[i].type = Unsigned16(at + 2);
      result[i].count = Unsigned32(at + 4);
      std::memcpy(result[i].value.data(), at + 8, 4);
    }
    return result;
  }

  /// The value bytes of an entry; nothing past `most` bytes or unreadable.
  std::optional<std::string> Value(const Entry& entry, std::size_t most) {
    const std::uint64_t size = std::uint64_t{entry.count} * SizeOfType(entry.type);
    if (size > most) return std::nullopt;
    std::string value(static_cast<std::size_t>(size), '\0');
    if (size <= 4) {
      std::memcpy(value.data(), entry.value.data(), value.size());
    } else if (!bytes_.ReadAt(Unsigned32(entry.value.data()), value.data(), value.size())) {
      return std::nullopt;
    }
    return value;
  }

  std::optional<std::uint32_t> Offset(const Entry& entry) {
    if (entry.count != 1) return std::nullopt;
    if (entry.type == kLong) return Unsigned32(entry.value.data());
    if (entry.type == kShort) return Unsigned16(entry.value.data());
    return std::nullopt;
  }

  /// Degrees from one to three rationals (degrees, minutes, seconds).
  std::optional<double> Angle(const Entry& entry) {
    if ((entry.type != kRational && entry.type != kSignedRational) || entry.count < 1 ||
        entry.count > 3) {
      return std::nullopt;
    }
    const std::optional<std::string> value = Value(entry, 24);
    if (!value) return std::nullopt;
    double degrees = 0.0;
    double unit = 1.0;
    for (std::size_t i = 0; i < entry.count; ++i, unit *= 60.0) {
      const char* at = value->data() + i * 8;
      const std::uint32_t numerator = Unsigned32(at);
      const std::uint32_t denominator = Unsigned32(at + 4);
      if (denominator == 0) return std::nullopt;
      const bool signedType = entry.type == kSignedRational;
      const double part = signedType
                              ? static_cast<double>(static_cast<std::int32_t>(numerator)) /
                                    static_cast<double>(static_cast<std::int32_t>(denominator))
                              : static_cast<double>(numerator) / static_cast<double>(denominator);
      if (!std::isfinite(part) || part < 0.0) return std::nullopt;
      degrees += part / unit;
    }
    return degrees;
  }

 private:
  std::uint16_t Unsigned16(const char* at) const {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return static_cast<std::uint16_t>(bigEndian_ ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0]);
  }
  std::uint32_t Unsigned32(const char* at) const {
    const std::uint32_t high = Unsigned16(bigEndian_ ? at : at + 2);
    const std::uint32_t low = Unsigned16(bigEndian_ ? at + 2 : at);
    return (high << 16) | low;
  }

  TiffBytes& bytes_;
  bool bigEndian_ = false;
};

/// The text of an ASCII entry up to its first NUL, blanks around it taken
/// away.
std::string Text(Structure& tiff, const Entry& entry) {
  if (entry.type != kAscii && entry.type != 7) return {};
  std::string text = tiff.Value(entry, kMostExifText).value_or(std::string());
  text.resize(std::strlen(text.c_str()));
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t first = 0;
  while (first < text.size() && blank(text[first])) ++first;
  return text.substr(first);
}

/// "2024:05:03 10:22:01" as "2024-05-03 10:22:01"; other texts as they are.
std::string TimeText(std::string text) {
  if (text.size() >= 10 && text[4] == ':' && text[7] == ':') text[4] = text[7] = '-';
  return text;
}

std::string CameraText(const std::string& make, const std::string& model) {
  if (make.empty()) return model;
  if (model.empty() || model.starts_with(make)) return model.empty() ? make : model;
  return make + " " + model;
}

struct GpsEntries {
  std::optional<double> latitude;
  std::optional<double> longitude;
  char latitudeRef = 0;
  char longitudeRef = 0;
};

std::optional<ExifPosition> PositionOf(const GpsEntries& gps) {
  if (!gps.latitude || !gps.longitude) return std::nullopt;
  const char north = gps.latitudeRef;
  const char east = gps.longitudeRef;
  if ((north != 'N' && north != 'S') || (east != 'E' && east != 'W')) return std::nullopt;
  if (*gps.latitude > 90.0 || *gps.longitude > 180.0) return std::nullopt;
  if (*gps.latitude == 0.0 && *gps.longitude == 0.0) return std::nullopt;
  return ExifPosition{north == 'S' ? -*gps.latitude : *gps.latitude,
                      east == 'W' ? -*gps.longitude : *gps.longitude};
}

std::optional<ExifPosition> ReadGps(Structure& tiff, std::uint32_t offset) {
  GpsEntries gps;
  for (const Entry& entry : tiff.Directory(offset)) {
    switch (entry.tag) {
      case kGpsLatitudeRef:
        gps.latitudeRef = Text(tiff, entry).substr(0, 1).c_str()[0];
        break;
      case kGpsLongitudeRef:
        gps.longitudeRef = Text(tiff, entry).substr(0, 1).c_str()[0];
        break;
      case kGpsLatitude:
        gps.latitude = tiff.Angle(entry);
        break;
      case kGpsLongitude:
        gps.longitude = tiff.Angle(entry);
        break;
      default:
        break;
    }
  }
  return PositionOf(gps);
}

/// The entries of the first directory, and the two it points to.
void ReadFirstDirectory(Structure& tiff, std::uint32_t offset, ExifTags& tags) {
  std::string make;
  std::string model;
  std::string dateTime;
  for (const Entry& entry : tiff.Directory(offset)) {
    if (entry.tag == kImageDescription) tags.title = Text(tiff, entry);
    if (entry.tag == kMake) make = Text(tiff, entry);
    if (entry.tag == kModel) model = Text(tiff, entry);
    if (entry.tag == kDateTime) dateTime = Text(tiff, entry);
    const std::optional<std::uint32_t> pointer = tiff.Offset(entry);
    if (entry.tag == kGpsDirectory && pointer && *pointer != offset) {
      tags.position = ReadGps(tiff, *pointer);
    }
    if (entry.tag == kExifDirectory && pointer && *pointer != offset) {
      for (const Entry& exif : tiff.Directory(*pointer)) {
        if (exif.tag == kDateTimeOriginal) tags.taken = TimeText(Text(tiff, exif));
      }
    }
  }
  if (tags.taken.empty()) tags.taken = TimeText(dateTime);
  tags.camera = CameraText(make, model);
}

}  // namespace

bool StartsTiff(const char* head, std::size_t size) {
  if (size < 4) return false;
  return std::memcmp(head, "II*\0", 4) == 0 || std::memcmp(head, "MM\0*", 4) == 0;
}

ExifTags ReadExifTags(TiffBytes& bytes) {
  ExifTags tags;
  Structure tiff(bytes);
  std::uint32_t first = 0;
  if (!tiff.ReadHeader(first)) {
    tags.damage = "its EXIF is no TIFF structure";
    return tags;
  }
  ReadFirstDirectory(tiff, first, tags);
  return tags;
}

}  // namespace velorin
