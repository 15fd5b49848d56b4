#pragma once
// A shortcut menu (the right button's) of plain items, as Windows shows it.
// <windows.h> first: the declaration below needs its types.
#include <windows.h>
// Then the rest.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velorin {

/// Shows `items` (UTF-8) as a shortcut menu of `owner` at `screen` and
/// waits: the index of the item chosen, or nothing when the menu was
/// closed without a choice.
std::optional<std::size_t> ShowShortcutMenu(HWND owner, POINT screen,
                                            const std::vector<std::string>& items);

}  // namespace velorin
