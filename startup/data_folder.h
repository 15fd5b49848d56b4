#pragma once
// Where the programs' read-only data files lie (the settings, message and
// help files, the land of the map): beside the program in a build tree or an
// unpacked copy; installed, in the data folder that lies in one relation to
// the program's folder ("../share/velorin"), the same under any prefix.
#include <string>

namespace velorin {

/// That relation, as the build was configured.
std::string DataFromProgram();

/// `path` without "." and ".." steps, ending with "/": "/usr/bin/../share"
/// as "/usr/share/", shorter in messages. No file system access.
std::string NormalFolder(const std::string& path);

/// The installed data folder of a program in `programFolder`, ending with a
/// separator: "/usr/bin/" and "../share/velorin" give "/usr/share/velorin/"
/// (the program folder is already resolved).
std::string InstalledDataFolder(const std::string& programFolder,
                                const std::string& dataFromProgram);

/// The data folder of the running program that holds `fileName`: the
/// program's own folder when the file lies there, else the installed one.
std::string DataFolderHolding(const std::string& fileName);

}  // namespace velorin
