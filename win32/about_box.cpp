#include "win32/about_box.h"

#include <cmath>

#include "platform/wide_text_win32.h"
#include "win32/resource_ids.h"
#include "window/about_texts.h"
#include "window/main_layout.h"

namespace velorin {
namespace {

constexpr int kClientWidth = 3660;  // twips
constexpr int kClientHeight = 1860;
constexpr int kOffsetFromMainWindow = 500;

struct AboutPlacement {
  int id;
  int left, top, width, height;
  bool bold;
};

constexpr AboutPlacement kPlacements[] = {
    {VELORIN_ABOUT_TITLE, 810, 225, 2760, 240, true},
    {VELORIN_ABOUT_VERSION, 1125, 495, 2445, 240, true},
    {VELORIN_ABOUT_COPYRIGHT, 225, 945, 3165, 240, false},
    {IDOK, 2655, 1350, 780, 330, false},
    {VELORIN_ABOUT_ICON, 90, 90, 480, 480, false},
};

struct AboutState {
  const AboutContent* content;
  HWND owner;
  HFONT normal = nullptr;
  HFONT bold = nullptr;
};

HFONT MakeFont(const FontSpec& spec, int dpi, bool bold) {
  const float points = spec.size > 0.0F ? spec.size : 9.0F;
  return CreateFontW(-static_cast<int>(std::lround(points * static_cast<float>(dpi) / 72.0F)), 0, 0,
                     0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                     Widen(spec.name).c_str());
}

void LoadAboutBox(HWND box, AboutState& state) {
  const int dpi = static_cast<int>(GetDpiForWindow(box));
  auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  RECT outer{0, 0, px(kClientWidth), px(kClientHeight)};
  AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  RECT owner{};
  GetWindowRect(state.owner, &owner);
  SetWindowPos(box, nullptr, owner.left + px(kOffsetFromMainWindow),
               owner.top + px(kOffsetFromMainWindow), outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER);
  state.normal = MakeFont(state.content->font, dpi, false);
  state.bold = MakeFont(state.content->font, dpi, true);
  for (const AboutPlacement& p : kPlacements) {
    const HWND control = GetDlgItem(box, p.id);
    SetWindowPos(control, nullptr, px(p.left), px(p.top), px(p.width), px(p.height), SWP_NOZORDER);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(p.bold ? state.bold : state.normal),
                 TRUE);
  }
  SetWindowTextW(box, Widen(state.content->caption).c_str());
  SetDlgItemTextW(box, VELORIN_ABOUT_TITLE, Widen(kAboutTitleText).c_str());
  SetDlgItemTextW(box, VELORIN_ABOUT_VERSION, Widen(state.content->versionText).c_str());
  SetDlgItemTextW(box, VELORIN_ABOUT_COPYRIGHT, Widen(state.content->copyright).c_str());
}

INT_PTR CALLBACK AboutProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      LoadAboutBox(box, *reinterpret_cast<AboutState*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDOK);
      return TRUE;
    case WM_CLOSE:
      EndDialog(box, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowWin32AboutBox(HWND owner, const AboutContent& content) {
  AboutState state{&content, owner};
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELORIN_ABOUT_DIALOG), owner,
                  AboutProcedure, reinterpret_cast<LPARAM>(&state));
  DeleteObject(state.normal);
  DeleteObject(state.bold);
}

}  // namespace velorin
