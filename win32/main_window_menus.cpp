// The menu bar of the Win32 main window: File, Tool (whose Option holds the
// datum choices) and Help, built again from the texts and switches the
// window rules set.
#include "platform/wide_text_win32.h"
#include "win32/main_window.h"

namespace velorin {
namespace {

struct MenuTree {
  MainMenu menu;
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

/// The items that open a popup of their own.
constexpr MenuTree kSubmenus[] = {
    {MainMenu::kToolOption,
     {MainMenu::kToolOptionInputDatum, MainMenu::kToolOptionOutputDatum,
      MainMenu::kToolOptionOsmFuel, MainMenu::kToolOptionOsmServices,
      MainMenu::kToolOptionOsmHotSpring, MainMenu::kToolOptionOsmParking},
     6},
};

const MenuTree* TreeOf(MainMenu menu) {
  for (const MenuTree& tree : kMenus) {
    if (tree.menu == menu) return &tree;
  }
  for (const MenuTree& tree : kSubmenus) {
    if (tree.menu == menu) return &tree;
  }
  return nullptr;
}

}  // namespace

HMENU Win32MainWindow::BuildPopup(MainMenu menu) const {
  const MenuTree* tree = TreeOf(menu);
  if (tree == nullptr) return nullptr;
  const HMENU popup = CreatePopupMenu();
  if (menu == MainMenu::kFile) AppendMapItem(popup);
  for (int n = 0; n < tree->itemCount; ++n) {
    const MainMenu id = tree->items[n];
    const auto found = menus_.find(id);
    const MenuState item = found == menus_.end() ? MenuState{} : found->second;
    // A Win32 menu has no hidden state: a hidden item is left out.
    if (!item.visible) continue;
    const UINT state = (item.enabled ? 0U : MF_GRAYED) | (item.checked ? MF_CHECKED : 0U);
    if (item.separator) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    } else if (const HMENU inner = BuildPopup(id)) {
      AppendMenuW(popup, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(inner),
                  Widen(item.text).c_str());
    } else {
      AppendMenuW(popup, MF_STRING | state, MenuCommand(id), Widen(item.text).c_str());
    }
  }
  return popup;
}

void Win32MainWindow::RebuildMenuBar() {
  const HMENU bar = CreateMenu();
  for (const MenuTree& tree : kMenus) {
    const MenuState& top = menus_[tree.menu];
    if (!top.visible) continue;
    AppendMenuW(bar, MF_POPUP | MF_STRING | (top.enabled ? 0U : MF_GRAYED),
                reinterpret_cast<UINT_PTR>(BuildPopup(tree.menu)), Widen(top.text).c_str());
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
