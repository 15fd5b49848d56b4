#include "formats/point_reader.h"

#include <gtest/gtest.h>

namespace velorin {
namespace {

ReadEntry EntryOf(bool isPoint, const std::string& title, double longitude, std::int64_t line) {
  ReadEntry entry;
  entry.isPoint = isPoint;
  entry.point.title = title;
  entry.point.titleEncoding = isPoint ? TitleEncoding::kUtf8 : TitleEncoding::kCp932;
  entry.point.titleApproximated = isPoint;
  entry.point.position = Degrees{longitude, 2.0};
  entry.point.line = line;
  entry.skip = isPoint ? SkipKind::kMalformed : SkipKind::kOutOfRange;
  entry.reason = isPoint ? "" : "a reason long enough to live outside the string";
  entry.longitudeText = isPoint ? "1" : "";
  entry.latitudeText = isPoint ? "" : "2";
  return entry;
}

void ExpectSame(const ReadEntry& a, const ReadEntry& b) {
  EXPECT_EQ(a.isPoint, b.isPoint);
  EXPECT_EQ(a.point.title, b.point.title);
  EXPECT_EQ(a.point.titleEncoding, b.point.titleEncoding);
  EXPECT_EQ(a.point.titleApproximated, b.point.titleApproximated);
  EXPECT_EQ(std::get<Degrees>(a.point.position).longitude,
            std::get<Degrees>(b.point.position).longitude);
  EXPECT_EQ(a.point.line, b.point.line);
  EXPECT_EQ(a.skip, b.skip);
  EXPECT_EQ(a.reason, b.reason);
  EXPECT_EQ(a.longitudeText, b.longitudeText);
  EXPECT_EQ(a.latitudeText, b.latitudeText);
}

// Readers hand entries out by swapping them: every member changes places,
// short texts and long ones alike.
TEST(ReadEntrySwapTest, ExchangesEveryMember) {
  const ReadEntry first = EntryOf(true, "東京タワー, a title beyond the short form", 139.5, 7);
  const ReadEntry second = EntryOf(false, "B", -3.25, 9);
  ReadEntry a = first;
  ReadEntry b = second;
  swap(a, b);
  ExpectSame(a, second);
  ExpectSame(b, first);
}

}  // namespace
}  // namespace velorin
