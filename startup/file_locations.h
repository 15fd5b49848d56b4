#pragma once
// Where the program's own files are, decided once at start-up and passed down
// as paths. Portable: the settings and message files lie beside the program
// (a build tree, an unpacked folder) and everything stays there, the log too.
// Installed: read-only data in share/velorin next to the program's bin folder,
// the user's settings under $XDG_CONFIG_HOME/velorin, the log under
// $XDG_STATE_HOME/velorin, the map's tiles under $XDG_CACHE_HOME/velorin;
// nothing is written into the installation.
#include <string>

namespace velorin {

inline constexpr char kSettingsFileName[] = "velorin.ini";
inline constexpr char kLogFileName[] = "velorin_log.txt";
/// The map window's own settings (its tile server), apart from velorin.ini,
/// whose sixteen lines keep their meaning.
inline constexpr char kMapSettingsFileName[] = "velorin_map.ini";

enum class FileMode { kPortable, kInstalled };

struct FileLocations {
  FileMode mode = FileMode::kPortable;
  /// Message and help files; ends with a separator.
  std::string dataFolder;
  /// The settings file that is read.
  std::string settingsPath;
  /// Installed only: the shipped settings, copied to settingsPath when that
  /// file does not exist yet, so that the user has a file to edit.
  std::string shippedSettingsPath;
  std::string logPath;
  /// Installed only: the log's folder may be created when a run needs it.
  bool createLogFolder = false;
  /// The map window's settings; it may not exist (defaults then). Empty
  /// when there is no place for it.
  std::string mapSettingsPath;
  /// Where map tiles are kept between runs, ending with a separator; empty
  /// when there is no place for them (tiles then live in memory only).
  std::string tileCacheFolder;
};

/// What the decision depends on, gathered at the edge (see user_files.h).
struct LocationFacts {
  std::string programFolder;       ///< ends with a separator
  bool dataBesideProgram = false;  ///< velorin.ini or a message file lies there
  /// The installed data folder relative to the program folder, such as
  /// "../share/velorin": the same relation under any installation prefix.
  std::string dataFromProgram;
  std::string xdgConfigHome;      ///< empty when unset
  std::string xdgStateHome;       ///< empty when unset
  std::string home;               ///< empty when unknown
  std::string xdgCacheHome = {};  ///< empty when unset
};

/// Everything in `folder` (ending with a separator), as a portable copy has it.
FileLocations PortableLocations(const std::string& folder);

/// Portable when the data lies beside the program, installed otherwise.
/// XDG variables count only when they hold an absolute path; otherwise
/// ~/.config, ~/.local/state and ~/.cache. With no home known at all, the shipped
/// settings are read as they are and the log has no place (empty path).
FileLocations DecideFileLocations(const LocationFacts& facts);

/// The user's settings could not be provided: read the shipped ones instead.
FileLocations WithShippedSettings(FileLocations locations);

}  // namespace velorin
