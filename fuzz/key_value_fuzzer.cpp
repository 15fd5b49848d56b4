// Keyed extraction with any key, delimiter, start and options, against a
// plain model that splits the texts into CP932 characters first. Lines may be
// padded past 32767 characters, where positions no longer fit.
//
// Input: "OPTIONS START PAD\nKEY\nDELIMITER\nLINE". OPTIONS holds the letters
// c (ignore case), q (strip quotes) and b (blank to empty); with p the line
// gets PAD characters (at most 33000) in front, "x" or, with w, a double-byte
// character. An input without three line feeds is a LINE read as the
// conversion reads the latitude.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "text/ascii.h"
#include "text/key_value.h"
#include "text/sjis_scan.h"

namespace {

using namespace velorin;

constexpr long kMaxPosition = 32767;

struct Request {
  std::string line;
  std::string key = "ido=";
  std::string delimiter = "/";
  long start = 1;
  bool ignoreCase = true;
  bool stripQuotes = true;
  bool blankToEmpty = true;
};

std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

long TakeNumber(std::string_view& text, long low, long high) {
  while (!text.empty() && !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) {
    text.remove_prefix(1);
  }
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  if (error != std::errc()) return 0;
  return value < low ? low : value > high ? high : value;
}

Request ReadRequest(std::string_view input) {
  Request r;
  if (std::count(input.begin(), input.end(), '\n') < 3) {
    r.line = input;
    return r;
  }
  std::string_view header = TakeLine(input);
  r.ignoreCase = header.find('c') != std::string_view::npos;
  r.stripQuotes = header.find('q') != std::string_view::npos;
  r.blankToEmpty = header.find('b') != std::string_view::npos;
  const bool padded = header.find('p') != std::string_view::npos;
  const std::string_view padding = header.find('w') != std::string_view::npos ? "\x83\x69" : "x";
  r.start = TakeNumber(header, INT16_MIN, INT16_MAX);
  const long number = TakeNumber(header, 0, 33000);
  const long pad = padded ? number : 0;
  r.key = TakeLine(input);
  r.delimiter = TakeLine(input);
  r.line.resize(static_cast<std::size_t>(pad) * padding.size());
  for (std::size_t i = 0; i < r.line.size(); ++i) r.line[i] = padding[i % padding.size()];
  r.line += input;
  return r;
}

// --- the model ---------------------------------------------------------
// Left out of the coverage feedback: the engine's paths are what counts, and
// comparison tracing would make lines of 33000 characters slow.
#define MODEL __attribute__((no_sanitize("coverage")))

/// `text` split into characters, into `characters` (kept between runs:
/// fresh allocations of lines this long cost more than the search).
MODEL const std::vector<std::string_view>& Characters(std::string_view text,
                                                      std::vector<std::string_view>& characters) {
  characters.clear();
  for (std::size_t at = 0; at < text.size();) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
                      IsTrailByte(static_cast<unsigned char>(text[at + 1]));
    characters.push_back(text.substr(at, pair ? 2 : 1));
    at += pair ? 2 : 1;
  }
  return characters;
}

MODEL bool SameCharacter(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1 && ignoreCase) return AsciiUpper(a[0]) == AsciiUpper(b[0]);
  return a == b;
}

/// 0-based index of the first occurrence at or after `from`, or -1.
MODEL long Find(const std::vector<std::string_view>& line,
                const std::vector<std::string_view>& pattern, long from, bool ignoreCase) {
  const long size = static_cast<long>(line.size());
  const long length = static_cast<long>(pattern.size());
  for (long at = from; at < size && at + length <= size; ++at) {
    bool same = true;
    for (long i = 0; i < length && same; ++i) {
      same = SameCharacter(line[static_cast<std::size_t>(at + i)],
                           pattern[static_cast<std::size_t>(i)], ignoreCase);
    }
    if (same) return at;
  }
  return -1;
}

MODEL std::string Model(const Request& r) {
  if (r.start < 1) return "";
  static std::vector<std::string_view> lineCharacters, keyCharacters, delimiterCharacters;
  const auto& line = Characters(r.line, lineCharacters);
  const auto& key = Characters(r.key, keyCharacters);
  const long k = Find(line, key, r.start - 1, r.ignoreCase);
  if (k < 0) return "";
  if (k + 2 > kMaxPosition) return "";  // where the delimiter search begins
  const long d = Find(line, Characters(r.delimiter, delimiterCharacters), k + 1, r.ignoreCase);
  const long valueBegin = k + static_cast<long>(key.size());
  long valueEnd = valueBegin;
  if (d >= 0) {
    if (d + 1 > kMaxPosition || d < valueBegin) return "";
    valueEnd = d;
  } else if (valueBegin < static_cast<long>(line.size())) {
    if (valueBegin + 1 > kMaxPosition) return "";
    valueEnd = static_cast<long>(line.size());
  }
  std::string value;
  for (long i = valueBegin; i < valueEnd; ++i) value += line[static_cast<std::size_t>(i)];
  if (r.stripQuotes && !value.empty() && value.front() == '"') value.erase(0, 1);
  if (r.stripQuotes && !value.empty() && value.back() == '"') value.pop_back();
  if (r.blankToEmpty && value.find_first_not_of(' ') == std::string::npos) return "";
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Request r = ReadRequest(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string_view line = r.line;
  const std::string_view value =
      ExtractKeyValue(line, r.key, r.delimiter, static_cast<std::int16_t>(r.start), r.ignoreCase,
                      r.stripQuotes, r.blankToEmpty);
  FUZZ_CHECK(value.empty() || (value.data() >= line.data() &&
                               value.data() + value.size() <= line.data() + line.size()));
  FUZZ_CHECK(value == Model(r));
  return 0;
}
