#pragma once
// Saving the map window's edited points: Save As asks for a file whose
// extension chooses the format, Save writes again into the file last saved
// (the user's own, named by Save As in this window) without a dialog.
// Before either writes, the map's rules (SaveGuard) decide: the file read
// is saved over only when the map holds all of it and the user, told what
// of it will not be kept, agrees; a file another program changed since
// Velorin read or wrote it is replaced only when the user agrees. Both run
// the engine's conversion of the edited points (SaveInWindow: the
// replacement question, the safe output, the failure boxes), and then say
// what was written and what was left out and why.
#include <QString>
#include <optional>
#include <string>

#include "gui/common_dialog.h"
#include "gui/map/map_texts.h"
#include "map/edit_save.h"
#include "map/point_editor.h"
#include "map/save_guard.h"

class QWidget;

namespace velorin {

class MapSaver {
 public:
  /// `settings` are the window's (the datums of Tool > Option), read at
  /// each save; the files are read and written through `files`.
  MapSaver(QWidget& window, const MapTexts& texts, const std::vector<std::string>& settings,
           FileSystem& files);

  /// Asks for a file and saves into it; true when the points were saved.
  bool SaveAs(PointEditor& editor);
  /// Saves into the file last saved, or as Save As does before any.
  bool Save(PointEditor& editor);
  /// A new file is shown: nothing is saved from it yet.
  void Forget();
  /// The file last saved and its format.
  const std::optional<std::pair<std::string, PointFormat>>& Last() const { return last_; }
  /// The format a title is checked for: the one last saved, else the map's.
  PointFormat TargetFormat(const PointEditor& editor) const;
  /// What the last save wrote and left out, in the window's words; empty
  /// before any.
  const QString& Report() const { return report_; }

 private:
  bool SaveInto(PointEditor& editor, const std::string& path, PointFormat format, bool dialog);
  /// Asks or refuses as the map's rules say before a save into `save.path`;
  /// false when nothing is to be written. `ask` is whether the run is still
  /// to ask before it replaces a file.
  bool MayWrite(const PointEditor& editor, const EditSave& save, bool& ask);
  EditSave SaveOf(const std::string& path, PointFormat format) const;
  /// The file types the dialog offers: every format Velorin writes.
  static QString Filter();
  /// The place of `format` among them, from 1.
  static int FilterIndexOf(PointFormat format);

  QWidget& window_;
  const MapTexts& texts_;
  const std::vector<std::string>& settings_;
  FileSystem& files_;
  CommonDialog dialog_;
  std::optional<std::pair<std::string, PointFormat>> last_;
  /// The rules over the map saved from; made at its first save.
  std::optional<SaveGuard> guard_;
  const EditableMap* guarded_ = nullptr;
  QString report_;
};

}  // namespace velorin
