#pragma once
// The map's colours (map/map_colours.h) as Qt's.
#include <QColor>

#include "map/map_colours.h"

namespace velorin {

inline QColor QtColour(MapColour colour) { return QColor(colour.red, colour.green, colour.blue); }

inline const QColor kSeaColour = QtColour(kSeaRgb);
inline const QColor kLandColour = QtColour(kLandRgb);
inline const QColor kPointColour = QtColour(kPointRgb);
inline const QColor kHaloColour = QtColour(kHaloRgb);
inline const QColor kTextColour = QtColour(kTextRgb);
inline const QColor kSelectionColour = QtColour(kSelectionRgb);
/// Points the conversion would skip, where their positions are known.
inline const QColor kSkippedColour = QtColour(kSkippedRgb);
/// The ring of a point whose title holds the text being found.
inline const QColor kFoundColour = QtColour(kFoundRgb);

}  // namespace velorin
