// Points written by one format's writer and read back by its reader come
// back with the same title bytes and, through NVI, the same position code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "formats/format_table.h"
#include "platform/memory_streams.h"
#include "support/string_sink.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

struct Sample {
  std::string title;
  DecodedPosition code;
};

std::vector<Sample> Samples() {
  std::vector<Sample> samples = {
      {"Tower", {1667486487, 425693206}},
      {"\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B", {0, 0}},  // 東京タワー
      {"a & b <c> \"d\", e", {kMaxAngleUnits, kMaxAngleUnits}},
      {"\x83\x5C\x83\x74\x83\x67 \x95\x5C", {1, 2}},  // ソフト 表: trail bytes 5C
      {"back\\slash", {kMaxAngleUnits, 1}},
  };
  std::mt19937 random(42);
  std::uniform_int_distribution<std::uint32_t> angle(0, kMaxAngleUnits);
  for (int i = 0; i < 200; ++i)
    samples.push_back({"P" + std::to_string(i), {angle(random), angle(random)}});
  return samples;
}

std::string Write(PointFormat format, const std::vector<Sample>& samples) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  FixedClock clock({"2010/04/01", "14:30:00"});
  auto writer = InfoOf(format).makeWriter(out, clock, {});
  writer->Begin();
  // Titles reach a writer in its own encoding.
  const bool utf8 = writer->titleEncoding() == TitleEncoding::kUtf8;
  for (const Sample& sample : samples) {
    writer->Write(Point{.position = sample.code}, utf8 ? Cp932ToUtf8(sample.title) : sample.title);
  }
  writer->End();
  out.Close();
  return sink.bytes;
}

class RoundTripTest : public ::testing::TestWithParam<PointFormat> {};

TEST_P(RoundTripTest, TitlesAndCodesComeBack) {
  if (InfoOf(GetParam()).makeReader == nullptr) GTEST_SKIP() << "this build does not read it";
  const std::vector<Sample> samples = Samples();
  testing::MemorySource source(Write(GetParam(), samples));
  auto reader = InfoOf(GetParam()).makeReader(source, {});
  ReadEntry entry;
  std::size_t index = 0;
  bool approximated = false;
  const std::int64_t tolerance = GetParam() == PointFormat::kPot ? 166 : 0;
  while (reader->Next(entry)) {
    ASSERT_LT(index, samples.size());
    ASSERT_TRUE(entry.isPoint) << entry.reason;
    const Sample& sample = samples[index++];
    // A title comes back as the format holds it: CP932 or UTF-8.
    std::string title = entry.point.title;
    if (entry.point.titleEncoding == TitleEncoding::kUtf8) {
      approximated = TitleEncoder().Encode(entry.point.title, title);
    }
    EXPECT_EQ(title, sample.title);
    EXPECT_FALSE(approximated);
    // Through NVI's rounding: the same code, or for POT's tenths of a
    // second within 0.05 seconds (165.7 units) and half a unit.
    const std::optional<DecodedPosition> code =
        DecodePositionText(NviPositionOf(entry.point.position).view());
    ASSERT_TRUE(code.has_value());
    EXPECT_LE(std::llabs(std::int64_t{code->x} - sample.code.x), tolerance) << sample.title;
    EXPECT_LE(std::llabs(std::int64_t{code->y} - sample.code.y), tolerance) << sample.title;
  }
  EXPECT_FALSE(reader->failure().has_value());
  EXPECT_EQ(index, samples.size());
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTripTest,
                         ::testing::Values(PointFormat::kNvi, PointFormat::kGpx, PointFormat::kKml,
                                           PointFormat::kCsv, PointFormat::kPot,
                                           PointFormat::kGeoJson),
                         [](const auto& info) { return std::string(InfoOf(info.param).name); });

}  // namespace
}  // namespace velorin
