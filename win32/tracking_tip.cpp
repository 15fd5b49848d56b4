#include "win32/tracking_tip.h"

#include <commctrl.h>

#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

TOOLINFOW ToolOf(HWND owner) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  return tool;
}

}  // namespace

TrackingTip::TrackingTip(HWND owner) : owner_(owner) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  TOOLINFOW tool = ToolOf(owner_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 800);  // lines as the text breaks them
}

TrackingTip::~TrackingTip() {
  if (tip_ != nullptr) DestroyWindow(tip_);
}

void TrackingTip::SetFont(HFONT font) {
  SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TrackingTip::Show(const std::string& text, POINT screen) {
  if (text.empty()) return Hide();
  if (text != text_) {
    text_ = text;
    std::wstring wide = Widen(text);
    TOOLINFOW tool = ToolOf(owner_);
    tool.lpszText = wide.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
}

void TrackingTip::Hide() {
  if (!text_.empty()) SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, 0);
  text_.clear();
}

}  // namespace velorin
