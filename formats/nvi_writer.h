#pragma once
// The twelve-line NVI record block.
#include <string>
#include <string_view>

#include "formats/poi_record.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"

namespace velorin {

/// Date text rules: a first "/" at position 3 gets "20" in front; a first
/// "/" anywhere but 3 or 5 (or none) gives "2009/06/13".
std::string NormalizeDateText(std::string_view date);
/// Time text rules: "9:05:03" gets a "0" in front; anything that is then not
/// hh:mm:ss in form gives "00:00:00".
std::string NormalizeTimeText(std::string_view time);

/// Appends one block for `record`, LF line ends, the title bytes unchanged,
/// stamped with the clock's reading taken once for this block.
void WriteNviRecord(BufferedWriter& out, const PoiRecord& record, Clock& clock);

/// The texts of the fields an NVI block may carry.
struct NviFieldLines {
  std::string_view addr;
  std::string_view hpgl;
  std::string_view mail;
  std::string_view comm;
};

/// Writes the blocks of one run exactly as WriteNviRecord does, reading the
/// clock once per block, but forms the time-stamp line anew only when the
/// reading's texts differ from the block before (the clock changes once a
/// second, blocks come far more often).
class NviRecordWriter {
 public:
  NviRecordWriter(BufferedWriter& out, Clock& clock) : out_(out), clock_(clock) {}

  void Write(const PoiRecord& record);
  /// The same for a CP932 title and a 17-character position text.
  void Write(std::string_view title, std::string_view position);
  /// The same with the block's own fields filled (CP932, made safe for the
  /// block by the caller); LNKF stays empty.
  void Write(std::string_view title, std::string_view position, const NviFieldLines& fields);

 private:
  /// Lines 1 to 3 and the blank that begins line 4, formed anew when the
  /// clock's texts changed.
  void AppendHead();

  BufferedWriter& out_;
  Clock& clock_;
  ClockReading stampedReading_;  ///< the reading that blockHead_ was formed from
  std::string blockHead_;        ///< lines 1 to 3 and the blank that begins line 4
  bool hasHead_ = false;
};

}  // namespace velorin
