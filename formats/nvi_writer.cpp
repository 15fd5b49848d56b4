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

/// Lines 4 to 12: everything after the blank that begins the position line.
void AppendBlockRest(BufferedWriter& out, std::string_view title, std::string_view position) {
  out.Append(position);
  out.Append(";\n TTL= {");
  // The title goes out byte for byte: no escaping, no check of its encoding.
  out.Append(title);
  out.Append(
      "};\n"
      " CHAR = SJIS;\n"
      " ADDR = {};\n"
      " HPGL = {};\n"
      " MAIL = {};\n"
      " LNKF = {};\n"
      " COMM = {};\n"
      "eoNPOIs@NRA\n");
}

}  // namespace

void WriteNviRecord(BufferedWriter& out, const PoiRecord& record, Clock& clock) {
  const ClockReading& now = clock.Now();
  const StampPart date = NormalizeDate(now.date);
  const StampPart time = NormalizeTime(now.time);

  out.Append(kBlockOpener);
  out.Append(' ');
  out.Append(date.prefix);
  out.Append(date.text);
  out.Append('_');
  out.Append(time.prefix);
  out.Append(time.text);
  out.Append(kStampSuffix);
  out.Append(kAfterStamp);
  AppendBlockRest(out, record.title, record.position.view());
}

void NviRecordWriter::Write(const PoiRecord& record) {
  Write(record.title, record.position.view());
}

void NviRecordWriter::Write(std::string_view title, std::string_view position) {
  AppendHead();
  AppendBlockRest(out_, title, position);
}

void NviRecordWriter::Write(std::string_view title, std::string_view position,
                            const NviFieldLines& fields) {
  AppendHead();
  out_.Append(position);
  out_.Append(";\n TTL= {");
  out_.Append(title);
  out_.Append("};\n CHAR = SJIS;\n ADDR = {");
  out_.Append(fields.addr);
  out_.Append("};\n HPGL = {");
  out_.Append(fields.hpgl);
  out_.Append("};\n MAIL = {");
  out_.Append(fields.mail);
  out_.Append("};\n LNKF = {};\n COMM = {");
  out_.Append(fields.comm);
  out_.Append("};\neoNPOIs@NRA\n");
}

void NviRecordWriter::AppendHead() {
  const ClockReading& now = clock_.Now();
  if (!hasHead_ || !SameText(now.time, stampedReading_.time) ||
      !SameText(now.date, stampedReading_.date)) {
    const StampPart date = NormalizeDate(now.date);
    const StampPart time = NormalizeTime(now.time);
    blockHead_.assign(kBlockOpener);
    blockHead_ += ' ';
    blockHead_ += date.prefix;
    blockHead_ += date.text;
    blockHead_ += '_';
    blockHead_ += time.prefix;
    blockHead_ += time.text;
    blockHead_ += kStampSuffix;
    blockHead_ += kAfterStamp;
    stampedReading_ = now;
    hasHead_ = true;
  }
  out_.Append(blockHead_);
}

}  // namespace velorin
