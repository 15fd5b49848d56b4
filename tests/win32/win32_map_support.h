#pragma once
// What the tests of the Win32 map window share: message tables whose texts
// are their numbers, a folder of the window's own (its settings and tile
// cache) beside the real land, point files written for a test, the
// window's thread run until something has happened, and a file's map
// opened through the main window.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/wide_text_win32.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "win32/main_window.h"
#include "win32/map_window.h"

namespace velorin::win32_test {

namespace fs = std::filesystem;

/// Message N reads "MN"; the font as the Windows zip names it.
inline StartupTables NumberedTables(const std::string& language) {
  StartupTables tables;
  tables.systemSettings[0] = language;
  tables.systemSettings[1] = "0";  // untitled points kept
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[0] = "Tahoma";
  tables.messageTable[1] = "9";
  tables.messageTable[22] = "-";
  return tables;
}

/// The window's files in `folder`, the land from the build's programs.
inline FileLocations MapLocations(const fs::path& folder) {
  const std::string own = Narrow(folder.wstring() + L"\\").value_or("");
  FileLocations locations = PortableLocations(own);
  locations.dataFolder = std::string(VELORIN_BIN) + "\\";
  locations.tileCacheFolder = own + "tiles\\";
  return locations;
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// A CSV file of `count` points on a grid over Tokyo, `step` degrees apart,
/// fifty to a row.
inline std::string GridCsv(int count, double step) {
  std::string text = "name,lat,lon\n";
  for (int n = 0; n < count; ++n) {
    const double longitude = 139.6 + (n % 50) * step;
    const double latitude = 35.6 + (n / 50) * step;
    text += "P" + std::to_string(n) + "," + std::to_string(latitude) + "," +
            std::to_string(longitude) + "\n";
  }
  return text;
}

/// Handles the thread's messages (through `dispatch` when given, as the
/// program's loop does) until `done` says so; false when it has not after
/// `limit`.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(30),
                      const std::function<void(MSG&)>& dispatch = {}) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (dispatch) {
        dispatch(message);
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(5);
  }
}

/// Handles the thread's messages for `time`.
inline void PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

/// Writes `text` to `file`, makes it the input of `window` and opens its
/// map (File > Map); the map once the points of this file are shown, not
/// those read before, and drawn.
inline Win32MapWindow& OpenMap(Win32MainWindow& window, const fs::path& file,
                               const std::string& text) {
  WriteFile(file, text);
  window.Presenter().AcceptInputPath(Narrow(file.wstring()).value_or(""));
  SendMessageW(window.Handle(), WM_COMMAND, Win32MainWindow::kMapCommand, 0);
  Win32MapWindow& map = *window.Map();
  PumpUntil([&] { return map.Data() != nullptr && map.Data()->path() == Narrow(file.wstring()); },
            std::chrono::seconds(30), [&window](MSG& message) { window.Dispatch(message); });
  map.Canvas().DrawFrame();
  return map;
}

}  // namespace velorin::win32_test
