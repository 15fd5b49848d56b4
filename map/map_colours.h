#pragma once
// The map's colours, whatever draws it (the windows, the SVG map): sea,
// land, points and clusters, the text of labels and notices; the windows'
// marks of skipped, chosen and found points.
#include <cstdint>

namespace velorin {

struct MapColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline constexpr MapColour kSeaRgb{0xaa, 0xd3, 0xdf};
inline constexpr MapColour kLandRgb{0xf2, 0xef, 0xe9};
inline constexpr MapColour kPointRgb{0xd6, 0x27, 0x28};
inline constexpr MapColour kHaloRgb{0xff, 0xff, 0xff};
inline constexpr MapColour kTextRgb{0x20, 0x21, 0x24};
inline constexpr MapColour kSelectionRgb{0x1a, 0x73, 0xe8};
/// Points the conversion would skip, where their positions are known.
inline constexpr MapColour kSkippedRgb{0x9a, 0xa0, 0xa6};
/// The ring of a point whose title holds the text being found.
inline constexpr MapColour kFoundRgb{0xf9, 0xab, 0x00};

/// How opaque a cluster's disc is (of 255): the land shows through a little.
inline constexpr int kClusterFillAlpha = 200;

}  // namespace velorin
