#pragma once
// The words of the map window: from the message table (its caption, the
// buttons, the notices, the editing's menus and questions, what a point and
// a skipped point show) and, for the commands every program has (Undo,
// Save, Delete ...), from Qt's own translations, in the language of the
// message files.
#include <QString>
#include <cstdint>

#include "map/edited_points.h"
#include "map/map_messages.h"
#include "map/save_report.h"
#include "startup/startup.h"
#include "window/run_boxes.h"

namespace velorin {

/// The commands whose words Qt's translations hold.
enum class QtCommand { kUndo, kRedo, kDelete, kRename, kSelectAll, kFind, kSave, kSaveAs, kClose };

class MapTexts {
 public:
  explicit MapTexts(const StartupTables& tables) : words_(tables.messageTable, tables.Japanese()) {}

  QString Message(int number) const;
  /// The message table as the map's rules word it.
  const MapMessages& Words() const { return words_; }
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
  MapMessages words_;
};

}  // namespace velorin
