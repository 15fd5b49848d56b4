// velorin.exe --map FILE as a person starts it: a copy of the program and
// its data files in a folder of its own, started as a process; its map
// window shows the file beside the main window, and closing the main
// window ends the program and keeps the map's place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32_map_support.h"
#include "win32_test_folder.h"

namespace velorin {
namespace {

using namespace win32_test;

struct Found {
  DWORD process;
  const wchar_t* windowClass;
  HWND window = nullptr;
};

HWND WindowOf(DWORD process, const wchar_t* windowClass) {
  Found found{process, windowClass};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<Found*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (owner != wanted->process || std::wstring(name) != wanted->windowClass) return TRUE;
        wanted->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

std::wstring Title(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(Win32MapStart, MapOptionShowsTheFileBesideTheWindow) {
  const fs::path folder = win32_test::OwnTestFolder(L"velorin_map_start_地図");
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"velorin.exe", "velorin.ini", "velorin_e.msg", "velorin_j.msg",
                           "velorin_hlp_e.txt", "velorin_hlp_j.txt", "land-10m.bin"})
    fs::copy_file(fs::path(VELORIN_BIN) / name, folder / name);
  WriteFile(folder / "velorin_map.ini", "[tiles]\r\nurl=none\r\n");
  const fs::path points = folder / L"点.csv";
  WriteFile(points, GridCsv(300, 0.01));
  std::wstring line =
      L"\"" + (folder / "velorin.exe").wstring() + L"\" --map \"" + points.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.wstring().c_str(), &startup, &process));
  HWND map = nullptr;
  const bool shown = PumpUntil(
      [&] {
        map = WindowOf(process.dwProcessId, L"VelorinMapWindow");
        return map != nullptr && IsWindowVisible(map) &&
               Title(map).find(L"点.csv") != std::wstring::npos;
      },
      std::chrono::seconds(60));
  const HWND main = WindowOf(process.dwProcessId, L"VelorinMainWindow");
  EXPECT_TRUE(shown);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetWindow(map, GW_OWNER), main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0U);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_NE(ReadFile(folder / "velorin_map.ini").find("[window]"), std::string::npos);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace velorin
