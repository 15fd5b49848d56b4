#include "convert/title_rule.h"

#include <cstdint>
#include <cstring>

#include "text/sjis_scan.h"
#include "text/utf8.h"

namespace velorin {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

/// A byte no text should hold on its own: a control character but TAB, LF
/// and CR, or DEL. Never part of a CP932 double-byte character.
constexpr bool IsControlByte(unsigned char c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

/// Whether a word holds a byte below 0x20 or DEL: eight bytes at a time,
/// since most titles hold none (TAB, LF and CR are looked at one by one).
constexpr bool MayHoldControlByte(std::uint64_t word) {
  const std::uint64_t below = (word - 0x20 * kEveryByte) & ~word;
  const std::uint64_t del = word ^ (0x7F * kEveryByte);
  return ((below | ((del - kEveryByte) & ~del)) & (0x80 * kEveryByte)) != 0;
}

/// Whether `text` holds a byte no text should hold on its own.
bool HoldsControlByte(std::string_view text) {
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if (!MayHoldControlByte(word)) continue;
    for (std::size_t i = at; i < at + 8; ++i) {
      if (IsControlByte(static_cast<unsigned char>(text[i]))) return true;
    }
  }
  for (; at < text.size(); ++at) {
    if (IsControlByte(static_cast<unsigned char>(text[at]))) return true;
  }
  return false;
}

/// The C1 control characters, U+0080 to U+009F (C2 80 to C2 9F): no text
/// should hold them, and U+0085 breaks lines where it is read as NEL.
bool IsUtf8C1Control(std::string_view text, int length) {
  return length == 2 && static_cast<unsigned char>(text[0]) == 0xC2 &&
         static_cast<unsigned char>(text[1]) <= 0x9F;
}

/// U+FFFE and U+FFFF (EF BF BE, EF BF BF): no character at all.
bool IsUtf8NonCharacter(std::string_view text, int length) {
  return length == 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
         static_cast<unsigned char>(text[1]) == 0xBF && static_cast<unsigned char>(text[2]) >= 0xBE;
}

/// A byte that begins no CP932 character when it stands alone: a lead byte
/// (its second byte missing), or a code CP932 leaves unused.
constexpr bool BeginsNoCharacter(unsigned char b) {
  return IsLeadByte(b) || b == 0x80 || b == 0xA0 || b >= 0xFD;
}

/// Whether UTF-8 `text` holds anything ReplaceUtf8Controls replaces.
bool HoldsUtf8ToReplace(std::string_view text) {
  while (!text.empty()) {
    const std::size_t ascii = utf8::AsciiPrefixLength(text);
    if (HoldsControlByte(text.substr(0, ascii))) return true;
    text.remove_prefix(ascii);
    if (text.empty()) return false;
    const int length = utf8::SequenceLength(text);
    if (length <= 0 || IsUtf8C1Control(text, length) || IsUtf8NonCharacter(text, length)) {
      return true;
    }
    text.remove_prefix(static_cast<std::size_t>(length));
  }
  return false;
}

/// Whether `cp932` holds a byte that begins no whole character: a lead byte
/// without its second byte, or a code CP932 leaves unused (0x80, 0xA0, 0xFD
/// to 0xFF). ASCII eight bytes at a time.
bool HoldsBrokenCp932(std::string_view cp932) {
  std::size_t at = 0;
  while (at < cp932.size()) {
    at += utf8::AsciiPrefixLength(cp932.substr(at));
    if (at == cp932.size()) return false;
    const std::size_t width = CharWidthAt(cp932, at);
    if (width == 1 && BeginsNoCharacter(static_cast<unsigned char>(cp932[at]))) return true;
    at += width;
  }
  return false;
}

/// `cp932` with each byte HoldsBrokenCp932 finds made "?".
void ReplaceBrokenCp932(std::string_view cp932, std::string& out) {
  out.clear();
  for (std::size_t at = 0; at < cp932.size();) {
    const std::size_t width = CharWidthAt(cp932, at);
    if (width == 1 && BeginsNoCharacter(static_cast<unsigned char>(cp932[at]))) {
      out += '?';
    } else {
      out.append(cp932.substr(at, width));
    }
    at += width;
  }
}

/// UTF-8 `text` with its C1 control characters made "?", so that CP932,
/// which lacks them, is not said to have a closest one.
bool ReplaceC1Controls(std::string_view text, std::string& out) {
  if (text.find('\xC2') == std::string_view::npos) return false;
  out.clear();
  bool replaced = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
        static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[at + 1]) <= 0x9F) {
      out += '?';
      replaced = true;
      ++at;
    } else {
      out += text[at];
    }
  }
  return replaced;
}

/// How much a change matters, when a title went through several.
int Weight(TitleChange change) {
  switch (change) {
    case TitleChange::kNone:
      return 0;
    case TitleChange::kTidied:
      return 1;
    case TitleChange::kControl:
      return 2;
    case TitleChange::kRecoded:
      return 3;
    case TitleChange::kBrokenBytes:
      return 4;
    case TitleChange::kClosest:
      return 5;
    case TitleChange::kUnshowable:
      return 6;
  }
  return 0;
}

TitleChange Stronger(TitleChange a, TitleChange b) { return Weight(a) < Weight(b) ? b : a; }

}  // namespace

bool ReplaceCp932Controls(std::string_view text, std::string& out) {
  bool replaced = false;
  out.assign(text);
  for (char& c : out) {
    if (IsControlByte(static_cast<unsigned char>(c))) {
      c = '?';
      replaced = true;
    }
  }
  return replaced;
}

bool ReplaceUtf8Controls(std::string_view text, std::string& out) {
  out.clear();
  bool replaced = false;
  while (!text.empty()) {
    const std::size_t ascii = utf8::AsciiPrefixLength(text);
    for (std::size_t i = 0; i < ascii; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (IsControlByte(c)) {
        out += kReplacement;
        replaced = true;
      } else {
        out += static_cast<char>(c);
      }
    }
    text.remove_prefix(ascii);
    if (text.empty()) break;
    const int length = utf8::SequenceLength(text);
    if (length <= 0 || IsUtf8C1Control(text, length) || IsUtf8NonCharacter(text, length)) {
      out += kReplacement;
      replaced = true;
      text.remove_prefix(length > 0 ? static_cast<std::size_t>(length) : 1);
      continue;
    }
    out.append(text.substr(0, static_cast<std::size_t>(length)));
    text.remove_prefix(static_cast<std::size_t>(length));
  }
  return replaced;
}

namespace {

/// The length of the line break or TAB at the start of `text`, 0 when
/// none is there.
std::size_t LayoutBreakAt(std::string_view text) {
  const auto c = static_cast<unsigned char>(text[0]);
  if (c == '\r' || c == '\n' || c == '\t') return 1;
  // U+0085 (C2 85), U+2028 and U+2029 (E2 80 A8, E2 80 A9).
  if (c == 0xC2 && text.size() >= 2 && static_cast<unsigned char>(text[1]) == 0x85) return 2;
  if (c == 0xE2 && text.size() >= 3 && static_cast<unsigned char>(text[1]) == 0x80 &&
      (static_cast<unsigned char>(text[2]) == 0xA8 ||
       static_cast<unsigned char>(text[2]) == 0xA9)) {
    return 3;
  }
  return 0;
}

/// `typed` with each run of blanks, line breaks and TABs that holds a
/// break or TAB made one blank, none at either end.
std::string JoinTypedLines(std::string_view typed) {
  std::string joined;
  joined.reserve(typed.size());
  std::size_t at = 0;
  while (at < typed.size()) {
    // A run of white space: blanks, breaks and TABs.
    std::size_t end = at;
    bool breaks = false;
    while (end < typed.size()) {
      if (typed[end] == ' ') {
        ++end;
      } else if (const std::size_t size = LayoutBreakAt(typed.substr(end))) {
        breaks = true;
        end += size;
      } else {
        break;
      }
    }
    if (end == at) {
      joined += typed[at++];
      continue;
    }
    if (!breaks) {
      joined.append(typed.substr(at, end - at));
    } else if (at > 0 && end < typed.size()) {
      // Within the title one blank; at either end nothing.
      joined += ' ';
    }
    at = end;
  }
  return joined;
}

}  // namespace

bool TidyTypedTitle(std::string_view typed, std::string& out) {
  const std::string joined = JoinTypedLines(typed);
  ReplaceUtf8Controls(joined, out);
  return out != typed;
}

std::string_view TitleRule::ApplyFully(const Point& point, const TitleSource& source,
                                       TitleChange& change) {
  change = TitleChange::kNone;
  return ApplyTo(point.title, point.titleEncoding, point.titleApproximated, source, title_, change);
}

FieldTexts TitleRule::ApplyToFields(const Point& point, const TitleSource& source,
                                    PointFieldSet wanted, TextChanges& changes) {
  FieldTexts texts;
  changes = {};
  if (!point.fields.Any()) return texts;
  const TitleEncoding from = point.fields.encoding();
  for (const PointField field : kPointFields) {
    const std::string_view text = point.fields.Get(field);
    if (text.empty() || !wanted.Has(field)) continue;
    TitleChange change = TitleChange::kNone;
    std::string_view& out = texts[field];
    out = ApplyTo(text, from, false, source, fields_[IndexOf(field)], change);
    // A field of blanks alone says nothing.
    if (!source.spaceIsLayout && IsWhiteSpaceOnly(out)) out = {};
    if (change != TitleChange::kNone && change != TitleChange::kTidied) {
      ++changes.texts;
      changes.Note(change);
    }
  }
  return texts;
}

std::string_view TitleRule::ApplyTo(std::string_view text, TitleEncoding from, bool approximated,
                                    const TitleSource& source, Buffers& buffers,
                                    TitleChange& change) {
  if (keepsUnitBytes_ && source.unitBytes && from == TitleEncoding::kCp932) {
    // The unit's titles, as the unit wrote them (but what the reader
    // replaced already, reading UTF-8 lines as CP932), but for a lead byte
    // at the end, which would take the closing brace as its second byte.
    if (approximated) change = ChangeOfTitle(text, true);
    if (!EndsInLoneLeadByte(text)) return text;
    buffers.cleaned.assign(text);
    buffers.cleaned.back() = '?';
    change = Stronger(change, TitleChange::kBrokenBytes);
    return buffers.cleaned;
  }
  if (source.spaceIsLayout && !IsWhiteSpaceTidy(text)) {
    buffers.tidied.assign(text);
    if (CollapseWhiteSpace(buffers.tidied)) change = TitleChange::kTidied;
    text = buffers.tidied;
  }
  if (text.empty()) return text;
  return target_.encoding == TitleEncoding::kCp932
             ? ToCp932(text, from, approximated, source.unitBytes, buffers, change)
             : ToUtf8(text, from, buffers, change);
}

std::string_view TitleRule::ToCp932(std::string_view text, TitleEncoding from, bool approximated,
                                    bool unitBytes, Buffers& buffers, TitleChange& change) {
  if (from == TitleEncoding::kUtf8) {
    approximated = encoder_.Encode(text, buffers.converted);
    // CP932 lacks the C1 controls: only a title with characters replaced
    // may hold one, and it is a control character, not one to replace by
    // the closest.
    if (approximated && ReplaceC1Controls(text, buffers.cleaned)) {
      change = Stronger(change, TitleChange::kControl);
      approximated = encoder_.Encode(buffers.cleaned, buffers.converted);
    }
    text = buffers.converted;
  } else if (!unitBytes && HoldsBrokenCp932(text)) {
    // Bytes of a decoded file (a CSV in CP932) that are no character: a
    // lead byte among them would take the byte after it as its second.
    ReplaceBrokenCp932(text, buffers.converted);
    text = buffers.converted;
    change = Stronger(change, TitleChange::kBrokenBytes);
  } else if (EndsInLoneLeadByte(text)) {
    buffers.converted.assign(text);
    buffers.converted.back() = '?';
    text = buffers.converted;
    change = Stronger(change, TitleChange::kBrokenBytes);
  }
  if (approximated) {
    change = Stronger(change, text.find_first_not_of("? ") == std::string_view::npos
                                  ? TitleChange::kUnshowable
                                  : TitleChange::kClosest);
  }
  if (!HoldsControlByte(text)) return text;
  ReplaceCp932Controls(text, buffers.cleaned);
  change = Stronger(change, TitleChange::kControl);
  return buffers.cleaned;
}

std::string_view TitleRule::ToUtf8(std::string_view text, TitleEncoding from, Buffers& buffers,
                                   TitleChange& change) {
  if (from == TitleEncoding::kCp932) {
    // The fields have a decoder of their own, so that the title's view of
    // its buffer stays valid; each field's text is copied out of it.
    const bool isTitle = &buffers == &title_;
    TitleDecoder& decoder = isTitle ? decoder_ : fieldDecoder_;
    const std::string_view decoded = decoder.Decode(text);
    change = Stronger(change, decoder.lastChange());
    if (!isTitle && decoded.data() != text.data()) {
      buffers.converted.assign(decoded);
      text = buffers.converted;
    } else {
      text = decoded;
    }
  }
  if (!HoldsUtf8ToReplace(text)) return text;
  ReplaceUtf8Controls(text, buffers.cleaned);
  change = Stronger(change, TitleChange::kControl);
  return buffers.cleaned;
}

}  // namespace velorin
