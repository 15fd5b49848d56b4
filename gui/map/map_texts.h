#pragma once
// The words of the map window: from the message table (its caption, the
// buttons, the notices, the editing's menus and questions, what a point and
// a skipped point show) and, for the commands every program has (Undo,
// Save, Delete ...), from Qt's own translations, in the language of the
// message files.
#include <QString>
#include <cstdint>

#include "map/edited_points.h"
#include "map/save_report.h"
#include "startup/startup.h"
#include "window/run_boxes.h"

namespace velorin {

/// Message numbers of the map window (the titles of its boxes are the
/// run's, run_boxes.h).
enum MapMessage : int {
  kMapMenuMessage = 12,
  kFileMenuMessage = 10,
  kSkippedMessage = 113,
  kSkippedUntitledMessage = 114,
  kSkippedOutOfRangeMessage = 115,
  kSkippedUnreadableMessage = 116,
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
  kEditMenuMessage = 157,
  kMoveToMessage = 158,
  kAddPointMessage = 159,
  kAddHereMessage = 160,
  kRoutesAndTracksMessage = 161,
  kTitleMessage = 162,
  kUnsavedMessage = 163,  ///< and 164, the question
  kUnshowableMessage = 165,
  kWrittenAsMessage = 166,
  kTooLongMessage = 167,
  kBadPositionMessage = 168,
  kConvertEditedMessage = 169,
  kShiftFailedMessage = 172,
  kSelectedMessage = 180,
};

/// The commands whose words Qt's translations hold.
enum class QtCommand { kUndo, kRedo, kDelete, kRename, kSelectAll, kFind, kSave, kSaveAs, kClose };

class MapTexts {
 public:
  explicit MapTexts(const StartupTables& tables) : tables_(tables) {}

  QString Message(int number) const;
  /// A command's words in the window's language (with its "&" mark).
  static QString Command(QtCommand command);
  /// The words without the "&" that marks a menu's key.
  static QString Plain(const QString& text);
  /// Title, longitude and latitude as D'M'S'T and decimal degrees, the NVI
  /// position code and the line, one to a line.
  QString PointText(const EditedPoints& points, std::uint32_t item) const;
  /// "Line 12: no title"; in English the engine's words on why follow.
  QString SkipText(const EditedPoints& points, std::uint32_t item) const;
  /// The window's words for why an item is skipped.
  QString StatusText(ItemStatus status) const;
  /// What a typed title will become in a file of `format`: empty when it
  /// is written as typed.
  QString TitleCheckText(const std::string& utf8, PointFormat format) const;
  /// Lines of what a save says, one to a line: "Points skipped: 3 (no
  /// title: 2, unreadable: 1)".
  QString Lines(const std::vector<ReportLine>& lines) const;

 private:
  const StartupTables& tables_;
};

}  // namespace velorin
