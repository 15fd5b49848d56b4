#include "win32/map_list.h"

// The mouse's coordinates.
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <numeric>
#include <utility>

#include "map/map_colours.h"
#include "map/point_texts.h"
#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

// A row's tip sits this far below and right of the mouse.
constexpr int kTipOffset = 16;

std::string DegreesText(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.5f", degrees);
  return text;
}

/// `rows` (in order) in runs, those below `count` only.
std::vector<RowRange> Runs(const std::vector<std::size_t>& rows, std::size_t count) {
  std::vector<RowRange> ranges;
  for (const std::size_t at : rows) {
    if (at >= count) break;
    if (!ranges.empty() && ranges.back().last + 1 == at) {
      ranges.back().last = at;
    } else {
      ranges.push_back({at, at});
    }
  }
  return ranges;
}

}  // namespace

Win32PointList::Win32PointList(HWND parent, int id, const MapMessages& words) : words_(words) {
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                              LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                          0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const int titles[kColumns] = {kTitleMessage, kLongitudeMessage, kLatitudeMessage, kLineMessage};
  for (int column = 0; column < kColumns; ++column) {
    std::wstring text = Widen(words_.Text(titles[column]));
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    header.fmt = column == kTitleColumn ? LVCFMT_LEFT : LVCFMT_RIGHT;
    header.cx = 80;
    header.pszText = text.data();
    ListView_InsertColumn(hwnd_, column, &header);
  }
  tip_ = std::make_unique<TrackingTip>(hwnd_);
  // The box that renames a row tells each keystroke to the list.
  SetWindowSubclass(hwnd_, Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  ShowOrder(ListOrder::kFile);
}

void Win32PointList::SetFont(HFONT font, HFONT bold) {
  bold_ = bold;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  tip_->SetFont(font);
}

void Win32PointList::SizeColumns(int width, int dpi) {
  // Numbers as wide as their widest; the title takes the rest.
  const int degrees = MulDiv(86, dpi, 96);
  const int line = MulDiv(64, dpi, 96);
  const int scroll = GetSystemMetrics(SM_CXVSCROLL) + MulDiv(6, dpi, 96);
  ListView_SetColumnWidth(hwnd_, kLongitudeColumn, degrees);
  ListView_SetColumnWidth(hwnd_, kLatitudeColumn, degrees);
  ListView_SetColumnWidth(hwnd_, kLineColumn, line);
  ListView_SetColumnWidth(hwnd_, kTitleColumn,
                          std::max(MulDiv(80, dpi, 96), width - 2 * degrees - line - scroll));
}

void Win32PointList::SetEditor(PointEditor* editor) {
  editor_ = editor;
  if (renaming_) ListView_CancelEditLabel(hwnd_);
  Refresh({});
}

std::size_t Win32PointList::RowCount() const {
  return editor_ == nullptr ? 0 : editor_->list().RowCount();
}

void Win32PointList::Refresh(const std::vector<std::size_t>& chosen) {
  const std::size_t rows = RowCount();
  // Wine's list view takes milliseconds to set even the count it has: a
  // rename or a move keeps it.
  if (static_cast<std::size_t>(ListView_GetItemCount(hwnd_)) != rows) {
    syncing_ = true;
    ListView_SetItemCountEx(hwnd_, static_cast<int>(rows),
                            LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    syncing_ = false;
  }
  // The list view keeps its choice by row and lets go of the rows beyond.
  shown_.erase(std::lower_bound(shown_.begin(), shown_.end(), rows), shown_.end());
  InvalidateRect(hwnd_, nullptr, FALSE);
  ShowOrder(editor_ == nullptr ? ListOrder::kFile : editor_->list().order());
  ShowChoice(chosen);
}

void Win32PointList::ShowChoice(const std::vector<std::size_t>& chosen) {
  if (editor_ == nullptr) return;
  if (choicePending_) {
    // A change of the person's not read yet: the list view's rows are news
    // to compare with, and the rows given now are what the notice reads.
    shown_ = SelectedRows();
    turnedOver_ = true;
  }
  chosen_ = chosen;
  if (!std::ranges::is_sorted(chosen_)) std::ranges::sort(chosen_);
  syncing_ = true;
  CopyChoice(chosen_);
  if (!chosen_.empty())
    ListView_SetItemState(hwnd_, static_cast<int>(chosen_.front()), LVIS_FOCUSED, LVIS_FOCUSED);
  syncing_ = false;
}

void Win32PointList::CopyChoice(const std::vector<std::size_t>& rows) {
  std::vector<std::size_t> gone;
  std::vector<std::size_t> added;
  std::ranges::set_difference(shown_, rows, std::back_inserter(gone));
  std::ranges::set_difference(rows, shown_, std::back_inserter(added));
  if (gone.size() + added.size() <= copyLimit_) {
    SetRows(gone, 0);
    SetRows(added, LVIS_SELECTED);
    shown_ = rows;
    SetDrawn(false);
  } else if (rows.size() > copyLimit_) {
    ClearShown();
    SetDrawn(true);
  } else {
    ClearShown();
    SetRows(rows, LVIS_SELECTED);
    shown_ = rows;
    SetDrawn(false);
  }
}

void Win32PointList::SetRows(const std::vector<std::size_t>& rows, UINT state) {
  for (const std::size_t row : rows)
    ListView_SetItemState(hwnd_, static_cast<int>(row), state, LVIS_SELECTED);
}

void Win32PointList::ClearShown() {
  if (shown_.size() <= copyLimit_) {
    SetRows(shown_, 0);
  } else {
    // Not -1, which walks every row: the list view lets go of the choice of
    // the rows it loses, so none for a moment, then all again, at the row
    // shown at the top as before.
    const int top = ListView_GetTopIndex(hwnd_);
    const int rows = ListView_GetItemCount(hwnd_);
    ListView_SetItemCountEx(hwnd_, 0, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    ListView_SetItemCountEx(hwnd_, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    RECT first{};
    if (top > 0 && ListView_GetTopIndex(hwnd_) != top &&
        ListView_GetItemRect(hwnd_, 0, &first, LVIR_BOUNDS))
      ListView_Scroll(hwnd_, 0, (top - ListView_GetTopIndex(hwnd_)) * (first.bottom - first.top));
  }
  shown_.clear();
}

void Win32PointList::SetDrawn(bool drawn) {
  if (drawn_ == drawn && !drawn) return;
  drawn_ = drawn;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

std::vector<std::size_t> Win32PointList::SelectedRows() const {
  const std::size_t rows = static_cast<std::size_t>(std::max(0, ListView_GetItemCount(hwnd_)));
  const std::size_t count =
      std::min(rows, static_cast<std::size_t>(ListView_GetSelectedCount(hwnd_)));
  std::vector<std::size_t> found(count == rows ? rows : 0);
  if (count == rows) {
    std::iota(found.begin(), found.end(), std::size_t{0});
    return found;
  }
  // Stops at the last one: the list view would walk every row after it.
  found.reserve(count);
  for (int row = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); row >= 0 && found.size() < count;
       row = ListView_GetNextItem(hwnd_, row, LVNI_SELECTED))
    found.push_back(static_cast<std::size_t>(row));
  return found;
}

std::vector<RowRange> Win32PointList::ChosenRanges() {
  choicePending_ = false;
  if (!std::exchange(turnedOver_, false)) {
    shown_ = SelectedRows();
    if (drawn_ && GetKeyState(VK_CONTROL) < 0) {
      // Ctrl held over a drawn choice adds to it (Ctrl+Shift+click).
      std::vector<std::size_t> both;
      std::ranges::set_union(chosen_, shown_, std::back_inserter(both));
      chosen_ = std::move(both);
    } else {
      chosen_ = shown_;
      SetDrawn(false);
    }
  }
  return Runs(drawn_ ? chosen_ : shown_, RowCount());
}

bool Win32PointList::DrawnChosen(std::size_t row) const {
  return drawn_ && row < RowCount() && !editor_->list().Row(row).heading &&
         std::ranges::binary_search(chosen_, row);
}

bool Win32PointList::RowShownChosen(std::size_t row) const {
  return ListView_GetItemState(hwnd_, static_cast<int>(row), LVIS_SELECTED) != 0 ||
         DrawnChosen(row);
}

bool Win32PointList::TurnOver(LPARAM where) {
  // Ctrl+click over a drawn choice: the list view's own knows nothing of it.
  if (!drawn_ || editor_ == nullptr) return false;
  LVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  return TurnOverRow(ListView_SubItemHitTest(hwnd_, &hit));
}

bool Win32PointList::TurnOverRow(int row) {
  if (!drawn_ || editor_ == nullptr) return false;
  if (row < 0 || static_cast<std::size_t>(row) >= RowCount()) return false;
  const auto at = static_cast<std::size_t>(row);
  if (editor_->list().Row(at).heading) return true;
  const auto place = std::ranges::lower_bound(chosen_, at);
  if (place != chosen_.end() && *place == at) {
    chosen_.erase(place);
  } else {
    chosen_.insert(place, at);
  }
  SetFocus(hwnd_);
  syncing_ = true;
  ListView_SetItemState(hwnd_, row, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_SetSelectionMark(hwnd_, row);
  syncing_ = false;
  ListView_RedrawItems(hwnd_, row, row);
  // Told as a change of the list view's own is: the window reads it back.
  turnedOver_ = true;
  if (!std::exchange(choicePending_, true))
    PostMessageW(GetParent(hwnd_), kListChoiceMessage, 0, 0);
  return true;
}

void Win32PointList::ShowRow(std::size_t row) {
  if (row >= RowCount()) return;
  // Asked after most edits for a row already in sight, where Wine's list
  // view would still take tens of milliseconds at a million rows.
  const auto top = static_cast<std::size_t>(std::max(0, ListView_GetTopIndex(hwnd_)));
  const auto page = static_cast<std::size_t>(std::max(0, ListView_GetCountPerPage(hwnd_)));
  if (row >= top && row < top + page) return;
  ListView_EnsureVisible(hwnd_, static_cast<int>(row), FALSE);
}

void Win32PointList::StartRename(std::uint32_t item) {
  if (editor_ == nullptr) return;
  const std::optional<std::size_t> row = editor_->list().RowOf(item);
  if (!row) return;
  ListView_EnsureVisible(hwnd_, static_cast<int>(*row), FALSE);
  SetFocus(hwnd_);
  ListView_EditLabel(hwnd_, static_cast<int>(*row));
}

std::wstring Win32PointList::HeadingText(ListGroup group) const {
  int message = kPointCountMessage;
  switch (group) {
    case ListGroup::kPoints:
      break;
    case ListGroup::kSkipped:
      message = kSkippedMessage;
      break;
    case ListGroup::kUntitled:
      message = kSkippedUntitledMessage;
      break;
    case ListGroup::kOutOfRange:
      message = kSkippedOutOfRangeMessage;
      break;
    case ListGroup::kUnreadable:
      message = kSkippedUnreadableMessage;
      break;
  }
  return Widen(words_.Text(message) + " " + GroupedCount(editor_->list().Count(group)));
}

std::string Win32PointList::CellText(std::size_t row, int column) const {
  if (editor_ == nullptr || row >= editor_->list().RowCount()) return {};
  const ListRow shown = editor_->list().Row(row);
  if (shown.heading)
    return column == kTitleColumn ? Narrow(HeadingText(shown.group)).value_or("") : "";
  const EditedPoints& points = editor_->points();
  const std::optional<LonLat> position = points.Position(shown.item);
  switch (column) {
    case kTitleColumn:
      return std::string(points.Title(shown.item));
    case kLongitudeColumn:
      return position ? DegreesText(position->longitude) : std::string();
    case kLatitudeColumn:
      return position ? DegreesText(position->latitude) : std::string();
    case kLineColumn:
      return points.Line(shown.item) > 0 ? std::to_string(points.Line(shown.item)) : std::string();
    default:
      return {};
  }
}

std::string Win32PointList::RowTip(std::size_t row) const {
  if (editor_ == nullptr || row >= editor_->list().RowCount()) return {};
  const ListRow shown = editor_->list().Row(row);
  if (shown.heading) return {};
  const EditedPoints& points = editor_->points();
  return IsSkipped(points.Status(shown.item)) ? SkipText(words_, points, shown.item)
                                              : PointText(words_, points, shown.item);
}

void Win32PointList::Hovered(UINT message, LPARAM where) {
  if (message == WM_MOUSELEAVE) {
    tipRow_ = -1;
    return tip_->Hide();
  }
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  const int row = ListView_HitTest(hwnd_, &hit);
  if (message == WM_MOUSEMOVE) {
    if (row == tipRow_) return;
    // Another row: its tip once the mouse rests there.
    tipRow_ = row;
    tip_->Hide();
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, hwnd_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
    return;
  }
  if (row < 0 || row != tipRow_) return;
  POINT screen{hit.pt.x + kTipOffset, hit.pt.y + kTipOffset};
  ClientToScreen(hwnd_, &screen);
  tip_->Show(RowTip(static_cast<std::size_t>(row)), screen);
}

void Win32PointList::GiveText(NMLVDISPINFOW& info) {
  if ((info.item.mask & LVIF_TEXT) == 0 || info.item.cchTextMax <= 0) return;
  text_ = Widen(CellText(static_cast<std::size_t>(info.item.iItem), info.item.iSubItem));
  const std::size_t room = static_cast<std::size_t>(info.item.cchTextMax) - 1;
  const std::size_t length = std::min(room, text_.size());
  std::copy_n(text_.c_str(), length, info.item.pszText);
  info.item.pszText[length] = L'\0';
}

LRESULT Win32PointList::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || editor_ == nullptr) return CDRF_DODEFAULT;
  const std::size_t row = draw.nmcd.dwItemSpec;
  if (row >= editor_->list().RowCount()) return CDRF_DODEFAULT;
  const ListRow shown = editor_->list().Row(row);
  if (shown.heading) {
    if (bold_ != nullptr) SelectObject(draw.nmcd.hdc, bold_);
    draw.clrTextBk = GetSysColor(COLOR_BTNFACE);
    return CDRF_NEWFONT;
  }
  if (drawn_ && std::ranges::binary_search(chosen_, row)) {
    // Chosen, not in the list view's own: drawn as its own are.
    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    return CDRF_NEWFONT;
  }
  if (IsSkipped(editor_->points().Status(shown.item))) {
    draw.clrText =
        RGB(kSkippedRgb.red * 10 / 13, kSkippedRgb.green * 10 / 13, kSkippedRgb.blue * 10 / 13);
    return CDRF_NEWFONT;
  }
  return CDRF_DODEFAULT;
}

LRESULT Win32PointList::BeginRename(const NMLVDISPINFOW& info) {
  if (editor_ == nullptr || info.item.iItem < 0 ||
      static_cast<std::size_t>(info.item.iItem) >= editor_->list().RowCount())
    return TRUE;
  const ListRow shown = editor_->list().Row(static_cast<std::size_t>(info.item.iItem));
  if (shown.heading) return TRUE;  // a heading is no title
  renaming_ = shown.item;
  if (listener_.titleTyped) listener_.titleTyped(std::string(editor_->points().Title(shown.item)));
  return FALSE;
}

void Win32PointList::EndRename(const NMLVDISPINFOW& info) {
  const std::optional<std::uint32_t> item = std::exchange(renaming_, std::nullopt);
  if (!item || !listener_.renameEnded) return;
  if (info.item.pszText == nullptr) return listener_.renameEnded(*item, std::nullopt);
  listener_.renameEnded(*item, Narrow(info.item.pszText).value_or(std::string()));
}

void Win32PointList::ChoiceNotified() {
  if (syncing_ || choicePending_) return;
  choicePending_ = true;
  PostMessageW(GetParent(hwnd_), kListChoiceMessage, 0, 0);
}

void Win32PointList::ShowOrder(ListOrder order) {
  const HWND header = ListView_GetHeader(hwnd_);
  const bool byTitle = order == ListOrder::kTitle;
  for (int column = 0; column < kColumns; ++column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, column, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == (byTitle ? kTitleColumn : kLineColumn)) item.fmt |= HDF_SORTUP;
    Header_SetItem(header, column, &item);
  }
}

std::optional<LRESULT> Win32PointList::Notify(const NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      GiveText(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case NM_CUSTOMDRAW:
      return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) != 0 &&
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0)
        ChoiceNotified();
      return 0;
    }
    case LVN_ODSTATECHANGED:
      ChoiceNotified();
      return 0;
    case LVN_COLUMNCLICK: {
      const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
      if (listener_.orderChosen)
        listener_.orderChosen(click.iSubItem == kTitleColumn ? ListOrder::kTitle
                                                             : ListOrder::kFile);
      return 0;
    }
    case LVN_BEGINLABELEDITW:
      return BeginRename(reinterpret_cast<const NMLVDISPINFOW&>(header));
    case LVN_ENDLABELEDITW:
      EndRename(reinterpret_cast<const NMLVDISPINFOW&>(header));
      return FALSE;  // the window shows the title the editor keeps
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK Win32PointList::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
  auto* list = reinterpret_cast<Win32PointList*>(self);
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && list->renaming_ &&
      list->listener_.titleTyped) {
    const HWND box = reinterpret_cast<HWND>(lParam);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    list->listener_.titleTyped(Narrow(text).value_or(std::string()));
  }
  if (message == WM_LBUTTONDOWN && (wParam & MK_CONTROL) != 0 && (wParam & MK_SHIFT) == 0 &&
      list->TurnOver(lParam))
    return 0;
  // Ctrl+Space turns the focused row over, as Ctrl+click does.
  if (message == WM_KEYDOWN && wParam == VK_SPACE && GetKeyState(VK_CONTROL) < 0 &&
      GetKeyState(VK_SHIFT) >= 0 && list->TurnOverRow(ListView_GetNextItem(hwnd, -1, LVNI_FOCUSED)))
    return 0;
  if (message == WM_MOUSEMOVE || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE)
    list->Hovered(message, lParam);
  if (message == WM_NCDESTROY) {
    list->tip_->Forget();
    RemoveWindowSubclass(hwnd, Subclass, 1);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace velorin
