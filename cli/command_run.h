#pragma once
// One conversion run as a command of velorin-cli hosts it (convert and map
// alike): the overwrite question on the terminal, the progress line, Ctrl-C
// as cancel, --explain's lines, then the report and its exit code.
#include <cstdio>
#include <iosfwd>

#include "cli/input_read_count.h"
#include "cli/run_report.h"
#include "convert/conversion_run.h"

namespace velorin {

/// Where a command talks to the person that runs it.
struct ConvertConsole {
  std::ostream& err;
  /// Where an answer to the overwrite question is read from; no question is
  /// asked (the output is refused) when absent.
  std::istream* answers = nullptr;
  /// Terminal for the live progress line; none when absent.
  std::FILE* progressTerminal = nullptr;
  /// How far the inputs are read, for the progress line (the file system
  /// the run opens them through); the line shows records alone without.
  InputReadCount* readCount = nullptr;
  /// Turn Ctrl-C into a cancel of the run.
  bool catchInterrupt = false;
};

struct CommandRun {
  /// The run; its paths as the command's file system sees them (with
  /// StdioFileSystem, the standard streams under their reserved names).
  RunOptions options;
  /// What the report needs to know besides the outcome.
  ReportContext context;
  bool force = false;
  bool explain = false;
};

/// Runs `run` on the files of `files` and reports it on `console.err`;
/// returns the exit code.
int RunOnCommandLine(CommandRun run, FileSystem& files, Clock& clock, ConvertConsole& console);

/// The files of `options` as the report names them.
RunPaths PathsOf(const RunOptions& options);

}  // namespace velorin
