// Costs of the per-line coordinate and text functions, and of a whole POT
// point line.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "formats/poi_record.h"
#include "formats/pot_line_fields.h"
#include "geo/coordinate.h"
#include "text/key_value.h"

namespace velorin {
namespace {

void BM_ParseCoordinateText(benchmark::State& state, std::string_view text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(ParseCoordinateText(text));
  }
}
BENCHMARK_CAPTURE(BM_ParseCoordinateText, longitude, std::string_view("139'46'1'6"));
BENCHMARK_CAPTURE(BM_ParseCoordinateText, decimal_seconds, std::string_view("35'40'52.3'0"));

// A typical point line: a Japanese title (Tokyo Tower, CP932) first, the
// coordinates after it, and a few fields the conversion does not read.
const std::string kPotLine =
    "ORD=POI/tex=\x93\x8c\x8b\x9e\x83\x5e\x83\x8f\x81\x5b/kei=139'44'43'6/ido=35'39'31'0"
    "/tel=03-3433-5111/adr=\x93\x8c\x8b\x9e\x93\x73\x8d\x60\x8b\xe6\x8e\x4f\x82\xcc";

void BM_ExtractKeyValue(benchmark::State& state, std::string_view key) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ExtractKeyValue(kPotLine, key, "/", 1, true, true, true));
  }
}
BENCHMARK_CAPTURE(BM_ExtractKeyValue, title, std::string_view("/tex="));
BENCHMARK_CAPTURE(BM_ExtractKeyValue, longitude, std::string_view("/kei="));
BENCHMARK_CAPTURE(BM_ExtractKeyValue, latitude, std::string_view("ido="));

// The whole per-line work of this module: three fields, two angles, one code.
void BM_PointLineFields(benchmark::State& state) {
  for (auto _ : state) {
    const std::string_view title = ExtractKeyValue(kPotLine, "/tex=", "/", 1, true, true, true);
    const std::string_view longitude = ExtractKeyValue(kPotLine, "/kei=", "/", 1, true, true, true);
    const std::string_view latitude = ExtractKeyValue(kPotLine, "ido=", "/", 1, true, true, true);
    benchmark::DoNotOptimize(title);
    benchmark::DoNotOptimize(
        EncodeNviPosition(ParseCoordinateText(longitude), ParseCoordinateText(latitude)));
  }
}
BENCHMARK(BM_PointLineFields);

// The same with the keys and the delimiter analysed once.
void BM_PointLineFieldsPrepared(benchmark::State& state) {
  static constexpr SearchPattern kTitle("/tex=", true);
  static constexpr SearchPattern kLongitude("/kei=", true);
  static constexpr SearchPattern kLatitude("ido=", true);
  static constexpr SearchPattern kSlash("/", true);
  for (auto _ : state) {
    const std::string_view title = ExtractKeyValue(kPotLine, kTitle, kSlash, 1, true, true);
    const std::string_view longitude = ExtractKeyValue(kPotLine, kLongitude, kSlash, 1, true, true);
    const std::string_view latitude = ExtractKeyValue(kPotLine, kLatitude, kSlash, 1, true, true);
    benchmark::DoNotOptimize(title);
    benchmark::DoNotOptimize(
        EncodeNviPosition(ParseCoordinateText(longitude), ParseCoordinateText(latitude)));
  }
}
BENCHMARK(BM_PointLineFieldsPrepared);

// The three fields in one pass over the line, as ParsePotLine takes them.
void BM_PotLineFields(benchmark::State& state) {
  for (auto _ : state) {
    std::string_view title, longitude, latitude;
    ExtractPotLineFields(kPotLine, title, longitude, latitude);
    benchmark::DoNotOptimize(title);
    benchmark::DoNotOptimize(longitude);
    benchmark::DoNotOptimize(latitude);
  }
}
BENCHMARK(BM_PotLineFields);

// A whole point line as the POT reader takes it, into an outcome kept from
// line to line.
void BM_ParsePotLine(benchmark::State& state) {
  PotLineOutcome outcome;
  for (auto _ : state) {
    ParsePotLine(kPotLine, UntitledRule::kSkip, outcome);
    benchmark::DoNotOptimize(outcome.record.position);
  }
}
BENCHMARK(BM_ParsePotLine);

void BM_EncodeNviPosition(benchmark::State& state) {
  double longitude = 139.7671111;
  double latitude = 35.6811944;
  for (auto _ : state) {
    benchmark::DoNotOptimize(longitude);
    benchmark::DoNotOptimize(latitude);
    benchmark::DoNotOptimize(EncodeNviPosition(longitude, latitude));
  }
}
BENCHMARK(BM_EncodeNviPosition);

}  // namespace
}  // namespace velorin
