#include "win32/shortcut_menu.h"

#include "platform/wide_text_win32.h"

namespace velorin {

std::optional<std::size_t> ShowShortcutMenu(HWND owner, POINT screen,
                                            const std::vector<std::string>& items) {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return std::nullopt;
  // Command 0 is what TrackPopupMenu answers for no choice: items from 1.
  for (std::size_t at = 0; at < items.size(); ++at)
    AppendMenuW(menu, MF_STRING, at + 1, Widen(items[at]).c_str());
  const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x,
                                     screen.y, 0, owner, nullptr);
  DestroyMenu(menu);
  if (chosen <= 0) return std::nullopt;
  return static_cast<std::size_t>(chosen) - 1;
}

}  // namespace velorin
