#pragma once
// What velorin-cli says, and with which exit code, once a conversion run has
// ended.
#include <string>
#include <string_view>

#include "convert/conversion_run.h"

namespace velorin {

struct RunReport {
  int exitCode = 0;
  std::string text;  ///< lines for standard error, each ending in "\n"
};

/// The files of the run as the file system saw them (the standard streams
/// under their reserved names).
struct RunPaths {
  std::string input;
  std::string output;
  std::string log;
};

/// "input file 'a.pot'", or "standard input" for the stream.
std::string DescribeFile(std::string_view role, std::string_view path);

/// "1 record", "2 records".
std::string RecordCount(std::int64_t records);

/// `refusedExistingOutput`: the overwrite question was answered No (or
/// could not be asked); `asked`: a person answered it; `interruptSignal`:
/// the signal that cancelled the run (its exit code is 128 + the number).
RunReport ReportRunOutcome(const RunOutcome& outcome, const RunPaths& files,
                           bool refusedExistingOutput, bool asked, int interruptSignal = 0);

}  // namespace velorin
