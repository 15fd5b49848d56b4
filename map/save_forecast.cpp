#include "map/save_forecast.h"

#include <limits>

#include "formats/poi_record.h"
#include "formats/title_text.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"

namespace velorin {
namespace {

class CountingPointWriter : public PointWriter {
 public:
  CountingPointWriter(std::unique_ptr<PointWriter> inner, SaveTally& tally)
      : inner_(std::move(inner)), tally_(tally) {}

  TitleEncoding titleEncoding() const override { return inner_->titleEncoding(); }
  void Begin() override { inner_->Begin(); }
  void Write(const Point& point, std::string_view title) override {
    Count(point, title);
    inner_->Write(point, title);
    Follow();
  }
  void WriteWithFields(const Point& point, std::string_view title,
                       const FieldTexts& fields) override {
    Count(point, title);
    inner_->WriteWithFields(point, title, fields);
    Follow();
  }
  void End() override {
    inner_->End();
    Follow();
  }
  void FieldsToCome(PointFieldSet fields) override { inner_->FieldsToCome(fields); }
  void InputWaits() override { inner_->InputWaits(); }
  std::error_code error() const override { return inner_->error(); }

 private:
  void Count(const Point& point, std::string_view title) {
    // The run names a point without a title of its own "no title".
    if (title == kNoTitleText && IsWhiteSpaceOnly(point.title)) ++tally_.namedNoTitle;
  }
  /// What the run reads of a writer after the end, as the inner one has it.
  void Follow() {
    titlesAdjusted_ = inner_->titlesAdjusted();
    fieldsLeftOut_ = inner_->fieldsLeftOut();
  }

  std::unique_ptr<PointWriter> inner_;
  SaveTally& tally_;
};

/// Takes what it is given and keeps none of it.
class NoSink : public ByteSink {
 public:
  bool Write(const char*, std::size_t) override { return true; }
  bool Close() override { return true; }
  std::error_code error() const override { return {}; }
};

}  // namespace

std::unique_ptr<PointWriter> CountingWriter(std::unique_ptr<PointWriter> inner, SaveTally& tally) {
  return std::make_unique<CountingPointWriter>(std::move(inner), tally);
}

RunOptions CountedSaveOptions(const EditedPoints& points, const EditSave& save, SaveTally& tally) {
  RunOptions run = EditSaveOptions(points, save);
  run.makeWriter = [format = run.outputFormat, options = run.writer, &tally](BufferedWriter& out,
                                                                             Clock& clock) {
    return CountingWriter(InfoOf(format).makeWriter(out, clock, options), tally);
  };
  return run;
}

SaveCounts ForecastSave(FileSystem& files, const EditedPoints& points, const EditSave& save) {
  RunOptions run = EditSaveOptions(points, save);
  run.outputPath.clear();
  run.logPath.reset();
  run.recordLimit = std::numeric_limits<std::int32_t>::max();
  NoSink nothing;
  BufferedWriter out(nothing, 1 << 16);
  FixedClock clock({});
  SaveTally tally;
  CountingPointWriter writer(InfoOf(run.outputFormat).makeWriter(out, clock, run.writer), tally);
  run.sink = &writer;
  UnattendedHost host;
  const bool limited = InfoOf(run.outputFormat).limitsRecords;
  SaveCounts counts{ConversionRun(host, files, clock, std::move(run)).Execute(),
                    tally.namedNoTitle};
  if (limited && counts.outcome.records > kRecordLimit) {
    counts.beyondLimit = counts.outcome.records - kRecordLimit;
    counts.outcome.records = kRecordLimit;
  }
  return counts;
}

SaveCounts CountsOfSave(FileSystem& files, const EditedPoints& points, const EditSave& save,
                        const RunOutcome& outcome, const SaveTally& tally) {
  SaveCounts counts{outcome, tally.namedNoTitle};
  // Stopped at the record limit (added points, which lie on no line of the
  // file, may be what was left): the points left are counted.
  const PointFormat format = EditSaveOptions(points, save).outputFormat;
  if (InfoOf(format).limitsRecords && outcome.records >= kRecordLimit) {
    const SaveCounts all = ForecastSave(files, points, save);
    counts.beyondLimit = all.beyondLimit + all.outcome.records - outcome.records;
  }
  return counts;
}

}  // namespace velorin
