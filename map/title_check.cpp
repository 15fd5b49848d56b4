#include "map/title_check.h"

#include <algorithm>

#include "formats/pot_writer.h"
#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"
#include "text/utf8.h"

namespace velorin {
namespace {

/// The characters of `utf8` that CP932 holds no form of, each once.
std::vector<std::string> Unshowable(std::string_view utf8) {
  std::vector<std::string> found;
  Cp932Encoder encoder;
  std::string out;
  std::vector<ByteSpan> replaced;
  while (!utf8.empty()) {
    const int length = utf8::SequenceLength(utf8);
    const std::size_t size = length > 0 ? static_cast<std::size_t>(length) : 1;
    const std::string_view character = utf8.substr(0, size);
    utf8.remove_prefix(size);
    out.clear();
    replaced.clear();
    if (encoder.Append(character, out, &replaced) && replaced.empty()) continue;
    if (length <= 0) continue;  // no character at all: the rule replaces it
    const std::string text(character);
    if (std::find(found.begin(), found.end(), text) == found.end()) found.push_back(text);
  }
  return found;
}

std::size_t Characters(std::string_view utf8) {
  std::size_t count = 0;
  while (!utf8.empty()) {
    const int length = utf8::SequenceLength(utf8);
    utf8.remove_prefix(length > 0 ? static_cast<std::size_t>(length) : 1);
    ++count;
  }
  return count;
}

}  // namespace

TitleTarget OutputTitleTarget(PointFormat format) {
  return {WrittenTitleEncoding(format), InfoOf(format).titlesAreUnitBytes};
}

TitleCheck CheckTitle(std::string_view utf8, PointFormat format) {
  TitleCheck check;
  const TitleTarget target = OutputTitleTarget(format);
  TitleRule rule(target);
  Point point;
  // A title is one line: what was typed or pasted over several is joined
  // as the editor keeps it.
  const bool joined = TidyTypedTitle(utf8, point.title);
  point.titleEncoding = TitleEncoding::kUtf8;
  TitleChange change = TitleChange::kNone;
  // Typed text is no file's layout: the blanks between words stay as they are.
  std::string held(rule.Apply(point, TitleSource{false, false}, change));
  check.empty = IsWhiteSpaceOnly(held);
  // Characters CP932 lacks are told one by one; the rest of what the rule
  // or the writer does is a change.
  bool changed = joined || change == TitleChange::kControl;
  if (target.encoding == TitleEncoding::kCp932) {
    check.unshowable = Unshowable(point.title);
    std::string pot;
    if (format == PointFormat::kPot && PotTitleText(held, pot)) {
      held = pot;
      changed = true;
    }
    check.written = Cp932ToUtf8(held);
  } else {
    check.written = held;
  }
  check.limit = TitleCharacterLimit(format);
  check.tooLong = check.limit > 0 && Characters(point.title) > check.limit;
  check.changed = changed && !check.tooLong;
  return check;
}

std::string TitleCheckText(const MapMessages& words, std::string_view utf8, PointFormat format) {
  const TitleCheck check = CheckTitle(utf8, format);
  std::string text;
  const auto add = [&text](const std::string& line) { text += (text.empty() ? "" : "\n") + line; };
  if (check.empty) add(words.Text(kNoTitleMessage));
  if (check.tooLong) add(words.Text(kTooLongMessage) + ' ' + std::to_string(check.limit));
  if (!check.unshowable.empty()) {
    std::string characters = words.Text(kUnshowableMessage);
    for (const std::string& character : check.unshowable) characters += ' ' + character;
    add(characters);
  }
  // What the file will hold, unless there is none or it would be cut.
  if (!check.empty && !check.tooLong && (check.changed || !check.unshowable.empty()))
    add(words.Text(kWrittenAsMessage) + ' ' + check.written);
  return text;
}

}  // namespace velorin
