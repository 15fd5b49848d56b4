#include "formats/nvi_reader.h"

namespace velorin {

namespace {

constexpr std::string_view kOpener = "NPOIs100@NRA/R1;";
constexpr std::string_view kCloser = "eoNPOIs@NRA";
constexpr std::string_view kPositionPrefix = " ";
constexpr std::string_view kTitlePrefix = " TTL= {";
constexpr std::string_view kTitleSuffix = "};";
constexpr std::string_view kCharset = " CHAR = SJIS;";
// Editors that save as UTF-8 put one before the first block.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kBlockLines = 12;
constexpr int kPositionLine = 4;
constexpr int kTitleLine = 5;
constexpr int kCharsetLine = 6;
constexpr int kFirstFieldLine = 7;  // ADDR, HPGL, MAIL, LNKF, COMM

/// The point's text each field line holds, by its place in the block.
struct FieldLine {
  std::string_view prefix;
  std::optional<PointField> field;
};
constexpr FieldLine kFieldLines[] = {
    {" ADDR = {", PointField::kAddress},     {" HPGL = {", PointField::kLink},
    {" MAIL = {", PointField::kEmail},       {" LNKF = {", std::nullopt},
    {" COMM = {", PointField::kDescription},
};

/// The text of a filled field line; nothing for an empty or another line.
std::string_view FieldValue(std::string_view line, std::string_view prefix) {
  if (line.size() <= prefix.size() + 2 || !line.starts_with(prefix) || !line.ends_with("};")) {
    return {};
  }
  return line.substr(prefix.size(), line.size() - prefix.size() - 2);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

NviReader::NviReader(ByteSource& source) : lines_(source, 1 << 16, kMaxLineSize) {}

bool NviReader::ReadLine(std::string_view& line) {
  if (lines_.Read(line)) {
    if (lines_.number() == 1 && line.starts_with(kByteOrderMark)) {
      line.remove_prefix(kByteOrderMark.size());
    }
    return true;
  }
  FailWith(lines_.failure());
  return false;
}

bool NviReader::Next(ReadEntry& entry) {
  std::string_view line;
  std::optional<std::int64_t> strayAt;  // the first line that belongs to no block
  for (;;) {
    std::int64_t opener = 0;
    if (pendingOpener_) {
      opener = *pendingOpener_;
      pendingOpener_.reset();
    } else {
      if (!ReadLine(line)) {
        if (strayAt && !failure()) {
          entry = ReadEntry{};
          entry.isPoint = false;
          entry.point.line = *strayAt;
          entry.reason = "not an NVI record block";
          strayAt.reset();
          return true;
        }
        return false;
      }
      if (line != kOpener) {
        if (!IsBlank(line) && !strayAt) strayAt = lines_.number();
        continue;
      }
      opener = lines_.number();
    }
    if (strayAt) {
      // Tell about the stray lines first; the block waits.
      pendingOpener_ = opener;
      entry.isPoint = false;
      entry.skip = SkipKind::kMalformed;
      entry.point.line = *strayAt;
      entry.reason = "not an NVI record block";
      return true;
    }
    ReadBlock(opener, entry);
    if (failure()) return false;
    return true;
  }
}

bool NviReader::ReadTitle(std::string_view line, std::string& title) {
  if (!line.starts_with(kTitlePrefix)) return false;
  line.remove_prefix(kTitlePrefix.size());
  title.clear();
  // A title may hold a line break (in the POT format a lone LF is part of
  // its line), which the NVI file keeps as it is: such a title goes on over
  // the next lines, up to the one that ends the field.
  while (!line.ends_with(kTitleSuffix)) {
    title.append(line);
    title += '\n';
    if (title.size() > kMaxLineSize || !ReadLine(line) || line == kOpener || line == kCharset) {
      // Never closed: the next field, the next block or the end came first.
      if (line == kOpener) pendingOpener_ = lines_.number();
      return false;
    }
  }
  title.append(line.substr(0, line.size() - kTitleSuffix.size()));
  return true;
}

void NviReader::ReadBlock(std::int64_t first, ReadEntry& entry) {
  entry.isPoint = false;
  entry.skip = SkipKind::kMalformed;
  entry.point.line = first;
  entry.point.title.clear();
  entry.point.titleEncoding = TitleEncoding::kCp932;
  entry.point.titleApproximated = false;
  entry.point.fields.Clear();
  entry.reason.clear();
  std::optional<DecodedPosition> position;
  std::string_view line;
  for (int number = 2; number <= kBlockLines; ++number) {
    if (!ReadLine(line)) {
      if (entry.reason.empty()) entry.reason = "record block cut off at the end of the file";
      return;
    }
    if (line == kOpener) {
      // A new block begins before this one ended.
      pendingOpener_ = lines_.number();
      if (entry.reason.empty()) entry.reason = "record block cut off by the next block";
      return;
    }
    if (!entry.reason.empty()) continue;  // broken already: read on to its end
    if (number == kPositionLine) {
      const std::string_view text =
          line.size() > 2 && line.starts_with(kPositionPrefix) && line.ends_with(";")
              ? line.substr(1, line.size() - 2)
              : std::string_view();
      position = DecodePositionText(text);
      if (!position)
        entry.reason = "record block: no position code on line " + std::to_string(lines_.number());
    } else if (number == kTitleLine) {
      if (!ReadTitle(line, entry.point.title)) {
        if (failure()) return;
        entry.reason = "record block: no title line on line " + std::to_string(lines_.number());
      }
    } else if (number == kCharsetLine) {
      if (line != kCharset) {
        entry.reason =
            "record block: not a Shift-JIS block on line " + std::to_string(lines_.number());
      }
    } else if (number >= kFirstFieldLine && number < kBlockLines) {
      const FieldLine& fieldLine = kFieldLines[number - kFirstFieldLine];
      const std::string_view value = FieldValue(line, fieldLine.prefix);
      if (fieldLine.field && !value.empty()) {
        entry.point.fields.Set(*fieldLine.field, value, TitleEncoding::kCp932);
      }
    } else if (number == kBlockLines && line != kCloser) {
      entry.reason = "record block: no block closer on line " + std::to_string(lines_.number());
    }
  }
  if (!entry.reason.empty()) return;
  if (!IsWithinNviRange(*position)) {
    entry.skip = SkipKind::kOutOfRange;
    entry.reason = "position code beyond 180 degrees";
    return;
  }
  entry.isPoint = true;
  entry.point.position = *position;
}

}  // namespace velorin
