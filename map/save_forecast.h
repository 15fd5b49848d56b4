#pragma once
// What a save of the map's edited points writes beyond its records, counted
// on the way (the points written as "no title"), and a save made beforehand
// into nothing: the same run, the same writer, no file, so that the window
// can say what a save will leave out before it replaces a file.
#include <cstdint>
#include <memory>

#include "map/edit_save.h"
#include "map/save_report.h"

namespace velorin {

/// What the writer of a save counts beside the run's outcome.
struct SaveTally {
  std::int64_t namedNoTitle = 0;
};

/// `inner`, counting into `tally` what it writes: the run sees the format's
/// own writer (its encoding, what its syntax changed, what it had no room
/// for).
std::unique_ptr<PointWriter> CountingWriter(std::unique_ptr<PointWriter> inner, SaveTally& tally);

/// The run options of `save` (EditSaveOptions) with the format's writer
/// counting into `tally`, which must outlive the run.
RunOptions CountedSaveOptions(const EditedPoints& points, const EditSave& save, SaveTally& tally);

/// What saving `points` as `save` says would write and leave out, by the
/// same run writing into nothing; the records beyond the format's limit
/// are counted rather than cut.
SaveCounts ForecastSave(FileSystem& files, const EditedPoints& points, const EditSave& save);

/// What a save that ended with `outcome` and `tally` says; when it wrote as
/// many records as its format holds, the points left are counted by a save
/// into nothing.
SaveCounts CountsOfSave(FileSystem& files, const EditedPoints& points, const EditSave& save,
                        const RunOutcome& outcome, const SaveTally& tally);

}  // namespace velorin
