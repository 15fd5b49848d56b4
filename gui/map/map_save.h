#pragma once
// Saving the map window's edited points: Save As asks for a file whose
// extension chooses the format, Save writes again into the file last saved
// (the user's own, named by Save As in this window) without a dialog or a
// question. Both run the engine's conversion of the edited points
// (SaveInWindow): the replacement question, the safe output, the failure
// boxes of Convert.
#include <QString>
#include <optional>
#include <string>

#include "gui/common_dialog.h"
#include "gui/map/map_texts.h"
#include "map/point_editor.h"

class QWidget;

namespace velorin {

class MapSaver {
 public:
  /// `settings` are the window's (the datums of Tool > Option), read at
  /// each save.
  MapSaver(QWidget& window, const MapTexts& texts, const std::vector<std::string>& settings);

  /// Asks for a file and saves into it; true when the points were saved.
  bool SaveAs(PointEditor& editor);
  /// Saves into the file last saved, or as Save As does before any.
  bool Save(PointEditor& editor);
  /// A new file is shown: nothing is saved from it yet.
  void Forget() { last_.reset(); }
  /// The file last saved and its format.
  const std::optional<std::pair<std::string, PointFormat>>& Last() const { return last_; }
  /// The format a title is checked for: the one last saved, else the map's.
  PointFormat TargetFormat(const PointEditor& editor) const;

 private:
  bool SaveInto(PointEditor& editor, const std::string& path, PointFormat format, bool ask);
  /// The file types the dialog offers: every format Velorin writes.
  static QString Filter();

  QWidget& window_;
  const MapTexts& texts_;
  const std::vector<std::string>& settings_;
  CommonDialog dialog_;
  std::optional<std::pair<std::string, PointFormat>> last_;
};

}  // namespace velorin
