#pragma once
// The map's colours, those of the SVG map as well: sea, land, points and
// clusters, the text of labels and notices; the window's marks of skipped,
// chosen and found points.
#include <QColor>

namespace velorin {

inline const QColor kSeaColour(0xaa, 0xd3, 0xdf);
inline const QColor kLandColour(0xf2, 0xef, 0xe9);
inline const QColor kPointColour(0xd6, 0x27, 0x28);
inline const QColor kHaloColour(0xff, 0xff, 0xff);
inline const QColor kTextColour(0x20, 0x21, 0x24);
inline const QColor kSelectionColour(0x1a, 0x73, 0xe8);
/// Points the conversion would skip, where their positions are known.
inline const QColor kSkippedColour(0x9a, 0xa0, 0xa6);
/// The ring of a point whose title holds the text being found.
inline const QColor kFoundColour(0xf9, 0xab, 0x00);

}  // namespace velorin
