#pragma once
// The list of points beside the Win32 map: an owner-data ListView over the
// editor's PointList (map/point_list.h), so that a million rows cost no
// copies. It shows the points, then the skipped ones under their groups'
// headings (bold, not chosen), a skipped item greyed; a column's click
// sorts by title or by line; a row's tip says the point's details or why
// it was skipped. What the person chooses, sorts, renames or
// types while renaming is told to the window, which tells the presenter;
// the rows chosen are those the presenter says. A small choice is copied
// into the list view's own, row by row and only the rows that change
// (Wine's list view walks every row for a change of all); a large one is
// drawn from the rows the presenter gave, the list view's own left empty.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/map_messages.h"
#include "map/map_window_view.h"
#include "map/point_editor.h"
#include "win32/tracking_tip.h"

namespace velorin {

struct PointListListener {
  /// The rows chosen changed (told once for a run of changes).
  std::function<void()> choiceChanged;
  std::function<void(ListOrder order)> orderChosen;
  /// A title was typed while renaming (and once as the editing starts).
  std::function<void(const std::string& typed)> titleTyped;
  /// Renaming ended: with the title typed, or cancelled (nothing).
  std::function<void(std::uint32_t item, std::optional<std::string> title)> renameEnded;
};

class Win32PointList {
 public:
  enum Column { kTitleColumn, kLongitudeColumn, kLatitudeColumn, kLineColumn, kColumns };

  /// A child of `parent` with the id `id`.
  Win32PointList(HWND parent, int id, const MapMessages& words);
  Win32PointList(const Win32PointList&) = delete;
  Win32PointList& operator=(const Win32PointList&) = delete;

  HWND Handle() const { return hwnd_; }
  void SetListener(PointListListener listener) { listener_ = std::move(listener); }
  void SetFont(HFONT font, HFONT bold);
  /// The columns' widths for a list `width` pixels wide.
  void SizeColumns(int width, int dpi);
  /// The editor shown (null: none).
  void SetEditor(PointEditor* editor);
  /// The rows changed (an edit, a find, an order): counted and drawn anew,
  /// the rows `chosen` shown chosen.
  void Refresh(const std::vector<std::size_t>& chosen);
  /// The rows `chosen` shown as the rows chosen (nothing told back).
  void ShowChoice(const std::vector<std::size_t>& chosen);
  /// The rows chosen now (headings among them too), in runs; the next
  /// change is news again. A drawn choice is read from the rows drawn.
  std::vector<RowRange> ChosenRanges();
  std::size_t RowCount() const;
  /// Scrolls to `row`.
  void ShowRow(std::size_t row);
  /// The arrow over the column the rows are sorted by.
  void ShowOrder(ListOrder order);
  /// Starts renaming `item` in its row.
  void StartRename(std::uint32_t item);
  /// Whether `row` is drawn chosen (by the list view's own or as drawn).
  bool RowShownChosen(std::size_t row) const;
  /// The most rows changed at once in the list view's own choice; a larger
  /// choice is drawn (tests make it small).
  void SetCopyLimit(std::size_t rows) { copyLimit_ = rows; }
  /// The text of a cell, as drawn (UTF-8).
  std::string CellText(std::size_t row, int column) const;
  /// What the tip of `row` says (UTF-8): a point's details, or why a
  /// skipped one was left out; nothing for a heading.
  std::string RowTip(std::size_t row) const;
  /// The tip shown now (UTF-8); empty while none is.
  const std::string& TipText() const { return tip_->Text(); }
  /// Handles the list's WM_NOTIFY; nothing for one it leaves alone.
  std::optional<LRESULT> Notify(const NMHDR& header);

 private:
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  std::wstring HeadingText(ListGroup group) const;
  void GiveText(NMLVDISPINFOW& info);
  /// The mouse moved over the list, rested or left: the tip of its row.
  void Hovered(UINT message, LPARAM where);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  LRESULT BeginRename(const NMLVDISPINFOW& info);
  void EndRename(const NMLVDISPINFOW& info);
  void ChoiceNotified();
  std::vector<std::size_t> SelectedRows() const;
  void CopyChoice(const std::vector<std::size_t>& rows);
  void SetRows(const std::vector<std::size_t>& rows, UINT state);
  void ClearShown();
  void SetDrawn(bool drawn);
  bool DrawnChosen(std::size_t row) const;
  /// Ctrl+click or Ctrl+Space over a drawn choice: the row at `where`, or
  /// `row`, chosen or let go; false when the choice is the list view's own.
  bool TurnOver(LPARAM where);
  bool TurnOverRow(int row);

  HWND hwnd_ = nullptr;
  const MapMessages& words_;
  PointEditor* editor_ = nullptr;
  PointListListener listener_;
  HFONT bold_ = nullptr;
  std::wstring text_;
  /// The choice is being pushed: the list's own notices are not news.
  bool syncing_ = false;
  bool choicePending_ = false;
  /// The rows last given to show chosen (Ctrl+click over a drawn choice
  /// turns one over), in order.
  std::vector<std::size_t> chosen_;
  /// The rows the list view has chosen, in order, as last set or read.
  std::vector<std::size_t> shown_;
  /// The choice is too large for the list view's own: drawn from chosen_.
  bool drawn_ = false;
  /// A Ctrl+click turned a drawn row over: chosen_ is the news, not the
  /// list view's own.
  bool turnedOver_ = false;
  std::size_t copyLimit_ = 256;
  std::optional<std::uint32_t> renaming_;
  std::unique_ptr<TrackingTip> tip_;
  /// The row the mouse is over (-1: none).
  int tipRow_ = -1;
};

/// Posted to the list's parent after the rows chosen changed; the window
/// then tells the presenter ChosenRanges.
inline constexpr UINT kListChoiceMessage = WM_APP + 22;

}  // namespace velorin
