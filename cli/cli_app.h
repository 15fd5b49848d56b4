#pragma once
// The command line of velorin-cli: its commands, options and exit codes.

namespace velorin {

inline constexpr const char* kCliVersion = "velorin-cli 0.2.0";

/// Parses the arguments, runs the command and returns the exit code.
int RunCliApp(int argc, char** argv);

}  // namespace velorin
