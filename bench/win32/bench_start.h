#pragma once
// What the Win32 benchmarks share: their command line, and velorin.exe's
// start-up from the data files beside them (run_win32_*_bench.sh puts them
// there).
#include <windows.h>
// The command line's words.
#include <shellapi.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "platform/program_seams.h"
#include "platform/wide_text_win32.h"
#include "startup/file_locations.h"
#include "startup/startup.h"

namespace velorin::bench {

/// The program's arguments, without its own name, as UTF-8.
inline std::vector<std::string> CommandArguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int n = 1; n < count; ++n) arguments.push_back(Narrow(words[n]).value_or(std::string()));
  LocalFree(words);
  return arguments;
}

/// What velorin.exe starts from, as a portable copy beside the benchmark.
struct BenchStart {
  StartupTables tables;
  FileLocations locations;
  /// The map's: no tiles, and no place of its own remembered.
  FileLocations mapLocations;
};

/// velorin.exe's start-up; nothing when it failed (the data files missing).
inline std::optional<BenchStart> StartLikeVelorin() {
  _putenv_s("VELORIN_TILE_URL", "none");
  BenchStart start;
  start.locations = PortableLocations(ProgramFolder());
  if (LoadStartupFiles(ProgramFileSystem(), start.locations, start.tables).failure !=
      StartupFailure::kNone)
    return std::nullopt;
  start.mapLocations = start.locations;
  start.mapLocations.mapSettingsPath.clear();
  return start;
}

}  // namespace velorin::bench
