#include "convert/nvi_writer.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "geo/sjis_scan.h"

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

void WriteNviRecord(BufferedWriter& out, const PoiRecord& record, Clock& clock) {
  const ClockReading& now = clock.Now();
  const StampPart date = NormalizeDate(now.date);
  const StampPart time = NormalizeTime(now.time);

  out.Append("NPOIs100@NRA/R1;\n");
  out.Append(' ');
  out.Append(date.prefix);
  out.Append(date.text);
  out.Append('_');
  out.Append(time.prefix);
  out.Append(time.text);
  out.Append("_JST;\n");
  out.Append(" 255;\n");
  out.Append(' ');
  out.Append(record.position.view());
  out.Append(";\n");
  // The title goes out byte for byte: no escaping, no check of its encoding.
  out.Append(" TTL= {");
  out.Append(record.title);
  out.Append("};\n");
  out.Append(
      " CHAR = SJIS;\n"
      " ADDR = {};\n"
      " HPGL = {};\n"
      " MAIL = {};\n"
      " LNKF = {};\n"
      " COMM = {};\n"
      "eoNPOIs@NRA\n");
}

}  // namespace velorin
