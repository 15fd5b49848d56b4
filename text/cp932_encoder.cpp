#include "text/cp932_encoder.h"

#include <optional>
#include <string_view>

#include "text/cp932_closest.h"
#include "text/text_encoding.h"
#include "text/utf8.h"

namespace velorin {

namespace {

constexpr std::string_view kUnknown = "?";

std::size_t NonAsciiPrefixLength(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x80) ++i;
  return i;
}

/// The code point of the character that ends at byte `end` of valid UTF-8.
char32_t CodePointBefore(std::string_view text, std::size_t end) {
  std::size_t start = end - 1;
  while (start > 0 && utf8::IsContinuation(static_cast<unsigned char>(text[start]))) --start;
  return utf8::Decode(text.data() + start, end - start);
}

/// Bytes of the CP932 character that starts with `lead` (well-formed text).
std::size_t Cp932Width(char lead) {
  const auto b = static_cast<unsigned char>(lead);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
}

constexpr std::size_t kNowhere = std::string::npos;

/// Where the last character written to the output begins, so that a
/// combining mark dropped after it can count it as changed, once. After a
/// run of the converter it is found only when asked.
class LastCharacter {
 public:
  void Written(std::size_t start, bool replaced) {
    start_ = start;
    runStart_ = kNowhere;
    replaced_ = replaced;
  }
  /// The last of the characters converted from `runStart` on.
  void Converted(std::size_t runStart) {
    Written(kNowhere, false);
    runStart_ = runStart;
  }
  void MarkReplaced() { replaced_ = true; }
  bool replaced() const { return replaced_; }
  /// Its offset in `out`, or kNowhere before the first character.
  std::size_t Start(std::string_view out) {
    if (runStart_ != kNowhere) {
      for (std::size_t at = runStart_; at < out.size(); at += Cp932Width(out[at])) start_ = at;
      runStart_ = kNowhere;
    }
    return start_;
  }

 private:
  std::size_t start_ = kNowhere;
  std::size_t runStart_ = kNowhere;
  bool replaced_ = false;
};

/// Writes the character at byte `at` of `utf8`, one that the converter
/// refused: joined with the character before it when CP932 holds the pair as
/// one, else its closest form, else "?". Returns its length in `utf8`.
std::size_t AppendRefused(std::string_view utf8, std::size_t at, std::string& out,
                          std::vector<ByteSpan>* replaced, LastCharacter& last) {
  const auto length = static_cast<std::size_t>(utf8::SequenceLength(utf8.substr(at)));
  const char32_t codePoint = utf8::Decode(utf8.data() + at, length);
  const auto report = [&](std::size_t offset) {
    if (replaced != nullptr) replaced->push_back({offset, out.size() - offset});
  };

  if (at > 0) {
    // The character before was written as itself: CP932 holds every base.
    const auto pair = FindCp932Composition(CodePointBefore(utf8, at), codePoint);
    const std::size_t base = last.Start(out);
    if (pair && base != kNowhere && std::string_view(out).substr(base) == pair->baseBytes) {
      out.resize(base);
      out += pair->bytes;
      last.Written(base, false);
      return length;
    }
  }

  std::optional<Cp932Closest> closest = FindCp932Closest(codePoint);
  const std::size_t offset = out.size();
  if (closest && !closest->changesText) {
    out += closest->bytes;
    if (out.size() > offset) last.Written(offset, false);
    return length;
  }
  if (closest && closest->combining && closest->bytes.empty()) {
    // A dropped accent changes the character it was on.
    const std::size_t base = last.Start(out);
    if (base != kNowhere) {
      if (!last.replaced()) report(base);
      last.MarkReplaced();
      return length;
    }
    closest.reset();  // nothing to be on
  }
  out += closest ? closest->bytes : kUnknown;
  report(offset);
  last.Written(offset, true);
  return length;
}

}  // namespace

struct Cp932Encoder::State {
  /// The system's own table (iconv on Linux, Windows' on Windows).
  Cp932Converter converter;
};

Cp932Encoder::Cp932Encoder() : state_(std::make_unique<State>()) {}
Cp932Encoder::~Cp932Encoder() = default;

bool Cp932Encoder::Append(std::string_view utf8, std::string& out,
                          std::vector<ByteSpan>* replaced) {
  // Most lines of a POT file, and most of every line, are ASCII.
  std::size_t done = utf8::AsciiPrefixLength(utf8);
  if (done == utf8.size()) {
    out.append(utf8);
    return true;
  }
  // Validity is checked as the converter goes; what is not valid UTF-8
  // leaves `out` and `replaced` as they were.
  const std::size_t outStart = out.size();
  const std::size_t replacedStart = replaced != nullptr ? replaced->size() : 0;
  out.append(utf8.data(), done);
  LastCharacter last;
  if (done > 0) last.Written(out.size() - 1, false);
  while (done < utf8.size()) {
    // ASCII runs are copied; the converter sees only the runs between them.
    const std::string_view rest = utf8.substr(done);
    const std::size_t ascii = utf8::AsciiPrefixLength(rest);
    if (ascii > 0) {
      out.append(rest.data(), ascii);
      done += ascii;
      last.Written(out.size() - 1, false);
      continue;
    }
    const std::size_t run = NonAsciiPrefixLength(rest);
    const std::size_t runStart = out.size();
    const std::size_t taken = state_->converter.Convert(rest.substr(0, run), out);
    if (out.size() > runStart) last.Converted(runStart);
    done += taken;
    if (taken == run) continue;
    if (utf8::SequenceLength(utf8.substr(done)) <= 0) {
      out.resize(outStart);
      if (replaced != nullptr) replaced->resize(replacedStart);
      return false;
    }
    done += AppendRefused(utf8, done, out, replaced, last);
  }
  return true;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  std::string cp932;
  cp932.reserve(utf8.size());
  if (Cp932Converter().Convert(utf8, cp932) != utf8.size()) return std::nullopt;
  return cp932;
}

std::optional<Cp932Title> TitleToCp932(std::string_view utf8) {
  Cp932Encoder encoder;
  Cp932Title title;
  std::vector<ByteSpan> replaced;
  if (!encoder.Append(utf8, title.text, &replaced)) return std::nullopt;
  title.replaced = replaced.size();
  return title;
}

}  // namespace velorin
