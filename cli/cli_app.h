#pragma once
// The command line of velorin-cli: its commands, options and exit codes.

namespace velorin {

class StdioFileSystem;

inline constexpr const char* kCliVersion = "velorin-cli 0.2.0";

/// Parses the arguments, runs the command on the files of `files` (the
/// program's disk, with the standard streams under "-") and returns the
/// exit code.
int RunCliApp(int argc, char** argv, StdioFileSystem& files);

}  // namespace velorin
