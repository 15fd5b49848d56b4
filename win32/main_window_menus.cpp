// The menu bar of the Win32 main window: File and Help (Tool hidden), built
// again from the texts and switches the window rules set.
#include "platform/wide_text_win32.h"
#include "win32/main_window.h"

namespace velorin {
namespace {

struct MenuTree {
  MainMenu top;
  MainMenu items[6];
  int itemCount;
};

constexpr MenuTree kMenus[] = {
    {MainMenu::kFile,
     {MainMenu::kFileNviAddr, MainMenu::kFileNviComm, MainMenu::kFileNviHpgl,
      MainMenu::kFileNviMail, MainMenu::kFileNviSeparator, MainMenu::kFileQuit},
     6},
    {MainMenu::kTool, {MainMenu::kToolOption}, 1},
    {MainMenu::kHelp, {MainMenu::kHelpHelp, MainMenu::kHelpDummy1, MainMenu::kHelpAbout}, 3},
};

}  // namespace

void Win32MainWindow::RebuildMenuBar() {
  const HMENU bar = CreateMenu();
  for (const MenuTree& tree : kMenus) {
    const MenuState& top = menus_[tree.top];
    // A Win32 menu has no hidden state: a hidden menu is left out.
    if (!top.visible) continue;
    const HMENU popup = CreatePopupMenu();
    for (int n = 0; n < tree.itemCount; ++n) {
      const MenuState& item = menus_[tree.items[n]];
      if (!item.visible) continue;
      if (item.separator) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(popup,
                    MF_STRING | (item.enabled ? 0U : MF_GRAYED) | (item.checked ? MF_CHECKED : 0U),
                    MenuCommand(tree.items[n]), Widen(item.text).c_str());
      }
    }
    AppendMenuW(bar, MF_POPUP | MF_STRING | (top.enabled ? 0U : MF_GRAYED),
                reinterpret_cast<UINT_PTR>(popup), Widen(top.text).c_str());
  }
  const HMENU old = GetMenu(hwnd_);
  SetMenu(hwnd_, bar);
  if (old != nullptr) DestroyMenu(old);
  menuBar_ = bar;
  DrawMenuBar(hwnd_);
}

void Win32MainWindow::SetMenuText(MainMenu menu, const std::string& text, bool separator) {
  menus_[menu].text = text;
  menus_[menu].separator = separator;
  RebuildMenuBar();
}

void Win32MainWindow::SetMenuVisible(MainMenu menu, bool visible) {
  menus_[menu].visible = visible;
  RebuildMenuBar();
}

void Win32MainWindow::SetMenuEnabled(MainMenu menu, bool enabled) {
  menus_[menu].enabled = enabled;
  RebuildMenuBar();
}

void Win32MainWindow::SetMenuChecked(MainMenu menu, bool checked) {
  menus_[menu].checked = checked;
  RebuildMenuBar();
}

}  // namespace velorin
