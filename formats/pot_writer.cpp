#include "formats/pot_writer.h"

#include <variant>

#include "text/search_pattern.h"
#include "text/sjis_scan.h"

namespace velorin {

namespace {

constexpr std::string_view kFullWidthSolidus = "\x81\x5E";  // ／
constexpr std::string_view kFullWidthEquals = "\x81\x81";   // ＝
constexpr SearchPattern kLatitudeKey("ido=", true);

std::string AngleText(const PointPosition& position, bool longitude) {
  if (const auto* units = std::get_if<DecodedPosition>(&position)) {
    return FormatPotNotationOfUnits(longitude ? units->x : units->y);
  }
  const Degrees& degrees = std::get<Degrees>(position);
  return FormatPotNotation(longitude ? degrees.longitude : degrees.latitude);
}

}  // namespace

bool PotTitleText(std::string_view cp932, std::string& out) {
  out.clear();
  bool changed = false;
  // "/", CR and LF are single bytes that are never the trail byte of a CP932
  // character, so a byte test finds only the characters themselves. A line
  // break (an NVI title may hold one) would end the POT line.
  for (std::size_t at = 0; at < cp932.size(); ++at) {
    const char c = cp932[at];
    if (c == '/') {
      out += kFullWidthSolidus;
      changed = true;
    } else if (c == '\r' || c == '\n') {
      out += ' ';
      changed = true;
    } else {
      out += c;
    }
  }
  for (std::size_t at = kLatitudeKey.FindIn(out, 0); at != SearchPattern::kNotFound;
       at = kLatitudeKey.FindIn(out, at + 3)) {
    out.replace(at + 3, 1, kFullWidthEquals);
    changed = true;
  }
  std::size_t characters = 0;
  for (std::size_t at = 0; at < out.size(); at += CharWidthAt(out, at)) {
    if (++characters > kMaxPotTitleCharacters) {
      out.resize(at);
      changed = true;
      break;
    }
  }
  if (!out.empty() && (out.front() == '"' || out.back() == '"')) {
    out.insert(out.begin(), '"');
    out += '"';
  }
  return changed;
}

void PotWriter::Write(const Point& point, std::string_view title) {
  const PointPosition& position = point.position;
  if (PotTitleText(title, title_)) ++titlesAdjusted_;
  out_.Append("ORD=POI/tex=");
  out_.Append(title_);
  out_.Append("/kei=");
  out_.Append(AngleText(position, true));
  out_.Append("/ido=");
  out_.Append(AngleText(position, false));
  out_.Append("\r\n");
}

}  // namespace velorin
