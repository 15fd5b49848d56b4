// The window's Convert of the map's edited points: they are held in WGS 84,
// moved there when the map read them, so the datum POT, NVI and CSV input
// is read in leaves them be; the datum NVI is written in still moves them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "run_fixture.h"

namespace velorin::testing {
namespace {

/// One point at (135, 35) titled A, as the map holds it.
class OnePointReader : public PointReader {
 public:
  bool Next(ReadEntry& entry) override {
    if (done_) return false;
    done_ = true;
    entry = {};
    entry.point.title = "A";
    entry.point.titleEncoding = TitleEncoding::kUtf8;
    entry.point.position = Degrees{135.0, 35.0};
    return true;
  }

 private:
  bool done_ = false;
};

struct EditedCase {
  const char* name;
  bool edited;  ///< the map's points; else the input box's POT file
  Datum input;
  Datum output;
  bool moved;
};

void PrintTo(const EditedCase& c, std::ostream* out) { *out << c.name; }

class EditedPointsRun : public RunTest, public ::testing::WithParamInterface<EditedCase> {};

TEST_P(EditedPointsRun, MovesThePointsOnlyIntoTheOutputsDatum) {
  const EditedCase& c = GetParam();
  WriteInput(PointLine("A") + "\r\n");
  WindowRunOptions options;
  options.run.inputDatum = c.input;
  options.run.outputDatum = c.output;
  if (c.edited) {
    options.input = RunInput{host.inputPath, PointFormat::kPot, FormatBasis::kExtension,
                             [] { return std::make_unique<OnePointReader>(); }};
  }
  ASSERT_EQ(RunAnsweringYes(RunMessage::kFinished, options).result, RunResult::kFinished);
  EXPECT_EQ(Output() == NviBlock("A", kPosition135x35), !c.moved);
  EXPECT_NE(Output().find("TTL= {A}"), std::string::npos);
}

constexpr Datum kTokyo = Datum::kTokyo;
constexpr Datum kWgs84 = Datum::kWgs84;

INSTANTIATE_TEST_SUITE_P(
    Settings, EditedPointsRun,
    ::testing::Values(EditedCase{"FileInWgs84", false, kWgs84, kWgs84, false},
                      EditedCase{"FileInTokyo", false, kTokyo, kWgs84, true},
                      EditedCase{"EditedAfterATokyoRead", true, kTokyo, kWgs84, false},
                      EditedCase{"EditedIntoTokyoNvi", true, kWgs84, kTokyo, true},
                      EditedCase{"EditedBothTokyo", true, kTokyo, kTokyo, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin::testing
