#pragma once
// The log of a run (--log, the window's log switch), in its two shapes: a
// line for every line of a POT input ("Line#", the record count, TAB, what
// became of the line), or for other inputs a line for every skipped point
// ("Line 12", TAB, why) and at the end what the run did. CP932, CR LF.
#include <cstdint>
#include <string_view>

#include "convert/counting_text.h"
#include "convert/run_outcome.h"
#include "convert/run_summary.h"
#include "formats/format_table.h"
#include "platform/buffered_writer.h"

namespace velorin {

class RunLog {
 public:
  /// `summarized`: the log ends with a summary (some input is not logged
  /// line by line); so does it once such an input has started.
  RunLog(BufferedWriter& out, bool summarized) : out_(out), summarized_(summarized) {}

  /// An input of several begins ("Input PATH"); `everyLine` is its format's
  /// shape of log.
  void InputStarted(std::string_view path, bool announce, bool everyLine);
  /// One entry of an input logged line by line, after it was handled;
  /// `records` is the record count text after it (" 3").
  void Entry(const ReadEntry& entry, bool written, std::string_view records);
  /// A skipped or dropped point of an input logged by its skips.
  void Skipped(std::int64_t line, std::string_view reason);
  /// The summary, when the log has one, in the words of `summarize`.
  void Finish(const RunOutcome& outcome, PointFormat input, PointFormat output,
              Summarizer summarize);

  bool ok() const { return out_.ok(); }

 private:
  /// UTF-8 text as a CP932 line.
  void AppendLine(std::string_view utf8);

  BufferedWriter& out_;
  bool summarized_;
  bool everyLine_ = false;
};

}  // namespace velorin
