#pragma once
// The words of the map window, from the message table: its caption, the
// buttons, the notices, what a point and a skipped point show.
#include <QString>
#include <cstdint>

#include "gui/map/map_data.h"
#include "startup/startup.h"

namespace velorin {

/// Message numbers of the map window.
enum MapMessage : int {
  kMapMenuMessage = 12,
  kMapCaptionMessage = 140,
  kZoomInMessage = 141,
  kZoomOutMessage = 142,
  kFitMessage = 143,
  kSkippedListMessage = 144,
  kNoPointsMessage = 145,
  kReadingMessage = 146,
  kCannotReadMessage = 147,
  kPointCountMessage = 148,
  kLineMessage = 149,
  kPositionCodeMessage = 150,
  kNoTitleMessage = 151,
  kOutOfRangeMessage = 152,
  kUnreadableMessage = 153,
  kLongitudeMessage = 154,
  kLatitudeMessage = 155,
  kTilesFailedMessage = 156,
};

class MapTexts {
 public:
  explicit MapTexts(const StartupTables& tables) : tables_(tables) {}

  QString Message(int number) const;
  /// Title, longitude and latitude as D'M'S'T and decimal degrees, the NVI
  /// position code and the line, one to a line.
  QString PointText(const MapData& data, std::uint32_t index) const;
  /// "Line 12: no title".
  QString SkipText(const MapSkip& skip) const;

 private:
  const StartupTables& tables_;
};

}  // namespace velorin
