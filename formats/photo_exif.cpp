#include "formats/photo_exif.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace velorin {

namespace {

/// A source read from its start with a position, moved forward by a seek
/// where the source can and by reading on where it cannot.
class PositionedSource {
 public:
  explicit PositionedSource(ByteSource& source) : source_(source) {}

  bool MoveTo(std::uint64_t offset) {
    if (offset == position_) return true;
    if (source_.Seek(offset)) {
      position_ = offset;
      return true;
    }
    if (offset < position_) return false;
    std::array<char, 4096> dropped{};
    while (position_ < offset) {
      const auto want =
          static_cast<std::size_t>(std::min<std::uint64_t>(dropped.size(), offset - position_));
      if (!ReadExactly(dropped.data(), want)) return false;
    }
    return true;
  }

  bool ReadExactly(char* into, std::size_t count) {
    while (count > 0) {
      const std::ptrdiff_t got = source_.Read(into, count);
      if (got <= 0) return false;
      const auto taken = static_cast<std::size_t>(got);
      into += taken;
      count -= taken;
      position_ += taken;
    }
    return true;
  }

 private:
  ByteSource& source_;
  std::uint64_t position_ = 0;
};

/// A TIFF file read where its directories lie; its first bytes, read
/// already to tell its kind, are held, so that a pipe need not go back.
class SourceTiffBytes final : public TiffBytes {
 public:
  SourceTiffBytes(PositionedSource& source, std::string_view head) : source_(source), head_(head) {}
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override {
    while (count > 0 && offset < head_.size()) {
      *into++ = head_[static_cast<std::size_t>(offset++)];
      --count;
    }
    return count == 0 || (source_.MoveTo(offset) && source_.ReadExactly(into, count));
  }

 private:
  PositionedSource& source_;
  std::string head_;
};

/// A JPEG's EXIF segment, held whole.
class HeldTiffBytes final : public TiffBytes {
 public:
  explicit HeldTiffBytes(std::string_view bytes) : bytes_(bytes) {}
  bool ReadAt(std::uint64_t offset, char* into, std::size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    std::memcpy(into, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::string_view bytes_;
};

constexpr std::string_view kExifMark{"Exif\0\0", 6};

/// The markers that stand alone, without a length: TEM and RST0 to RST7.
bool StandsAlone(unsigned char marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

PhotoTags ReadJpeg(PositionedSource& jpeg) {
  std::uint64_t at = 2;
  for (int segment = 0; segment < kMostJpegSegments; ++segment) {
    unsigned char head[4];
    if (!jpeg.MoveTo(at) || !jpeg.ReadExactly(reinterpret_cast<char*>(head), 2) ||
        head[0] != 0xFF) {
      return {{}, "a damaged JPEG before its EXIF"};
    }
    if (head[1] == 0xFF) {  // fill byte before a marker
      at += 1;
      continue;
    }
    if (head[1] == 0xDA || head[1] == 0xD9) break;  // the image data, or the end
    if (StandsAlone(head[1])) {
      at += 2;
      continue;
    }
    if (!jpeg.ReadExactly(reinterpret_cast<char*>(head + 2), 2)) break;
    const std::size_t length = (std::size_t{head[2]} << 8) | head[3];
    if (length < 2) return {{}, "a damaged JPEG before its EXIF"};
    if (head[1] == 0xE1 && length >= 2 + kExifMark.size()) {
      std::string payload(length - 2, '\0');
      if (!jpeg.ReadExactly(payload.data(), payload.size())) break;
      if (payload.starts_with(kExifMark)) {
        HeldTiffBytes tiff(std::string_view(payload).substr(kExifMark.size()));
        return {ReadExifTags(tiff), {}};
      }
    }
    at += 2 + length;
  }
  return {{}, "no EXIF"};
}

}  // namespace

PhotoTags ReadPhotoTags(ByteSource& source) {
  PositionedSource photo(source);
  char head[4];
  if (!photo.ReadExactly(head, 2)) return {{}, "no JPEG or TIFF image"};
  if (static_cast<unsigned char>(head[0]) == 0xFF && static_cast<unsigned char>(head[1]) == 0xD8) {
    return ReadJpeg(photo);
  }
  if (!photo.ReadExactly(head + 2, 2) || !StartsTiff(head, 4)) {
    return {{}, "no JPEG or TIFF image"};
  }
  SourceTiffBytes tiff(photo, std::string_view(head, 4));
  return {ReadExifTags(tiff), {}};
}

}  // namespace velorin
