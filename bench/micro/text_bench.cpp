// Costs of reading a UTF-8 POT file: the encoding check of a file's head and
// the CP932 form of every line.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "text/cp932_encoder.h"
#include "text/text_encoding.h"

namespace velorin {
namespace {

// Typical point lines saved as UTF-8.
const std::string kAsciiLine =
    "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0/tel=03-3433-5111";
const std::string kJapaneseLine =
    "ORD=POI/tex=東京タワー/kei=139'44'43'6/ido=35'39'31'0/adr=東京都港区芝公園";
const std::string kAccentedLine =
    "ORD=POI/tex=Shingū Hayatama Taisha/kei=135'59'18'0/ido=33'43'54'0";
const std::string kEmojiLine = "ORD=POI/tex=Café ☕ Ærø 😀/kei=10'24'0'0/ido=54'52'0'0";

void BM_EncodeLine(benchmark::State& state, const std::string& line) {
  Cp932Encoder encoder;
  std::string out;
  std::vector<ByteSpan> replaced;
  for (auto _ : state) {
    out.clear();
    replaced.clear();
    benchmark::DoNotOptimize(encoder.Append(line, out, &replaced));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK_CAPTURE(BM_EncodeLine, ascii, kAsciiLine);
BENCHMARK_CAPTURE(BM_EncodeLine, japanese, kJapaneseLine);
BENCHMARK_CAPTURE(BM_EncodeLine, one_accent, kAccentedLine);
BENCHMARK_CAPTURE(BM_EncodeLine, five_replaced, kEmojiLine);

// The whole check of a file's first 64 KiB of Japanese UTF-8 lines.
void BM_DetectTextEncoding(benchmark::State& state) {
  std::string head;
  while (head.size() < kEncodingSniffBytes) head += kJapaneseLine + "\r\n";
  head.resize(kEncodingSniffBytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(DetectTextEncoding(head, false));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * head.size()));
}
BENCHMARK(BM_DetectTextEncoding);

}  // namespace
}  // namespace velorin
