#pragma once
// What velorin-cli says, and with which exit code, once a conversion between
// two point formats (anything but POT to NVI) has ended.
#include <system_error>

#include "cli/run_report.h"
#include "formats/format_table.h"
#include "formats/point_run.h"

namespace velorin {

struct FormatRunContext {
  RunPaths files;
  PointFormat output = PointFormat::kNvi;
  bool outputExisted = false;
  bool explained = false;      ///< --explain told every skip already
  int interruptSignal = 0;     ///< the signal that cancelled the run
  std::error_code writeError;  ///< kWriteFailed: the output's reason
};

/// "12 records written to a.nvi" (points for other formats), then a line
/// each for skipped points, ignored routes and tracks and changed titles,
/// or the failure and what became of the output file.
RunReport ReportFormatRun(const PointRunOutcome& outcome, const FormatRunContext& context);

}  // namespace velorin
