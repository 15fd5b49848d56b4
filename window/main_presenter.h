#pragma once
// The rules of the main window, whatever toolkit draws it: the texts and fonts
// it takes from the message table, the idle and running layouts, drop
// acceptance, the two paths with their dialogs and the Convert availability,
// help, About and the close guard. It is the window's host of a conversion
// run: the engine's questions become the boxes of run_boxes.h, its events
// the running panel and its count. It drives a MainView and is driven by
// the view's events.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "formats/nvi_fields.h"
#include "geo/datum.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "window/main_view.h"
#include "window/osm_tag_choice.h"
#include "window/run_boxes.h"
#include "window/window_run.h"

namespace velorin {

/// Keys the window acts on beyond its commands' own.
enum class WindowKey {
  kEscape,  ///< Escape
  kClose,   ///< the system's close key (Alt+F4 on Windows)
};

class MainPresenter : public RunHost {
 public:
  /// Every file of the window's runs and choices is read and written
  /// through `files`; `clock` stamps the records.
  MainPresenter(MainView& view, const StartupTables& tables, FileLocations locations,
                FileSystem& files, Clock& clock);
  ~MainPresenter() override;

  /// The load event: texts, then the idle layout, then drops switched on.
  void Load();
  /// Captions, texts and fonts of the window, its controls, menus and dialogs.
  void ApplyMainWindowTexts();
  /// 1: running layout, Cancel with the focus; any other value: idle
  /// layout, and when it ends a run, Convert with the focus again if both
  /// paths are there (Return converts again).
  void ShowExecutionPanel(std::int16_t mode);
  /// Drop acceptance of the window and the eight controls of the idle layout.
  void SetDropTargetsEnabled(bool enabled);
  /// Whether `target` takes dropped files now: Frame1 always, the switched
  /// targets while drops are on, the running panel and Cancel never.
  bool AcceptsDrops(MainControl target) const;
  /// The running layout is shown.
  bool Running() const { return running_; }
  /// Close guard: a close request is refused while the running panel is shown.
  bool CanClose() const { return !running_; }

  // Path selection.
  /// Makes `path` the input path and derives the output path from it; both
  /// dialogs are primed with the new names.
  void AcceptInputPath(const std::string& path);
  /// Makes `path` the output path; the dialogs keep their names.
  void AcceptOutputPath(const std::string& path);
  /// Change handler of both path boxes: enables Convert and gives it the
  /// focus when both paths are non-empty, disables it otherwise.
  void UpdateConvertCommand();
  /// Click of the input browse command: the open dialog, then its FileName
  /// (also after a cancel) becomes the input path unless it is empty.
  void InputDialogCommand();
  /// Click of the output browse command: the save dialog, then its FileName
  /// (also after a cancel) becomes the output path unless it is empty.
  void OutputDialogCommand();
  /// Files dropped on `target`: the first becomes the input path when the
  /// target takes drops; an empty list (dragged text) changes nothing.
  /// Returns whether the drop was taken.
  bool FilesDropped(MainControl target, const std::vector<std::string>& files);

  // Commands.
  /// Convert, with the run options of the settings file.
  void ConvertCommand();
  /// Convert with `points` (the map's edited points) read in place of the
  /// input path box's file.
  void ConvertPointsCommand(RunInput points);
  /// The conversion of the two path boxes with `options`: the start and
  /// overwrite questions, the running panel, the last box and the focus;
  /// every end leaves the idle layout with drops switched on.
  RunOutcome Convert(WindowRunOptions options);
  void CancelCommand();
  /// While a run goes on, Escape and the close key ask whether to cancel it,
  /// as Cancel does (the window never closes then). Otherwise Escape does
  /// nothing and the close key asks the window to close.
  void KeyCommand(WindowKey key);
  void QuitCommand();
  void HelpCommand();
  void AboutCommand();
  /// Tool > Option's two choices: POT, NVI and CSV input in the Tokyo
  /// datum, NVI written in it. Each click turns its choice over, ticks it or
  /// not, and keeps it in the settings file for the next start.
  void InputDatumCommand();
  void OutputDatumCommand();
  /// The datum POT, NVI and CSV inputs are in, as chosen (the map window
  /// reads them so too).
  Datum InputDatum() const;
  /// An NVI field's item under File: the field is filled from now on, or
  /// no longer, and the settings file remembers it.
  void NviFieldCommand(NviField field);
  /// Tool > Option's OpenStreetMap kinds: each click adds the kind's tags to
  /// those kept of an extract, or takes them out, remembered in the
  /// settings file.
  void OsmTagsCommand(OsmPreset preset);
  /// The datum NVI is written in, as chosen (the map window saves so too).
  Datum OutputDatum() const;

  const StartupTables& Tables() const { return tables_; }
  const FileLocations& Locations() const { return locations_; }
  /// Message `number` of the table in UTF-8; empty outside the table.
  const std::string& Message(int number) const;
  /// The font of messages 0 and 1.
  FontSpec MessageFont(bool bold = false) const;
  /// Set by Cancel answered Yes, cleared when a run starts.
  bool CancelRequested() const { return cancelRequested_; }
  /// Milliseconds between two real event steps of a run (0: every entry).
  void SetEventStepInterval(int milliseconds) { eventStepInterval_ = milliseconds; }

  // The window as the host of its runs.
  bool MayStart() override;
  bool MayReplace(std::string_view outputPath) override;
  void OnRunning() override;
  /// Handles pending events (and shows the count) at most once per
  /// event-step interval; otherwise returns at once. False after Cancel.
  bool EventStep() override;
  /// The count is kept until the next event step: a label change per
  /// record would cost more than the conversion itself.
  void OnRecordWritten(std::int32_t records) override;

 private:
  void ApplyPathGroupTexts();
  void ApplyDialogTexts();
  void ApplyMenuTexts();
  void ApplyRunningPanelTexts();
  /// The Tool menu with Option's choices, ticked as the settings say.
  void ApplyOptionMenu();
  void ToggleDatum(std::size_t entry, MainMenu item);
  /// The NVI field items' texts and check marks.
  void ApplyNviFieldMenu();
  void ApplyOsmTagMenu();
  void SetPathBoxText(PathKind path, const std::string& text);
  MessageAnswer ShowRunBox(const MessageBoxRequest& request);
  MessageLookup MessageLookupOf() const {
    return [this](int number) { return Message(number); };
  }
  /// The last box of a run, the layout and the focus it leaves.
  void ShowRunEnd(const RunOutcome& outcome, const RunOptions& run);
  /// Where the log goes, its folder made when the locations ask for it.
  std::string LogFilePath() const;
  /// Puts a count still kept back on the progress label.
  void ApplyProgressText();

  MainView& view_;
  StartupTables tables_;
  FileLocations locations_;
  std::vector<std::string> messages_;
  /// The disk, for the settings file and the run.
  FileSystem& files_;
  Clock& clock_;
  bool running_ = false;
  bool dropsEnabled_ = false;
  bool conversionActive_ = false;
  bool cancelRequested_ = false;
  // The progress label of a run: message 5 and the count, shown at the
  // next event step.
  std::string progressText_;
  bool progressPending_ = false;
  std::int32_t records_ = 0;
  std::optional<std::int64_t> lastEventStep_;  ///< on the coarse clock
  /// A few steps a second: each costs the window system's round trips
  /// (under Wine, each a wait for the wine server), and a tenth of a second
  /// still answers a click at once.
  int eventStepInterval_ = 100;
};

/// Data folder (ending with a separator) + velorin_hlp_j.txt when the
/// language is Japanese, else velorin_hlp_e.txt.
std::string HelpFilePath(const StartupTables& tables, const std::string& dataFolder);

}  // namespace velorin
