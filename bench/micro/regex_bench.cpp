// What the title filters' search costs on long titles: 64 KiB to 1 MiB of
// text against patterns that keep a backtracking search busy for minutes.
// Bytes per second stay the same as the title grows fourfold and sixteenfold
// (the time grows with the title, whatever the pattern). The last pattern
// makes the remembered states useless (every character leads to a set of
// ways not seen before), which is the worst case: each character then costs
// as many steps as the pattern has ways open. std::regex, which the filters
// used before, is measured on 1 to 4 KiB beside them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <regex>
#include <string>

#include "text/regex_program.h"
#include "text/regex_search.h"

namespace velorin {
namespace {

enum class Title { kLetterA, kJapanese, kRandomAb };

/// `size` bytes of one kind of title.
std::string MakeTitle(Title kind, std::size_t size) {
  std::string title;
  if (kind == Title::kLetterA) return std::string(size, 'a');
  if (kind == Title::kJapanese) {
    while (title.size() < size) title += "東京都港区芝公園の東京タワー、大阪市北区の梅田 ";
    title.resize(size - size % 3);  // whole characters, as a title holds them
    return title;
  }
  std::mt19937 random(7);
  for (std::size_t i = 0; i < size; ++i) title += (random() & 1) != 0 ? 'a' : 'b';
  return title;
}

void BM_RegexSearch(benchmark::State& state, const char* pattern, Title kind) {
  const CompiledRegex compiled = CompileRegex(pattern);
  if (!compiled.program) {
    state.SkipWithError(compiled.error.c_str());
    return;
  }
  const std::string title = MakeTitle(kind, static_cast<std::size_t>(state.range(0)));
  RegexSearcher searcher(compiled.program);
  for (auto _ : state) {
    benchmark::DoNotOptimize(searcher.Search(title));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * title.size()));
  state.counters["flushes"] = static_cast<double>(searcher.flushes());
}

constexpr std::int64_t kKiB = 1024;
#define VELORIN_REGEX_BENCH(name, pattern, kind)         \
  BENCHMARK_CAPTURE(BM_RegexSearch, name, pattern, kind) \
      ->Arg(64 * kKiB)                                   \
      ->Arg(256 * kKiB)                                  \
      ->Arg(1024 * kKiB)                                 \
      ->Unit(benchmark::kMillisecond)

VELORIN_REGEX_BENCH(a_dot_star_b, "a.*b", Title::kLetterA);
VELORIN_REGEX_BENCH(a_or_aa_star_b, "(?:a|aa)*b", Title::kLetterA);
VELORIN_REGEX_BENCH(optional_a_1000_then_a_1000, "(?:a?){1000}a{1000}b", Title::kLetterA);
VELORIN_REGEX_BENCH(japanese_alternatives, "(?:名古屋|札幌|福岡|那覇)(?:駅|タワー)",
                    Title::kJapanese);
VELORIN_REGEX_BENCH(japanese_word, "東京タワー$", Title::kJapanese);
VELORIN_REGEX_BENCH(word_boundary_digits, "\\b\\w+\\d{3}\\b", Title::kJapanese);
VELORIN_REGEX_BENCH(no_state_twice_20, "a[ab]{20}c", Title::kRandomAb);
VELORIN_REGEX_BENCH(no_state_twice_200, "a[ab]{200}c", Title::kRandomAb);

// std::regex (libstdc++, ECMAScript, either case) on "a.*b": the time grows
// with the square of the title.
void BM_StdRegexSearch(benchmark::State& state) {
  const std::regex regex("a.*b", std::regex::ECMAScript | std::regex::icase);
  const std::string title(static_cast<std::size_t>(state.range(0)), 'a');
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::regex_search(title, regex));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * title.size()));
}
BENCHMARK(BM_StdRegexSearch)
    ->Arg(1 * kKiB)
    ->Arg(2 * kKiB)
    ->Arg(4 * kKiB)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velorin
