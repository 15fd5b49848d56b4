#pragma once
// Windows only: pictures (PNG, JPEG, ...) decoded by the Windows Imaging
// Component, on any thread: first the size the picture's header declares,
// without decoding a pixel; then its pixels at the size asked for.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velorin {

struct PictureSize {
  int width = 0;
  int height = 0;
};

/// Rows top down, each pixel premultiplied blue, green, red and alpha.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  bool opaque = true;  ///< every pixel's alpha is full
};

/// The size the header of the picture in `bytes` declares; nothing when
/// the bytes are no picture the system reads.
std::optional<PictureSize> PictureSizeOf(std::string_view bytes);

/// The picture in `bytes` decoded at `width` x `height` (scaled when that
/// is not its own size); nothing when it cannot be decoded.
std::optional<Picture> DecodePicture(std::string_view bytes, int width, int height);

}  // namespace velorin
