#pragma once
// The words of the map windows, whatever toolkit draws them: their numbers
// in the message table, and the table itself decoded once for a person to
// read.
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

/// Message numbers of the map window (the titles of its boxes are the
/// run's, window/run_boxes.h).
enum MapMessage : int {
  kMapMenuMessage = 12,
  kFileMenuMessage = 10,
  // What a save says (map/save_report.h puts them into lines).
  kSavedToMessage = 60,  ///< the file's name follows
  kBeyondLimitMessage = 61,
  kTitlesChangedMessage = 62,
  kNamedNoTitleMessage = 63,
  kTextsNotKeptMessage = 64,
  kOverInputMessage = 65,
  kLinesWithoutPointsMessage = 66,
  kOtherItemsMessage = 67,
  kInputChangedMessage = 68,
  kSavedFileChangedMessage = 69,
  kNotWholeMessage = 70,
  kMapFullMessage = 71,
  kNotReadMessage = 75,
  kSaveQuestionTitleMessage = 90,  ///< the run's question title
  kSaveErrorTitleMessage = 91,     ///< the run's error title
  kReplaceQuestionMessage = 103,
  kRecordsWrittenMessage = 107,
  // The points skipped, in all and by kind: in the list and in a save's lines.
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
  kCannotWriteKindMessage = 179,
  kSelectedMessage = 180,
  /// The Close of the map window's File menu, where no toolkit gives the
  /// word (the Win32 window).
  kCloseMessage = 190,
  // The commands of the map window's menus, where no toolkit gives the
  // words (the Win32 window).
  kSaveMessage = 191,
  kSaveAsMessage = 192,
  kUndoMessage = 193,
  kRedoMessage = 194,
  kDeleteMessage = 195,
  kRenameMessage = 196,
  kSelectAllMessage = 197,
  kFindMessage = 198,
};

/// A menu's word as a box's caption or button says it: without its key
/// ("保存(&S)", "&Save") and its dots ("Add a point...").
std::string PlainMenuWord(std::string_view word);

class MapMessages {
 public:
  /// The message table as the files hold it (CP932); `japanese`: the
  /// window speaks Japanese.
  MapMessages(const std::vector<std::string>& table, bool japanese);

  /// The UTF-8 text of a message; empty for a number the table lacks.
  const std::string& Text(int number) const;
  bool Japanese() const { return japanese_; }

 private:
  std::vector<std::string> texts_;
  bool japanese_;
};

}  // namespace velorin
