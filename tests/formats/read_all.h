#pragma once
// A reader's whole output as short texts that a test compares at a glance:
// "LINE title lon lat" for a point (angle integers as "#x,y", titles in
// UTF-8, "*" after an approximated one), "LINE skip: reason" for a skipped
// entry (lines that hold no point left out), and "LINE failed: message" at a failure.
#include <string>
#include <variant>
#include <vector>

#include "formats/decimal_text.h"
#include "formats/point_reader.h"
#include "text/cp932_decoder.h"

namespace velorin::testing {

inline std::string Describe(const ReadEntry& entry) {
  std::string text = std::to_string(entry.point.line) + " ";
  if (!entry.isPoint) return text + "skip: " + entry.reason;
  text += entry.point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(entry.point.title)
                                                             : entry.point.title;
  if (entry.point.titleApproximated) text += "*";
  if (const auto* units = std::get_if<DecodedPosition>(&entry.point.position)) {
    return text + " #" + std::to_string(units->x) + "," + std::to_string(units->y);
  }
  const Degrees& degrees = std::get<Degrees>(entry.point.position);
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, " %.9g %.9g", degrees.longitude, degrees.latitude);
  return text + numbers;
}

/// "2 <wpt> in namespace urn:x": the elements a reader passed over; "" for none.
inline std::string DescribeUnread(const IgnoredItems& items) {
  if (items[IgnoredKind::kUnreadElement] == 0) return {};
  return std::to_string(items[IgnoredKind::kUnreadElement]) + " <" + items.unreadName + "> " +
         items.unreadNote;
}

inline std::vector<std::string> ReadAll(PointReader& reader) {
  std::vector<std::string> entries;
  ReadEntry entry;
  while (reader.Next(entry)) {
    // Lines that hold no point at all matter to the log only.
    if (!entry.isPoint && entry.skip == SkipKind::kNotPointLine) continue;
    entries.push_back(Describe(entry));
  }
  if (const auto& failure = reader.failure()) {
    entries.push_back(std::to_string(failure->line) + " failed: " + failure->message);
  }
  return entries;
}

}  // namespace velorin::testing
