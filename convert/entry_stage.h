#pragma once
// What becomes of each entry of a run's input: a point goes through the
// title rule, the filters, the check against what the output holds and
// dedupe into the writer (or, sorted, into the points held until the end);
// every entry that gives no record is counted, told and logged.
#include <cstdint>
#include <optional>
#include <string>

#include "convert/conversion_run.h"
#include "convert/counting_text.h"
#include "convert/datum_stage.h"
#include "convert/duplicate_points.h"
#include "convert/point_selector.h"
#include "convert/run_log.h"
#include "convert/sorted_points.h"
#include "convert/title_rule.h"
#include "formats/nvi_fields.h"
#include "formats/point_check.h"
#include "platform/buffered_writer.h"

namespace velorin {

class EntryStage {
 public:
  /// `output` is the file the writer writes (null for a sink), `log` the
  /// run's log (null without one); both are looked at after each write.
  /// `datum` moves the positions between datums, prepared for the run.
  EntryStage(const RunOptions& options, RunHost& host, PointWriter& writer,
             const BufferedWriter* output, RunLog* log, RunOutcome& outcome,
             std::int32_t& recordCount, DatumStage& datum);

  /// The input of `index` (from 0) is read from here on.
  void StartInput(std::size_t index);

  enum class Taken {
    kSkipped,  ///< no record, counted and told
    kWritten,
    kPassedOver,   ///< a line that holds no point at all
    kWriteFailed,  ///< the output could not be written
    kLogFailed,    ///< the log could not be written
    kCancelled,    ///< the host cancelled the run while a filter searched the title
  };
  /// Whether the run ends at `taken` (kWriteFailed and after): one
  /// comparison for an entry that goes well.
  static constexpr bool Stops(Taken taken) { return taken >= Taken::kWriteFailed; }
  /// Takes the entry; a point's position may be moved into the output's
  /// datum on the way.
  Taken Take(ReadEntry& entry);

  /// Writes the points held for the sort, when there is one; false when the
  /// output could not be written.
  bool WriteHeld();

 private:
  Taken TakePoint(ReadEntry& entry);
  /// Moves the point into the output's datum, then checks it; why it
  /// cannot be written, or nothing.
  std::optional<std::pair<SkipKind, std::string>> MoveAndCheck(Point& point, bool untitled);
  void Skip(const ReadEntry& entry, SkipKind kind, std::string_view reason);
  /// A point whose title a point written before has close by: dropped,
  /// counted and told.
  bool DropDuplicate(const Point& point, std::string_view title);
  /// A point a filter leaves out: counted under it, told and logged.
  PointSelector::Verdict LeaveOut(const Point& point, std::string_view title);
  void CountTitleChange(const Point& point, TitleChange change);
  /// Writes a point to the writer; of its further texts, those the output
  /// keeps go through the title rule (and into the NVI fields asked for),
  /// the others are counted.
  void WritePoint(const Point& point, std::string_view title) {
    if (point.fields.Any()) {
      WriteWithTexts(point, title);
    } else {
      writer_.Write(point, title);
    }
  }
  void WriteWithTexts(const Point& point, std::string_view title);

  const RunOptions& options_;
  RunHost& host_;
  PointWriter& writer_;
  const BufferedWriter* output_;
  RunLog* log_;
  RunOutcome& outcome_;
  std::int32_t& records_;
  DatumStage& datum_;
  TitleRule rule_;
  TitleSource source_;
  PointRanges ranges_;
  /// The fields the output keeps; the NVI fields filled, when asked.
  PointFieldSet keptFields_;
  NviFieldSet nviFields_;
  NviFieldValues nviValues_;
  std::size_t input_ = 0;
  std::optional<DuplicatePoints> duplicates_;
  std::optional<PointSelector> selector_;
  std::optional<SortedPoints> sorted_;
  /// The log's record count text, which follows the count by adding one to
  /// its digits rather than writing the number anew for every record.
  CountingText countText_{" "};
};

}  // namespace velorin
