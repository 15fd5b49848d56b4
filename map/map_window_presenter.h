#pragma once
// The rules of the map window, whatever toolkit draws it: reading a file
// with the settings the host gives, the question about edits not saved
// before they are let go, one choice kept in step between the list and the
// map (a click chooses one item, Shift adds, Ctrl turns one item over; a
// rectangle adds its items, or turns them over with Ctrl), the details of
// the item chosen alone (a skipped point's line read from its file), the
// caption and count, and which commands may be used. It drives a
// MapWindowView and is driven by the view's events.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/map_load.h"
#include "map/map_messages.h"
#include "map/map_view.h"
#include "map/map_window_view.h"
#include "platform/file_system.h"

namespace velorin {

class MapWindowPresenter {
 public:
  /// Words from `words`; files read through `files`; whether routes and
  /// tracks are shown kept in the map's settings file at `settingsPath`.
  /// `read` holds what the window's settings say of a reading (the untitled
  /// rule, the input's datum, the OpenStreetMap objects kept). All
  /// references must outlive the presenter.
  MapWindowPresenter(MapWindowView& view, const MapMessages& words, FileSystem& files,
                     std::string settingsPath, MapReadOptions read);

  // What is shown.
  const std::string& Path() const { return path_; }
  const MapData* Data() const { return data_.get(); }
  PointEditor* Editor() const { return data_ ? data_->editor.get() : nullptr; }
  /// Some edit is done: the points differ from the file read.
  bool HoldsEdits() const;
  /// The points differ from those last saved (or read).
  bool Unsaved() const;
  /// The item chosen alone, if one is.
  std::optional<std::uint32_t> ChosenAlone() const;
  bool RoutesAndTracks() const { return routes_; }

  // Reading.
  /// Asks about edits not saved, then reads `path` (the same again anew):
  /// false when the user keeps the edits.
  bool ShowFile(const std::string& path);
  /// The points read: shown, and what was not read said.
  void Loaded(std::shared_ptr<MapData> data);
  /// The datum of POT, NVI and CSV input: true when it changed.
  bool SetInputDatum(Datum datum);
  /// The most points the map holds, from the next file read on.
  void SetCapacity(std::int32_t points) { capacity_ = points; }
  /// Shows the points of routes and tracks too, or not, and keeps that in
  /// the settings: false when the user kept edits not saved (nothing changes).
  bool ShowRoutesAndTracks(bool shown);
  /// Asks about edits not saved (Save, Discard, Cancel): true when the
  /// window may let them go.
  bool MayLetEditsGo();

  // The choice (map_choice.cpp).
  void ItemClicked(std::uint32_t item, ClickKeys keys);
  void EmptyClicked(ClickKeys keys);
  void RectangleChosen(const std::vector<std::uint32_t>& items, ClickKeys keys);
  /// The list's choice changed by the user: rows `chosen` and `unchosen`.
  void ListChoiceChanged(const std::vector<RowRange>& chosen,
                         const std::vector<RowRange>& unchosen);
  /// Chooses `items` alone.
  void ChooseItems(const std::vector<std::uint32_t>& items);
  void SelectAll();
  /// The find box's text changed, and Return was pressed in it.
  void FindTyped(const std::string& text);
  void FindConfirmed();
  void SetOrder(ListOrder order);

  // The edits (map_edit_commands.cpp).
  void DeleteChosen();
  void Rename(std::uint32_t item, const std::string& title);
  void MoveTo(std::uint32_t item, LonLat position);
  void DragChosen(const MapView& view, double dx, double dy);
  void Add(const std::string& title, LonLat position);
  void Undo();
  void Redo();
  void Save();
  void SaveAs();

  // What is said (map_details.cpp).
  /// The details of the item chosen alone.
  void ShowDetails();
  /// The caption, the count and which commands may be used.
  void UpdateStatus();

 private:
  void Load();
  void ListChanged();
  void ChoiceChanged();
  void Edited(const SettledStep& step);
  void SayWhatWasNotRead(const MapData& data);
  std::string CountText(const PointEditor& editor);
  std::string Message(int number) const { return words_.Text(number); }

  MapWindowView& view_;
  const MapMessages& words_;
  FileSystem& files_;
  std::string settingsPath_;
  MapReadOptions read_;
  std::shared_ptr<MapData> data_;
  std::string path_;
  std::int32_t capacity_ = kMapPointLimit;
  bool routes_ = false;
  /// The user let the edits of the points shown go (Discard).
  bool editsLetGo_ = false;
};

/// The last part of `path`, as the system names files.
std::string FileNameOfPath(const std::string& path);
/// `text` without the white space at either end (Unicode's spaces too).
std::string TrimmedText(const std::string& text);

}  // namespace velorin
