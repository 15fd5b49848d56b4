#include "formats/nvi_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "text/sjis_scan.h"

namespace velorin {
namespace {

constexpr std::string_view kFallbackDate = "2009/06/13";
constexpr std::string_view kFallbackTime = "00:00:00";
constexpr std::size_t kNotFound = 0;

/// A normalized stamp part as a prefix and the text itself, so that the
/// writer can append it without building a new string for every block.
struct StampPart {
  std::string_view prefix;
  std::string_view text;

  std::string str() const {
    std::string joined(prefix);
    joined += text;
    return joined;
  }
};

/// 1-based character position (CP932 characters) of the first single-byte
/// `wanted`, or kNotFound. ASCII punctuation is never a trail byte, so a match
/// at a character start is the character itself.
std::size_t FirstCharPosition(std::string_view text, char wanted) {
  std::size_t position = 1;
  for (std::size_t at = 0; at < text.size(); at += CharWidthAt(text, at), ++position) {
    if (text[at] == wanted) return position;
  }
  return kNotFound;
}

/// Whether `precedingChars` single-byte characters followed by `text` form a
/// text of exactly 8 characters with ":" as its third and sixth characters.
bool HasClockTimeForm(std::string_view text, std::size_t precedingChars) {
  std::size_t position = precedingChars;
  for (std::size_t at = 0; at < text.size(); at += CharWidthAt(text, at)) {
    ++position;
    if (position > 8) return false;
    if ((position == 3 || position == 6) && text[at] != ':') return false;
  }
  return position == 8;
}

StampPart NormalizeDate(std::string_view date) {
  switch (FirstCharPosition(date, '/')) {
    case 3:  // a two-digit year, as in 10/04/01
      return {"20", date};
    case 5:  // a four-digit year: used as it is, whatever follows
      return {{}, date};
    default:
      return {{}, kFallbackDate};
  }
}

StampPart NormalizeTime(std::string_view time) {
  // A one-digit hour (9:05:03) gets a leading zero.
  const std::size_t second = time.empty() ? 0 : CharWidthAt(time, 0);
  const bool oneDigitHour = second > 0 && second < time.size() && time[second] == ':';
  const std::string_view prefix = oneDigitHour ? "0" : "";
  if (!HasClockTimeForm(time, prefix.size())) return {{}, kFallbackTime};
  return {prefix, time};
}

}  // namespace

std::string NormalizeDateText(std::string_view date) { return NormalizeDate(date).str(); }

std::string NormalizeTimeText(std::string_view time) { return NormalizeTime(time).str(); }

namespace {

/// Whether two short texts are the same, eight bytes at a time and without
/// a library call: every block compares the clock's texts with the last
/// ones, and they are nearly always the same.
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t at = 0;
  for (; at + 8 <= a.size(); at += 8) {
    std::uint64_t wordA;
    std::uint64_t wordB;
    std::memcpy(&wordA, a.data() + at, 8);
    std::memcpy(&wordB, b.data() + at, 8);
    if (wordA != wordB) return false;
  }
  for (; at < a.size(); ++at) {
    if (a[at] != b[at]) return false;
  }
  return true;
}

constexpr std::string_view kBlockOpener = "NPOIs100@NRA/R1;\n";
constexpr std::string_view kStampSuffix = "_JST;\n";
constexpr std::string_view kAfterStamp = " 255;\n ";
constexpr std::string_view kTitleOpener = ";\n TTL= {";
constexpr std::string_view kBlockCloser =
    "};\n"
    " CHAR = SJIS;\n"
    " ADDR = {};\n"
    " HPGL = {};\n"
    " MAIL = {};\n"
    " LNKF = {};\n"
    " COMM = {};\n"
    "eoNPOIs@NRA\n";

/// Copies `text` to `to` and returns the byte after it.
char* Put(char* to, std::string_view text) {
  std::memcpy(to, text.data(), text.size());
  return to + text.size();
}

}  // namespace

std::string_view NviStamp::HeadFor(const ClockReading& reading) {
  if (formed_ && SameText(reading.time, formedFrom_.time) &&
      SameText(reading.date, formedFrom_.date)) {
    return head_;
  }
  const StampPart date = NormalizeDate(reading.date);
  const StampPart time = NormalizeTime(reading.time);
  head_.assign(kBlockOpener);
  head_ += ' ';
  head_ += date.prefix;
  head_ += date.text;
  head_ += '_';
  head_ += time.prefix;
  head_ += time.text;
  head_ += kStampSuffix;
  head_ += kAfterStamp;
  formedFrom_ = reading;
  formed_ = true;
  return head_;
}

void WriteNviRecord(BufferedWriter& out, std::string_view title, std::string_view position,
                    Clock& clock, NviStamp& stamp) {
  const std::string_view head = stamp.HeadFor(clock.Now());
  // The whole block at once where it fits what is left of the buffer; the
  // title goes out byte for byte: no escaping, no check of its encoding.
  const std::size_t size =
      head.size() + position.size() + kTitleOpener.size() + title.size() + kBlockCloser.size();
  if (char* at = out.Claim(size)) {
    at = Put(at, head);
    at = Put(at, position);
    at = Put(at, kTitleOpener);
    at = Put(at, title);
    Put(at, kBlockCloser);
    return;
  }
  for (const std::string_view piece : {head, position, kTitleOpener, title, kBlockCloser}) {
    out.Append(piece);
  }
}

}  // namespace velorin
