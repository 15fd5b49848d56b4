#pragma once
// Saving the map window's edited points: the flow of Save and Save As, its
// rules, questions and run (map/map_save_flow.h), shown in Qt: message
// boxes over the map window, the common save dialog, and events handled a
// few times a second but no input while the points are written. What a
// save wrote and left out is said in the window's words.
#include <QElapsedTimer>
#include <QString>
#include <optional>
#include <string>

#include "gui/common_dialog.h"
#include "gui/map/map_texts.h"
#include "map/map_save_flow.h"
#include "platform/clock.h"

class QWidget;

namespace velorin {

class MapSaver : private MapSaveView {
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
  void Forget() { flow_.Forget(); }
  /// The file last saved and its format.
  const std::optional<std::pair<std::string, PointFormat>>& Last() const { return flow_.Last(); }
  /// The format a title is checked for: the one last saved, else the map's.
  PointFormat TargetFormat(const PointEditor& editor) const { return flow_.TargetFormat(editor); }
  /// What the last save wrote and left out, in the window's words; empty
  /// before any.
  QString Report() const;

 private:
  std::string MessageText(int number) override;
  bool ShowBox(const SaveBox& box) override;
  bool AskToReplace() override;
  void ShowRunEnd(const RunOutcome& outcome) override;
  std::optional<std::string> AskSavePath(const SavePathRequest& request) override;
  bool HandleEvents() override;
  MessageAnswer Show(const MessageBoxRequest& request);

  QWidget& window_;
  const MapTexts& texts_;
  CommonDialog dialog_;
  LocalClock clock_;
  QElapsedTimer sinceEvents_;
  MapSaveFlow flow_;
};

}  // namespace velorin
