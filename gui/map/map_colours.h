#pragma once
// The map's colours, those of the SVG map as well: sea, land, points and
// clusters, the text of labels and notices.
#include <QColor>

namespace velorin {

inline const QColor kSeaColour(0xaa, 0xd3, 0xdf);
inline const QColor kLandColour(0xf2, 0xef, 0xe9);
inline const QColor kPointColour(0xd6, 0x27, 0x28);
inline const QColor kHaloColour(0xff, 0xff, 0xff);
inline const QColor kTextColour(0x20, 0x21, 0x24);
inline const QColor kSelectionColour(0x1a, 0x73, 0xe8);

}  // namespace velorin
