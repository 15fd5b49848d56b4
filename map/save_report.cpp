#include "map/save_report.h"

namespace velorin {
namespace {

std::int64_t TitlesChanged(const TitleCounts& titles) {
  return titles.replaced + titles.unshowable + titles.recoded + titles.tidied + titles.controls +
         titles.adjusted;
}

std::int64_t TextsNotKept(const FieldCounts& fields) {
  std::int64_t total = 0;
  for (std::size_t field = 0; field < fields.notKept.size(); ++field) {
    total += fields.notKept[field] + fields.leftOut[field];
  }
  return total;
}

}  // namespace

std::vector<ReportLine> LeftOutLines(const SaveCounts& counts) {
  std::vector<ReportLine> lines;
  const SkipCounts& skipped = counts.outcome.skipped;
  if (skipped.total() > 0) {
    ReportLine line{kSkippedMessage, skipped.total()};
    for (const auto& [message, count] : {std::pair{kSkippedUntitledMessage, skipped.untitled},
                                         std::pair{kSkippedOutOfRangeMessage, skipped.outOfRange},
                                         std::pair{kSkippedUnreadableMessage, skipped.malformed}}) {
      if (count > 0) line.parts.emplace_back(message, count);
    }
    lines.push_back(std::move(line));
  }
  if (counts.beyondLimit > 0) lines.push_back({kBeyondLimitMessage, counts.beyondLimit});
  if (const std::int64_t titles = TitlesChanged(counts.outcome.titles); titles > 0) {
    lines.push_back({kTitlesChangedMessage, titles});
  }
  if (counts.namedNoTitle > 0) lines.push_back({kNamedNoTitleMessage, counts.namedNoTitle});
  if (const std::int64_t texts = TextsNotKept(counts.outcome.fields); texts > 0) {
    lines.push_back({kTextsNotKeptMessage, texts});
  }
  return lines;
}

std::vector<ReportLine> SavedLines(const SaveCounts& counts) {
  std::vector<ReportLine> lines{{kRecordsWrittenMessage, counts.outcome.records}};
  for (ReportLine& line : LeftOutLines(counts)) lines.push_back(std::move(line));
  return lines;
}

std::vector<ReportLine> LossLines(const RunOutcome& read, const SaveCounts& save,
                                  bool changedOnDisk) {
  std::vector<ReportLine> lines;
  if (read.linesWithoutPoints > 0) {
    lines.push_back({kLinesWithoutPointsMessage, read.linesWithoutPoints});
  }
  if (const std::int64_t items = read.ignored.Total(); items > 0) {
    lines.push_back({kOtherItemsMessage, items});
  }
  for (ReportLine& line : LeftOutLines(save)) lines.push_back(std::move(line));
  lines.push_back({kNotReadMessage});
  if (changedOnDisk) lines.push_back({kInputChangedMessage});
  return lines;
}

std::string ReportText(const std::vector<ReportLine>& lines, const SaveMessageText& message) {
  std::string text;
  for (const ReportLine& line : lines) {
    if (&line != &lines.front()) text += '\n';
    text += message(line.message);
    if (line.count) text += ' ' + std::to_string(*line.count);
    std::string parts;
    for (const auto& [number, count] : line.parts) {
      if (!parts.empty()) parts += ", ";
      parts += message(number) + ' ' + std::to_string(count);
    }
    if (!parts.empty()) text += " (" + parts + ')';
  }
  return text;
}

}  // namespace velorin
