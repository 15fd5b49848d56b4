#include "convert/run_log.h"

#include <string>

#include "convert/run_summary.h"
#include "formats/poi_record.h"

namespace velorin {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSkippedRemark = "was Skipped";

}  // namespace

void RunLog::InputStarted(std::string_view path, bool announce, bool everyLine) {
  everyLine_ = everyLine;
  // An input whose first bytes chose a format not logged by the line.
  summarized_ = summarized_ || !everyLine;
  if (announce) AppendLine("Input " + std::string(path));
}

void RunLog::Entry(const ReadEntry& entry, bool written, std::string_view records) {
  if (!everyLine_) return;
  out_.Append("Line#");
  out_.Append(records);
  out_.Append('\t');
  if (written) {
    const Point& point = entry.point;
    out_.Append(point.title.empty() ? kNoTitleText : std::string_view(point.title));
    out_.Append('\t');
    out_.Append(entry.longitudeText);
    out_.Append('\t');
    out_.Append(entry.latitudeText);
    out_.Append('\t');
    out_.Append(NviPositionOf(point.position).view());
  } else {
    out_.Append(kSkippedRemark);
  }
  out_.Append(kLineBreak);
}

void RunLog::Skipped(std::int64_t line, std::string_view reason) {
  if (everyLine_) return;
  AppendLine("Line " + std::to_string(line) + "\t" + std::string(reason));
}

void RunLog::Finish(const RunOutcome& outcome, PointFormat input, PointFormat output,
                    Summarizer summarize) {
  if (!summarized_) return;
  AppendLine(WrittenCount(outcome.records, output) + " written");
  if (summarize == nullptr) summarize = SummarizeRun;
  for (const std::string& line : SummaryLines(summarize(outcome, input, output))) {
    AppendLine(line);
  }
}

void RunLog::AppendLine(std::string_view utf8) {
  // The log is CP932 like every text file of the program.
  const std::optional<Cp932Title> text = TitleToCp932(utf8);
  out_.Append(text ? std::string_view(text->text) : utf8);
  out_.Append(kLineBreak);
}

}  // namespace velorin
