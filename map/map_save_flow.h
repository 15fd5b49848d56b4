#pragma once
// Saving the map window's edited points, for any toolkit: Save As asks for
// a file whose extension chooses the format, Save writes again into the
// file last saved (the user's own, named by Save As in this window) without
// a dialog. Before either writes, the map's rules (SaveGuard) decide: the
// file read is saved over only when the map holds all of it and the user,
// told what of it will not be kept, agrees; a file another program changed
// since Velorin read or wrote it is replaced only when the user agrees.
// Both run the engine's conversion of the edited points with this flow as
// the run's host (the replacement question, the event step), then have the
// refusal or failure shown, or keep the lines of what was written and left
// out. The toolkit shows and asks through a MapSaveView.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "convert/run_host.h"
#include "map/edit_save.h"
#include "map/map_save_view.h"
#include "map/point_editor.h"
#include "map/save_guard.h"
#include "map/save_report.h"
#include "platform/clock.h"

namespace velorin {

class MapSaveFlow : public RunHost {
 public:
  /// `settings` are the window's settings lines (the datums of Tool >
  /// Option), read at each save; the files are read and written through
  /// `files`. All must outlive the flow.
  MapSaveFlow(MapSaveView& view, const std::vector<std::string>& settings, FileSystem& files,
              Clock& clock);

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
  /// What the last save (into Last()) wrote and left out; nothing before any.
  const std::optional<std::vector<ReportLine>>& Report() const { return report_; }

  /// The formats Save As offers: every one Velorin writes, in the format
  /// table's order.
  static std::vector<PointFormat> SavedFormats();

  // The run's host: asked by the engine during a save.
  bool MayReplace(std::string_view outputPath) override;
  bool EventStep() override;

 private:
  bool SaveInto(PointEditor& editor, const std::string& path, PointFormat format, bool dialog);
  /// Asks or refuses as the map's rules say before a save into `save.path`;
  /// false when nothing is to be written. Clears askToReplace_ when the
  /// user was asked already.
  bool MayWrite(const PointEditor& editor, const EditSave& save);
  EditSave SaveOf(const std::string& path, PointFormat format) const;
  std::string Message(int number) { return view_.MessageText(number); }

  MapSaveView& view_;
  const std::vector<std::string>& settings_;
  FileSystem& files_;
  Clock& clock_;
  std::optional<std::pair<std::string, PointFormat>> last_;
  /// The rules over the map saved from; made at its first save.
  std::optional<SaveGuard> guard_;
  const EditableMap* guarded_ = nullptr;
  std::optional<std::vector<ReportLine>> report_;
  /// Whether the run under way asks before it replaces a file.
  bool askToReplace_ = false;
};

}  // namespace velorin
