#include "win32/point_dialog.h"

#include <cstdint>
#include <vector>

#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

enum BoxItem : WORD {
  kTitleLabel = 10,
  kTitleBox,
  kCheck,
  kLongitudeLabel,
  kLongitudeBox,
  kLatitudeLabel,
  kLatitudeBox,
};

struct BoxState {
  const PointBoxRequest* request;
  HFONT font;
  PointBoxAnswer answer;
};

// A dialog template in memory: each item after its header, on DWORDs.
class Template {
 public:
  void Align() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  template <typename T>
  void Put(const T& value) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
    bytes_.insert(bytes_.end(), raw, raw + sizeof value);
  }
  void Word(WORD value) { Put(value); }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD kind) {
    Align();
    Put(DLGITEMTEMPLATE{WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, id});
    Word(0xFFFF);
    Word(kind);  // the predefined class: 0x80 button, 0x81 edit, 0x82 static
    Word(0);     // no text: set when the box opens
    Word(0);     // no creation data
  }
  const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }
  void SetCount(WORD count) { reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = count; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::wstring TextOf(HWND box, int id) {
  const HWND item = GetDlgItem(box, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

void ShowCheck(HWND box, const BoxState& state) {
  if (!state.request->asksTitle || !state.request->checkTitle) return;
  std::wstring check =
      Widen(state.request->checkTitle(Narrow(TextOf(box, kTitleBox)).value_or("")));
  for (std::size_t at = check.find(L'\n'); at != std::wstring::npos; at = check.find(L'\n', at + 2))
    check.insert(at, 1, L'\r');
  SetDlgItemTextW(box, kCheck, check.c_str());
}

void Opened(HWND box, BoxState& state) {
  const PointBoxRequest& request = *state.request;
  SetWindowTextW(box, Widen(request.caption).c_str());
  const std::pair<int, const std::string*> texts[] = {
      {kTitleLabel, &request.titleLabel},         {kTitleBox, &request.title},
      {kLongitudeLabel, &request.longitudeLabel}, {kLongitudeBox, &request.longitude},
      {kLatitudeLabel, &request.latitudeLabel},   {kLatitudeBox, &request.latitude}};
  for (const auto& [id, text] : texts) SetDlgItemTextW(box, id, Widen(*text).c_str());
  SetDlgItemTextW(box, IDOK, L"OK");
  SetDlgItemTextW(box, IDCANCEL, Widen(request.cancel).c_str());
  for (HWND item = GetWindow(box, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT))
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), TRUE);
  for (const int id : {kTitleLabel, kTitleBox, kCheck})
    ShowWindow(GetDlgItem(box, id), request.asksTitle ? SW_SHOWNA : SW_HIDE);
  ShowCheck(box, state);
  SetFocus(GetDlgItem(box, request.asksTitle ? kTitleBox : kLongitudeBox));
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(box, DWLP_USER, lParam);
    Opened(box, *reinterpret_cast<BoxState*>(lParam));
    return FALSE;  // the focus is set
  }
  auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, DWLP_USER));
  if (message != WM_COMMAND || state == nullptr) return FALSE;
  const WORD id = LOWORD(wParam);
  if (id == kTitleBox && HIWORD(wParam) == EN_CHANGE) ShowCheck(box, *state);
  if (id == IDOK) {
    state->answer = {Narrow(TextOf(box, kTitleBox)).value_or(""),
                     Narrow(TextOf(box, kLongitudeBox)).value_or(""),
                     Narrow(TextOf(box, kLatitudeBox)).value_or("")};
  }
  if (id == IDOK || id == IDCANCEL) EndDialog(box, id);
  return TRUE;
}

}  // namespace

std::optional<PointBoxAnswer> AskPointBox(HWND owner, HFONT font, const PointBoxRequest& request) {
  Template layout;
  layout.Put(DLGTEMPLATE{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0, 0, 0,
                         220, 118});
  layout.Word(0);  // no menu
  layout.Word(0);  // the dialog class
  layout.Word(0);  // the caption: set when it opens
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  const DWORD edit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  layout.Item(label, 7, 7, 60, 10, kTitleLabel, 0x82);
  layout.Item(edit, 70, 5, 143, 13, kTitleBox, 0x81);
  layout.Item(label, 70, 20, 143, 30, kCheck, 0x82);
  layout.Item(label, 7, 56, 60, 10, kLongitudeLabel, 0x82);
  layout.Item(edit, 70, 54, 143, 13, kLongitudeBox, 0x81);
  layout.Item(label, 7, 74, 60, 10, kLatitudeLabel, 0x82);
  layout.Item(edit, 70, 72, 143, 13, kLatitudeBox, 0x81);
  layout.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 106, 96, 50, 15, IDOK, 0x80);
  layout.Item(WS_TABSTOP | BS_PUSHBUTTON, 163, 96, 50, 15, IDCANCEL, 0x80);
  layout.SetCount(9);
  BoxState state{&request, font, {}};
  const INT_PTR pressed = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Data(), owner,
                                                  BoxProcedure, reinterpret_cast<LPARAM>(&state));
  if (pressed != IDOK) return std::nullopt;
  return state.answer;
}

}  // namespace velorin
