#pragma once
// What the Win32 benchmarks share: velorin.exe's start-up from the data
// files beside them (run_win32_*_bench.sh puts them there), and its command
// line's words (platform/program_arguments_win32.h).
#include <cstdlib>
#include <optional>

#include "platform/program_arguments_win32.h"
#include "platform/program_folder.h"
#include "platform/program_seams.h"
#include "startup/file_locations.h"
#include "startup/startup.h"

namespace velorin::bench {

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
