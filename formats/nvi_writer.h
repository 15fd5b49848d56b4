#pragma once
// The twelve-line NVI record block.
#include <string>
#include <string_view>

#include "platform/buffered_writer.h"
#include "platform/clock.h"

namespace velorin {

/// Date text rules: a first "/" at position 3 gets "20" in front; a first
/// "/" anywhere but 3 or 5 (or none) gives "2009/06/13".
std::string NormalizeDateText(std::string_view date);
/// Time text rules: "9:05:03" gets a "0" in front; anything that is then not
/// hh:mm:ss in form gives "00:00:00".
std::string NormalizeTimeText(std::string_view time);

/// The lines of a block before its position (the opener, the time stamp,
/// " 255;" and the blank that begins line 4), kept from block to block of
/// one output: formed anew only when the clock's texts differ from those
/// they were formed from, since the clock changes once a second and blocks
/// come far more often.
class NviStamp {
 public:
  std::string_view HeadFor(const ClockReading& reading);

 private:
  ClockReading formedFrom_;
  std::string head_;
  bool formed_ = false;
};

/// Appends one block for a CP932 title and a 17-character position, LF line
/// ends, the title bytes unchanged, stamped with the clock's reading taken
/// once for this block. `stamp` keeps the stamp lines of the output's
/// blocks.
void WriteNviRecord(BufferedWriter& out, std::string_view title, std::string_view position,
                    Clock& clock, NviStamp& stamp);

}  // namespace velorin
