#pragma once
// The map window's place on the screen, by the rules of
// map/map_window_place.h: where the user left it before (the map's settings
// file), or else beside the main window within the available screen area;
// and remembering where it is when it goes.
#include <string>

#include "platform/file_system.h"

class QWidget;

namespace velorin {

/// Shows `map` where it belongs: at once when `main` is on the screen, else
/// as soon as the window system has put it there (so that the main
/// window's place is known).
void ShowBeside(QWidget& map, QWidget& main, FileSystem& files, const std::string& settingsPath);

/// Writes where `map` is and how large into the settings file (nothing when
/// there is no such file's place).
void RememberPlace(const QWidget& map, FileSystem& files, const std::string& settingsPath);

}  // namespace velorin
