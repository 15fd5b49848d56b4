// The run's datum stage: which inputs are moved, in which direction, and
// what becomes of a point that the move takes beyond what the output holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "convert/run_summary.h"
#include "geo/datum_shift.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"
#include "tests/geo/tokyo_places.h"

namespace velorin::testing {
namespace {

/// Keeps the positions written, and the skips told.
class PositionSink : public PointWriter, public RunObserver {
 public:
  void Write(const Point& point, std::string_view) override { written.push_back(point.position); }
  void OnSkipped(const ReadEntry&, SkipKind kind, std::string_view reason) override {
    skips.push_back({kind, std::string(reason)});
  }
  std::vector<PointPosition> written;
  std::vector<std::pair<SkipKind, std::string>> skips;
};

/// Tokyo Station as each format writes a position; the NVI code holds the
/// same degrees to 1/11930464 of a degree.
constexpr double kLongitude = 139.770359;
constexpr double kLatitude = 35.677997;

std::string InputOf(PointFormat format) {
  switch (format) {
    case PointFormat::kCsv:
      return "name,lat,lon\nTokyo Station,35.677997,139.770359\n";
    case PointFormat::kGpx:
      return "<gpx version=\"1.1\"><wpt lat=\"35.677997\" lon=\"139.770359\"><name>Tokyo "
             "Station</name></wpt></gpx>\n";
    case PointFormat::kPot:
      return "ORD=POI/tex=Tokyo Station/kei=139'46'13'3/ido=35'40'40'8\r\n";
    case PointFormat::kNvi:
      return "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n " +
             EncodeNviPosition(kLongitude, kLatitude).str() +
             ";\n TTL= {Tokyo Station};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n"
             " LNKF = {};\n COMM = {};\neoNPOIs@NRA\n";
    default:
      return {};
  }
}

struct RunResultOfSink {
  RunOutcome outcome;
  PositionSink sink;
};

/// Runs `input` (one file per format given) into the sink, checked as
/// `output` would be.
void RunInto(RunResultOfSink& result, const std::vector<PointFormat>& inputs, Datum inputDatum,
             PointFormat output, Datum outputDatum, const std::string& text = {}) {
  MemoryFileSystem files;
  RunOptions options;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string path = "/in" + std::to_string(i);
    files.AddFile(path, text.empty() ? InputOf(inputs[i]) : text);
    options.inputs.push_back({path, inputs[i]});
  }
  options.outputFormat = output;
  options.inputDatum = inputDatum;
  options.outputDatum = outputDatum;
  options.sink = &result.sink;
  options.observer = &result.sink;
  options.readAhead = false;
  UnattendedHost host;
  FixedClock clock({"2010/04/01", "14:30:00"});
  result.outcome = ConversionRun(host, files, clock, options).Execute();
}

enum class Moved { kNot, kToWgs84, kToTokyo };

struct MoveCase {
  const char* name;
  PointFormat input;
  Datum inputDatum;
  PointFormat output;
  Datum outputDatum;
  Moved moved;
};

void PrintTo(const MoveCase& c, std::ostream* out) { *out << c.name; }

/// The degrees `input` holds, moved as `moved` says by the shift itself.
Degrees Expected(PointFormat input, Moved moved) {
  Degrees degrees{kLongitude, kLatitude};
  if (input == PointFormat::kPot) {
    degrees = {ParseCoordinateText("139'46'13'3"), ParseCoordinateText("35'40'40'8")};
  } else if (input == PointFormat::kNvi) {
    degrees = DegreesOf(*DecodePositionText(EncodeNviPosition(kLongitude, kLatitude).view()));
  }
  if (moved == Moved::kNot) return degrees;
  std::string why;
  const auto shift = moved == Moved::kToWgs84 ? MakeDatumShift(Datum::kTokyo, Datum::kWgs84, why)
                                              : MakeDatumShift(Datum::kWgs84, Datum::kTokyo, why);
  EXPECT_TRUE(shift && shift->Move(degrees.longitude, degrees.latitude)) << why;
  return {degrees.longitude, degrees.latitude};
}

class DatumOfTheRun : public ::testing::TestWithParam<MoveCase> {};

TEST_P(DatumOfTheRun, MovesEachPositionFromTheInputsDatumToTheOutputs) {
  const MoveCase& c = GetParam();
  RunResultOfSink result;
  RunInto(result, {c.input}, c.inputDatum, c.output, c.outputDatum);
  ASSERT_EQ(result.outcome.result, RunResult::kFinished);
  ASSERT_EQ(result.sink.written.size(), 1u);
  const PointPosition& written = result.sink.written[0];
  const Degrees expected = Expected(c.input, c.moved);
  const Degrees degrees = DegreesOf(written);
  EXPECT_EQ(degrees.longitude, expected.longitude);
  EXPECT_EQ(degrees.latitude, expected.latitude);
  if (c.moved == Moved::kNot) {
    // Untouched: an NVI code stays the code, a POT point keeps its own.
    EXPECT_EQ(std::holds_alternative<DecodedPosition>(written), c.input == PointFormat::kNvi);
    EXPECT_TRUE(result.outcome.datumMoves.empty());
  } else {
    // Moved: the writer encodes the moved degrees, not the code read.
    ASSERT_TRUE(std::holds_alternative<Degrees>(written));
    EXPECT_TRUE(std::get<Degrees>(written).nviCode.empty());
    ASSERT_EQ(result.outcome.datumMoves.size(), 1u);
    EXPECT_EQ(result.outcome.datumMoves[0].points, 1);
    EXPECT_EQ(result.outcome.datumMoves[0].from,
              c.moved == Moved::kToWgs84 ? Datum::kTokyo : Datum::kWgs84);
  }
}

using F = PointFormat;
constexpr Datum kTokyo = Datum::kTokyo;
constexpr Datum kWgs84 = Datum::kWgs84;

INSTANTIATE_TEST_SUITE_P(
    Formats, DatumOfTheRun,
    ::testing::Values(
        MoveCase{"NothingNamed", F::kCsv, kWgs84, F::kCsv, kWgs84, Moved::kNot},
        MoveCase{"CsvInTokyoToCsv", F::kCsv, kTokyo, F::kCsv, kWgs84, Moved::kToWgs84},
        MoveCase{"CsvToCsvInTokyo", F::kCsv, kWgs84, F::kCsv, kTokyo, Moved::kToTokyo},
        MoveCase{"BothInTokyo", F::kCsv, kTokyo, F::kCsv, kTokyo, Moved::kNot},
        MoveCase{"PotInTokyoToNvi", F::kPot, kTokyo, F::kNvi, kWgs84, Moved::kToWgs84},
        MoveCase{"PotToNviInTokyo", F::kPot, kWgs84, F::kNvi, kTokyo, Moved::kToTokyo},
        MoveCase{"NviInTokyoToNviInTokyo", F::kNvi, kTokyo, F::kNvi, kTokyo, Moved::kNot},
        MoveCase{"NviInTokyoToPot", F::kNvi, kTokyo, F::kPot, kWgs84, Moved::kToWgs84},
        // GPX is WGS 84 whatever is named for it, read or written.
        MoveCase{"CsvInTokyoToGpx", F::kCsv, kTokyo, F::kGpx, kTokyo, Moved::kToWgs84},
        MoveCase{"GpxToNviInTokyo", F::kGpx, kTokyo, F::kNvi, kTokyo, Moved::kToTokyo},
        MoveCase{"GpxToGpx", F::kGpx, kTokyo, F::kGpx, kTokyo, Moved::kNot}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DatumOfTheRun, MovesOnlyTheInputsThatAreNotInTheOutputsDatum) {
  // A POT list in the Tokyo datum and a GPX file merged into Tokyo NVI: the
  // GPX points move, the POT points do not.
  RunResultOfSink result;
  RunInto(result, {F::kPot, F::kGpx, F::kPot}, kTokyo, F::kNvi, kTokyo);
  ASSERT_EQ(result.sink.written.size(), 3u);
  const Degrees pot = Expected(F::kPot, Moved::kNot);
  const Degrees gpx = Expected(F::kGpx, Moved::kToTokyo);
  EXPECT_EQ(DegreesOf(result.sink.written[0]).latitude, pot.latitude);
  EXPECT_EQ(DegreesOf(result.sink.written[1]).latitude, gpx.latitude);
  EXPECT_EQ(DegreesOf(result.sink.written[2]).latitude, pot.latitude);
  ASSERT_EQ(result.outcome.datumMoves.size(), 1u);
  EXPECT_EQ(result.outcome.datumMoves[0].points, 1);
}

struct SkipCase {
  const char* name;
  PointFormat input;
  Datum inputDatum;
  Datum outputDatum;
  const char* text;
  SkipKind kind;
  const char* reason;
};

void PrintTo(const SkipCase& c, std::ostream* out) { *out << c.name; }

class MovedOutOfRange : public ::testing::TestWithParam<SkipCase> {};

TEST_P(MovedOutOfRange, IsSkippedSayingWhy) {
  const SkipCase& c = GetParam();
  RunResultOfSink result;
  RunInto(result, {c.input}, c.inputDatum, F::kNvi, c.outputDatum, c.text);
  EXPECT_TRUE(result.sink.written.empty());
  ASSERT_EQ(result.sink.skips.size(), 1u);
  EXPECT_EQ(result.sink.skips[0].first, c.kind);
  EXPECT_EQ(result.sink.skips[0].second, c.reason);
  // Nothing written was moved.
  for (const DatumMoves& moves : result.outcome.datumMoves) EXPECT_EQ(moves.points, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Points, MovedOutOfRange,
    ::testing::Values(
        // Off the coast of Africa, in NVI's range in WGS 84 but west of
        // Greenwich in the Tokyo datum.
        SkipCase{"WestOfGreenwichOnceMoved", F::kCsv, kWgs84, kTokyo, "name,lat,lon\nA,0,0\n",
                 SkipKind::kOutOfRange,
                 "longitude -0.004557381185935088 is outside 0 to 180 degrees once moved to "
                 "the Tokyo datum"},
        // NVI holds latitudes up to 180 degrees; no datum does.
        SkipCase{"NviLatitudeBeyondThePole", F::kPot, kTokyo, kWgs84,
                 "ORD=POI/tex=A/kei=139'0'0'0/ido=120'0'0'0\r\n", SkipKind::kOutOfRange,
                 "cannot be moved from the Tokyo datum to WGS 84: latitude beyond 90 degrees"},
        // What the input could not hold anyway is skipped as always.
        SkipCase{"GpxLatitudeBeyondThePole", F::kGpx, kWgs84, kTokyo,
                 "<gpx><wpt lat=\"95\" lon=\"139\"><name>A</name></wpt></gpx>",
                 SkipKind::kOutOfRange, "latitude 95 is outside -90 to 90 degrees"},
        SkipCase{"UntitledBeforeUnmovable", F::kCsv, kTokyo, kWgs84, "name,lat,lon\n,95,139\n",
                 SkipKind::kUntitled, "no title"},
        // Beyond what its own format holds, a position is skipped before a
        // move could take it round the globe (to 160 degrees east).
        SkipCase{"CsvLongitudeBeyond180BeforeTheMove", F::kCsv, kTokyo, kWgs84,
                 "name,lat,lon\nbad,33.5,-200\n", SkipKind::kOutOfRange,
                 "longitude -200 is outside -180 to 180 degrees"},
        SkipCase{"GeoJsonLongitudeBeyond180BeforeTheMove", F::kGeoJson, kWgs84, kTokyo,
                 "{\"type\":\"Feature\",\"properties\":{\"name\":\"bad\"},"
                 "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-200,35]}}",
                 SkipKind::kOutOfRange, "longitude -200 is outside -180 to 180 degrees"},
        // Outside NVI's range as read: said as read, not as moved.
        SkipCase{"WestOfGreenwichAsRead", F::kCsv, kTokyo, kWgs84, "name,lat,lon\nwest,35,-5\n",
                 SkipKind::kOutOfRange, "longitude -5 is outside 0 to 180 degrees"},
        SkipCase{"SouthOfTheEquatorAsRead", F::kCsv, kTokyo, kWgs84,
                 "name,lat,lon\nsouth,-33.9,151.2\n", SkipKind::kOutOfRange,
                 "latitude -33.9 is outside 0 to 180 degrees"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DatumOfTheRun, SaysWhatWasMovedAndByWhichOperation) {
  RunResultOfSink result;
  RunInto(result, {F::kCsv}, kTokyo, F::kNvi, kWgs84,
          "name,lat,lon\nA,35.677997,139.770359\nB,43.066239,141.354497\n");
  const RunSummary summary = SummarizeRun(result.outcome, F::kCsv, F::kNvi);
  std::string why;
  const std::string operation = MakeDatumShift(kTokyo, kWgs84, why)->Operation();
  EXPECT_EQ(summary.datumMoves, "2 records moved from the Tokyo datum to WGS 84 by " + operation);
}

struct SummaryCase {
  const char* name;
  PointFormat input;
  Datum inputDatum;
  Datum outputDatum;
  const char* text;
  const char* skipped;
};

void PrintTo(const SummaryCase& c, std::ostream* out) { *out << c.name; }

class SkippedByTheMove : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SkippedByTheMove, IsSummedUpInTheWordsEachPointWasSkippedWith) {
  const SummaryCase& c = GetParam();
  RunResultOfSink result;
  RunInto(result, {c.input}, c.inputDatum, F::kNvi, c.outputDatum, c.text);
  EXPECT_EQ(SummarizeRun(result.outcome, c.input, F::kNvi).skipped, c.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Points, SkippedByTheMove,
    ::testing::Values(
        SummaryCase{"PotLatitudeBeyondThePole", F::kPot, kTokyo, kWgs84,
                    "ORD=POI/tex=A/kei=139'0'0'0/ido=95'0'0'0\r\n",
                    "1 point line skipped: 1 that cannot be moved from the Tokyo datum to WGS 84: "
                    "latitude beyond 90 degrees"},
        // Off Africa, in WGS 84 at 0 degrees, west of Greenwich in Tokyo's.
        SummaryCase{"BesideOnesOutsideTheOutputsRange", F::kPot, kWgs84, kTokyo,
                    "ORD=POI/tex=A/kei=139'0'0'0/ido=95'0'0'0\r\n"
                    "ORD=POI/tex=B/kei=0'0'0'0/ido=0'0'0'0\r\n",
                    "2 point lines skipped: 1 outside 0 to 180 degrees and 1 that cannot be moved "
                    "from WGS 84 to the Tokyo datum: latitude beyond 90 degrees"},
        SummaryCase{"OutsideAsRead", F::kCsv, kTokyo, kWgs84,
                    "name,lat,lon\nbad,33.5,-200\nwest,35,-5\n",
                    "2 points skipped: 2 outside 0 to 180 degrees"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin::testing
