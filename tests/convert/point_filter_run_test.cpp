// The filters and the sort as stages of the run: which points reach the
// writer, how each left out is counted, told and logged, and that a
// filtered conversion writes what the conversion of a file without those
// points writes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion_run.h"
#include "formats/nvi_fields.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

// Real places, with their names in English or Japanese; line 1 is the
// header. Enoshima lies 49.8 km from Tokyo Station, Tsukuba 52.7 km; Himeji
// just west of the Kansai box, Wakayama just inside it; Taveuni on 180
// degrees.
constexpr std::string_view kPlaces =
    "name,latitude,longitude\n"
    "Tokyo Tower,35.658581,139.745433\n"
    "東京スカイツリー,35.710063,139.810700\n"
    "Yokohama Station,35.465833,139.622778\n"
    "江の島,35.2994,139.4806\n"
    "Tsukuba,36.0835,140.0764\n"
    "大阪駅,34.702485,135.495951\n"
    "京都タワー,34.987514,135.759332\n"
    "Kobe Port Tower,34.682645,135.186681\n"
    "Nagoya Station,35.170694,136.881637\n"
    "Suva,-18.1416,178.4419\n"
    "Lakeba,-18.2,-178.8\n"
    "Apia,-13.8333,-171.7667\n"
    "Himeji Castle,34.8394,134.6939\n"
    "Wakayama,34.2261,135.1675\n"
    "Taveuni,-16.8,180\n"
    "Port Vila,-17.7333,168.3167\n";

/// The filters as a host gives them, each named as the command line names
/// it.
PointFilter Near(double latitude, double longitude, double metres) {
  PointFilter filter;
  filter.kind = FilterKind::kNear;
  filter.name = "--near";
  filter.area = {latitude, longitude, metres};
  return filter;
}

PointFilter Within(double south, double west, double north, double east) {
  PointFilter filter;
  filter.kind = FilterKind::kWithin;
  filter.name = "--within";
  filter.box = {south, west, north, east};
  return filter;
}

PointFilter Title(FilterKind kind, std::string_view pattern) {
  PointFilter filter;
  filter.kind = kind;
  filter.name = kind == FilterKind::kMatch ? "--match" : "--exclude";
  CompiledRegex compiled = CompileRegex(pattern);
  EXPECT_TRUE(compiled.program) << compiled.error;
  filter.title = std::move(compiled.program);
  return filter;
}

PointFilter Match(std::string_view pattern) { return Title(FilterKind::kMatch, pattern); }
PointFilter Exclude(std::string_view pattern) { return Title(FilterKind::kExclude, pattern); }

const PointFilter kTokyoStation50km = Near(35.681236, 139.767125, 50'000.0);

/// The sort a word names: "title", or "distance" from the centre of the
/// first area among `filters`; none for "".
std::optional<PointSort> SortNamed(std::string_view sort, const std::vector<PointFilter>& filters) {
  if (sort == "title") return PointSort{PointSort::Key::kTitle};
  if (sort != "distance") return std::nullopt;
  for (const PointFilter& filter : filters) {
    if (filter.kind == FilterKind::kNear) {
      return PointSort{PointSort::Key::kDistance, filter.area.latitude, filter.area.longitude};
    }
  }
  ADD_FAILURE() << "no area to measure from";
  return std::nullopt;
}

/// Takes the titles the run writes.
class TitleSink : public PointWriter {
 public:
  void Write(const Point&, std::string_view title) override { titles.emplace_back(title); }
  std::vector<std::string> titles;
};

/// Takes titles in CP932, as an NVI writer does.
class Cp932TitleSink : public TitleSink {
 public:
  TitleEncoding titleEncoding() const override { return TitleEncoding::kCp932; }
};

/// Tells every point left out as "LINE reason".
class LeftOutRecorder : public RunObserver {
 public:
  void OnSkipped(const ReadEntry&, SkipKind, std::string_view) override {}
  void OnLeftOut(const Point& point, std::string_view reason) override {
    told.push_back(std::to_string(point.line) + " " + std::string(reason));
  }
  std::vector<std::string> told;
};

/// Cancels the run at its event step number `at`.
class CancellingHost : public UnattendedHost {
 public:
  explicit CancellingHost(int at) : at_(at) {}
  bool EventStep() override { return ++steps_ < at_; }

 private:
  int at_;
  int steps_ = 0;
};

class FilteredRun : public ::testing::Test {
 protected:
  /// Options that read `input` as `format`, with these filters and the
  /// sort `sort` names.
  RunOptions Options(std::string_view input, PointFormat format,
                     const std::vector<PointFilter>& filters, std::string_view sort = "") {
    files.AddFile("/work/in", std::string(input));
    RunOptions options;
    options.inputs = {{"/work/in", format}};
    options.outputFormat = PointFormat::kGpx;
    options.filters = filters;
    options.sort = SortNamed(sort, filters);
    return options;
  }
  RunOutcome Run(RunOptions options, RunHost* host = nullptr) {
    UnattendedHost unattended;
    ConversionRun run(host != nullptr ? *host : unattended, files, clock, std::move(options));
    return run.Execute();
  }
  /// The titles the run gives `sink`.
  std::vector<std::string> Titles(RunOptions options, TitleSink&& sink = TitleSink()) {
    options.sink = &sink;
    last = Run(std::move(options));
    EXPECT_EQ(last.result, RunResult::kFinished);
    return sink.titles;
  }
  std::string Contents(const std::string& path) const { return files.Contents(path).value_or(""); }

  MemoryFileSystem files;
  FixedClock clock{{"2010/04/01", "14:30:00"}};
  RunOutcome last;
};

struct OptionCase {
  const char* name;
  std::vector<PointFilter> filters;
  std::vector<std::string> kept;
  std::vector<std::int64_t> leftOut;  ///< by filter
};

class EachOption : public FilteredRun, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(EachOption, KeepsThePlacesWhoseAnswerIsKnown) {
  const OptionCase& c = GetParam();
  EXPECT_EQ(Titles(Options(kPlaces, PointFormat::kCsv, c.filters)), c.kept);
  std::vector<std::int64_t> counts;
  for (const LeftOutCount& count : last.leftOut) counts.push_back(count.points);
  EXPECT_EQ(counts, c.leftOut);
  EXPECT_EQ(last.records, static_cast<std::int32_t>(c.kept.size()));
  EXPECT_EQ(last.skipped.total(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Options, EachOption,
    ::testing::Values(OptionCase{"NearTokyoStation",
                                 {kTokyoStation50km},
                                 {"Tokyo Tower", "東京スカイツリー", "Yokohama Station", "江の島"},
                                 {12}},
                      OptionCase{"WithinKansai",
                                 {Within(34.2, 134.9, 35.2, 136.2)},
                                 {"大阪駅", "京都タワー", "Kobe Port Tower", "Wakayama"},
                                 {12}},
                      OptionCase{"WithinFijiAcross180",
                                 {Within(-21, 176, -12, -178)},
                                 {"Suva", "Lakeba", "Taveuni"},
                                 {13}},
                      OptionCase{"MatchInEnglishOrJapanese",
                                 {Match("tokyo|東京")},
                                 {"Tokyo Tower", "東京スカイツリー"},
                                 {14}},
                      OptionCase{"ExcludeInEnglishOrJapanese",
                                 {Exclude("tower|タワー")},
                                 {"東京スカイツリー", "Yokohama Station", "江の島", "Tsukuba",
                                  "大阪駅", "Nagoya Station", "Suva", "Lakeba", "Apia",
                                  "Himeji Castle", "Wakayama", "Taveuni", "Port Vila"},
                                 {3}},
                      // The first filter that leaves a point out counts it.
                      OptionCase{"ExcludeThenNear",
                                 {Exclude("tower|タワー"), kTokyoStation50km},
                                 {"東京スカイツリー", "Yokohama Station", "江の島"},
                                 {3, 10}},
                      OptionCase{"NearThenExclude",
                                 {kTokyoStation50km, Exclude("tower|タワー")},
                                 {"東京スカイツリー", "Yokohama Station", "江の島"},
                                 {12, 1}},
                      OptionCase{"TwoBoxesBothHold",
                                 {Within(34, 134, 36, 140), Within(35, 139, 36, 141)},
                                 {"Tokyo Tower", "東京スカイツリー", "Yokohama Station", "江の島"},
                                 {6, 6}}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

TEST_F(FilteredRun, EachPointLeftOutIsToldAndLoggedWithItsFilter) {
  LeftOutRecorder observer;
  RunOptions options =
      Options(kPlaces, PointFormat::kCsv, {kTokyoStation50km, Match("station|駅")});
  options.observer = &observer;
  options.logPath = "/work/run.log";
  options.outputPath = "/work/out.gpx";
  ASSERT_EQ(Run(options).result, RunResult::kFinished);
  EXPECT_EQ(observer.told[0], "2 title not matching --match");
  EXPECT_EQ(observer.told[3], "6 outside --near (52.7 km from its centre)");
  EXPECT_EQ(observer.told.size(), 15u);
  const std::string log = Contents("/work/run.log");
  EXPECT_NE(log.find("Line 2\ttitle not matching --match\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Line 7\toutside --near (403.1 km from its centre)\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n1 point written\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\n12 points outside --near\r\n3 points not matching --match\r\n"),
            std::string::npos);
}

TEST_F(FilteredRun, PointsOffTheGlobeAreOutsideEveryArea) {
  // A POT file holds latitudes to 180 degrees; 120 is no place.
  LeftOutRecorder observer;
  RunOptions options = Options("ORD=POI/tex=Far/kei=139'0'0'0/ido=120'0'0'0\r\n", PointFormat::kPot,
                               {Within(-90, -180, 90, 180), kTokyoStation50km});
  options.outputFormat = PointFormat::kNvi;
  options.observer = &observer;
  EXPECT_EQ(Titles(options), std::vector<std::string>{});
  EXPECT_EQ(observer.told,
            std::vector<std::string>{"1 outside --within (not a position on the globe)"});
}

TEST_F(FilteredRun, Cp932TitlesAreMatchedAsUtf8AndUntitledAsNoTitle) {
  struct Case {
    const char* name;
    std::vector<PointFilter> filters;
    std::vector<std::string> kept;  ///< in UTF-8
  };
  // 東京タワー, 大阪城 and an untitled point, in CP932.
  const std::string pot =
      "ORD=POI/tex=\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B/kei=139'44'43'6/ido=35'39'31'0\r\n"
      "ORD=POI/tex=\x91\xE5\x8D\xE3\x8F\xE9/kei=135'31'33'0/ido=34'41'14'0\r\n"
      "ORD=POI/tex=/kei=135'0'0'0/ido=35'0'0'0\r\n";
  const Case cases[] = {
      {"JapaneseWord", {Match("東京")}, {"東京タワー"}},
      {"LastCharacter", {Match("城$")}, {"大阪城"}},
      {"UntitledAsNoTitle", {Match("^no title$")}, {"no title"}},
      {"UntitledExcluded", {Exclude("^NO TITLE$")}, {"東京タワー", "大阪城"}},
  };
  for (const Case& c : cases) {
    RunOptions options = Options(pot, PointFormat::kPot, c.filters);
    options.outputFormat = PointFormat::kNvi;
    options.untitled = UntitledRule::kKeep;
    std::vector<std::string> kept;
    for (const std::string& title : Titles(options, Cp932TitleSink())) {
      kept.push_back(Cp932ToUtf8(title));
    }
    EXPECT_EQ(kept, c.kept) << c.name;
  }
}

TEST_F(FilteredRun, SortsStablyByTitleCodePointOrDistance) {
  struct Case {
    const char* name;
    std::string input;
    PointFormat format;
    std::vector<PointFilter> filters;
    const char* sort;
    std::vector<std::string> titles;  ///< as the writer takes them
    std::int32_t recordLimit = kRecordLimit;
  };
  const auto pot = [](std::string_view title) {
    return "ORD=POI/tex=" + std::string(title) + "/kei=135'0'0'0/ido=35'0'0'0\r\n";
  };
  const Case cases[] = {
      // A-Z as a-z, so "_" before them; equal titles keep their order.
      {"TitleStableIgnoringAsciiCase",
       "name,lat,lon\nb,1,1\nB,1,2\nA,1,3\nあ,1,4\nＡ,1,5\nb,1,6\n_1,1,7\n",
       PointFormat::kCsv,
       {},
       "title",
       {"_1", "A", "b", "B", "b", "あ", "Ａ"}},
      // In CP932 "Ａ" (82 60) comes before "あ" (82 A0); as characters after it.
      {"Cp932TitlesByCodePoint",
       pot("\x82\x60") + pot("\x82\xA0") + pot("z"),
       PointFormat::kPot,
       {},
       "title",
       {"z", "\x82\xA0", "\x82\x60"}},
      {"DistanceNearestFirst",
       std::string(kPlaces),
       PointFormat::kCsv,
       {kTokyoStation50km},
       "distance",
       {"Tokyo Tower", "東京スカイツリー", "Yokohama Station", "江の島"}},
      // The record limit keeps the points it kept unsorted.
      {"RecordLimitKeepsTheFirstPoints",
       pot("c") + pot("b") + pot("a"),
       PointFormat::kPot,
       {},
       "title",
       {"b", "c"},
       2},
  };
  for (const Case& c : cases) {
    RunOptions options = Options(c.input, c.format, c.filters, c.sort);
    options.recordLimit = c.recordLimit;
    if (c.format == PointFormat::kPot) options.outputFormat = PointFormat::kNvi;
    EXPECT_EQ(c.format == PointFormat::kPot ? Titles(options, Cp932TitleSink()) : Titles(options),
              c.titles)
        << c.name;
  }
  EXPECT_EQ(last.firstLineNotConverted, 3);
}

// A point's further texts wait with it and go out with it, sorted as
// unsorted, into the output's places for them and into NVI's fields.
TEST_F(FilteredRun, SortedPointsKeepTheirTexts) {
  const std::string csv =
      "name,lat,lon,description,url\n"
      "c,35,135,third,https://example.org/c\n"
      "b,35,135,,\n"
      "a,35,135,first,https://example.org/a\n";
  for (const std::string sort : {"", "title"}) {
    const std::string out = "/work/out-" + sort;
    RunOptions options = Options(csv, PointFormat::kCsv, {}, sort);
    options.outputPath = out + ".csv";
    options.outputFormat = PointFormat::kCsv;
    ASSERT_EQ(Run(options).result, RunResult::kFinished);
    const std::string written = Contents(out + ".csv");
    EXPECT_NE(written.find("a,35.000000000,135.000000000,first,https://example.org/a\r\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("c,35.000000000,135.000000000,third,https://example.org/c\r\n"),
              std::string::npos)
        << written;
    options = Options(csv, PointFormat::kCsv, {}, sort);
    options.outputPath = out + ".nvi";
    options.outputFormat = PointFormat::kNvi;
    options.nviFields = *ParseNviFieldList("all");
    ASSERT_EQ(Run(options).result, RunResult::kFinished);
    EXPECT_NE(Contents(out + ".nvi")
                  .find("TTL= {a};\n CHAR = SJIS;\n ADDR = {};\n HPGL = "
                        "{https://example.org/a};\n MAIL = {};\n LNKF = "
                        "{};\n COMM = {first};"),
              std::string::npos)
        << sort;
  }
}

TEST_F(FilteredRun, CancelledSortedRunWritesThePointsHeldSoFarInOrder) {
  RunOptions options =
      Options("name,lat,lon\nc,1,1\nb,1,1\na,1,1\n", PointFormat::kCsv, {}, "title");
  TitleSink sink;
  options.sink = &sink;
  CancellingHost host(3);
  EXPECT_EQ(Run(options, &host).result, RunResult::kCancelled);
  EXPECT_EQ(sink.titles, (std::vector<std::string>{"b", "c"}));
}

/// Cancels the run at the second event step after the first point was
/// written: the step before the next entry is the first.
class CancelAfterFirstPoint : public UnattendedHost {
 public:
  explicit CancelAfterFirstPoint(const TitleSink& sink) : sink_(sink) {}
  bool EventStep() override { return sink_.titles.size() != 1 || ++steps_ != 2; }

 private:
  const TitleSink& sink_;
  int steps_ = 0;
};

class StepCounter : public UnattendedHost {
 public:
  bool EventStep() override { return ++steps > 0; }
  int steps = 0;
};

// The search of one long title asks the host whether to go on, and a cancel
// then ends the run: the point being searched is not written.
TEST_F(FilteredRun, CancelDuringALongTitleSearchEndsTheRun) {
  const std::string input =
      "name,lat,lon\nab,1,1\n" + std::string(600'000, 'a') + "b,1,1\nab,2,2\n";
  RunOptions options = Options(input, PointFormat::kCsv, {Match("a.*b")});
  TitleSink sink;
  options.sink = &sink;
  CancelAfterFirstPoint host(sink);
  EXPECT_EQ(Run(options, &host).result, RunResult::kCancelled);
  EXPECT_EQ(sink.titles, (std::vector<std::string>{"ab"}));
  // Not cancelled, the long title takes more steps than a short one.
  int steps[2] = {};
  for (const int i : {0, 1}) {
    StepCounter counter;
    TitleSink all;
    RunOptions whole = Options(i == 0 ? "name,lat,lon\nab,1,1\nab,1,1\nab,2,2\n" : input,
                               PointFormat::kCsv, {Match("a.*b")});
    whole.sink = &all;
    EXPECT_EQ(Run(whole, &counter).result, RunResult::kFinished);
    EXPECT_EQ(all.titles.size(), 3u);
    steps[i] = counter.steps;
  }
  EXPECT_GT(steps[1], steps[0]);
}

TEST_F(FilteredRun, SortedOutputThatCannotBeWrittenFailsTheRun) {
  RunOptions options = Options(kPlaces, PointFormat::kCsv, {}, "title");
  options.outputPath = "/work/out.gpx";
  options.bufferSize = 64;
  files.FaultsOf("/work/out.gpx").writeFailsAfter = 200;
  const RunOutcome outcome = Run(options);
  EXPECT_EQ(outcome.result, RunResult::kFailed);
  EXPECT_EQ(outcome.failedStage, RunStage::kWriteRecord);
  EXPECT_FALSE(files.Contents("/work/out.gpx").has_value());
}

struct SameRecordsCase {
  const char* name;
  PointFormat input;
  PointFormat output;
  std::string file;
  std::vector<PointFilter> filters;
  const char* sort;
  /// The file with the points the filters leave out taken away by hand (and
  /// the rest put in order for a sort).
  std::string edited;
};

class SameRecords : public FilteredRun, public ::testing::WithParamInterface<SameRecordsCase> {};

TEST_P(SameRecords, AsTheFileWithoutThePointsLeftOut) {
  const SameRecordsCase& c = GetParam();
  RunOptions filtered = Options(c.file, c.input, c.filters, c.sort);
  filtered.outputFormat = c.output;
  filtered.outputPath = "/work/filtered";
  ASSERT_EQ(Run(filtered).result, RunResult::kFinished);
  RunOptions edited = Options(c.edited, c.input, {});
  edited.outputFormat = c.output;
  edited.outputPath = "/work/edited";
  ASSERT_EQ(Run(edited).result, RunResult::kFinished);
  EXPECT_FALSE(Contents("/work/edited").empty());
  EXPECT_EQ(Contents("/work/filtered"), Contents("/work/edited"));
}

const std::string kPot =
    "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0\r\n"
    "not a point\r\n"
    "ORD=POI/tex=\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B/kei=139'44'43'6/ido=35'39'31'0\r\n"
    "ORD=POI/tex=Osaka Castle/kei=135'31'33'0/ido=34'41'14'0\r\n"
    "ORD=POI/tex=Skytree/kei=139'48'38'6/ido=35'42'36'2\r\n"
    "ORD=POI/tex=Narita/kei=140'23'34'3/ido=35'46'19'1\r\n";

/// A FeatureCollection of points, each a title and "LON,LAT".
std::string GeoJson(const std::vector<std::pair<std::string, std::string>>& points) {
  std::string json = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (const auto& [title, position] : points) {
    if (json.back() == '}') json += ",";
    json += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[" + position +
            "]},\"properties\":{\"name\":\"" + title + "\"}}";
  }
  return json + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    Files, SameRecords,
    ::testing::Values(
        SameRecordsCase{"PotToNvi",
                        PointFormat::kPot,
                        PointFormat::kNvi,
                        kPot,
                        {kTokyoStation50km, Exclude("^sky")},
                        "",
                        "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0\r\n"
                        "ORD=POI/tex=\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B/kei=139'44'43'6/"
                        "ido=35'39'31'0\r\n"},
        SameRecordsCase{"PotToNviSortedByTitle",
                        PointFormat::kPot,
                        PointFormat::kNvi,
                        kPot,
                        {Within(35, 139, 36, 141)},
                        "title",
                        "ORD=POI/tex=Narita/kei=140'23'34'3/ido=35'46'19'1\r\n"
                        "ORD=POI/tex=Skytree/kei=139'48'38'6/ido=35'42'36'2\r\n"
                        "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0\r\n"
                        "ORD=POI/tex=\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B/kei=139'44'43'6/"
                        "ido=35'39'31'0\r\n"},
        SameRecordsCase{"CsvToGpx",
                        PointFormat::kCsv,
                        PointFormat::kGpx,
                        std::string(kPlaces),
                        {Within(-21, 176, -12, -178)},
                        "",
                        "name,latitude,longitude\nSuva,-18.1416,178.4419\nLakeba,-18.2,-178.8\n"
                        "Taveuni,-16.8,180\n"},
        SameRecordsCase{
            "GeoJsonToNviSortedByDistance",
            PointFormat::kGeoJson,
            PointFormat::kNvi,
            GeoJson({{"大阪駅", "135.495951,34.702485"},
                     {"Skytree", "139.8107,35.710063"},
                     {"Tower", "139.745433,35.658581"}}),
            {kTokyoStation50km},
            "distance",
            GeoJson({{"Tower", "139.745433,35.658581"}, {"Skytree", "139.8107,35.710063"}})}),
    [](const ::testing::TestParamInfo<SameRecordsCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
