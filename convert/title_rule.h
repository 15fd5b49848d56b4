#pragma once
// The one title rule: what every title becomes on its way into an output,
// whichever reader gave it and whichever writer takes it. Decided once per
// point, before the point is checked, so that a title is judged (untitled,
// a duplicate) as the output will hold it.
//
// - White space that is a file's layout (an indented XML name, a CSV cell
//   over two lines): runs of blanks, TABs and line breaks become one blank,
//   none at either end.
// - The title is put in the writer's encoding: CP932 with the closest
//   character for one CP932 lacks (else "?"), or UTF-8 (CP932 codes UTF-8
//   holds only as others are said).
// - Characters no text should hold become U+FFFD (in CP932 "?"): control
//   characters but TAB, CR and LF, U+0000 among them, DEL, the C1 controls
//   U+0080 to U+009F (NEL among them), the non-characters U+FFFE and
//   U+FFFF, lone surrogates, bytes that are no UTF-8, and CP932 bytes that
//   are no whole character (a lead byte without its second, which would
//   take the byte after it, an NVI field's closing brace, as its second).
// A title of the unit's own formats (POT, NVI) going into one of them keeps
// its bytes: the unit's titles are written as they were read, but for a
// lead byte alone at the end, which becomes "?".
//
// A point's further texts (its description, address, link ...) go the same
// way, each by itself: the rule is one for every text a point carries.
#include <array>
#include <string>
#include <string_view>

#include "formats/point.h"

namespace velorin {

/// The output's side of the rule.
struct TitleTarget {
  TitleEncoding encoding = TitleEncoding::kCp932;
  /// The output is one of the unit's own formats (POT, NVI).
  bool unitBytes = true;
};

/// The input's side of the rule.
struct TitleSource {
  /// White space in the input's titles is layout (not POT or NVI).
  bool spaceIsLayout = false;
  /// The input is one of the unit's own formats.
  bool unitBytes = true;
};

/// What the rule did to a point's further texts.
struct TextChanges {
  int texts = 0;       ///< texts whose characters were replaced
  unsigned kinds = 0;  ///< a bit for each TitleChange made
  void Note(TitleChange change) { kinds |= 1u << static_cast<unsigned>(change); }
  bool Made(TitleChange change) const {
    return ((kinds >> static_cast<unsigned>(change)) & 1u) != 0;
  }
};

/// Whether the last byte of `text` is one that may lead a CP932 character
/// (most titles end in ASCII or in a second byte of another range).
inline bool MayEndInLeadByte(std::string_view text) {
  if (text.empty()) return false;
  const auto last = static_cast<unsigned char>(text.back());
  return (last >= 0x81 && last <= 0x9F) || last >= 0xE0;
}

class TitleRule {
 public:
  explicit TitleRule(TitleTarget target)
      : target_(target),
        keepsUnitBytes_(target.unitBytes && target.encoding == TitleEncoding::kCp932) {}

  /// The title of `point` as the output holds it, in the target's encoding:
  /// a view of the point's title or of a buffer valid until the next call.
  /// Empty when the point has none, or white space alone. `change` is what
  /// the rule did, the change that matters most when several did.
  std::string_view Apply(const Point& point, const TitleSource& source, TitleChange& change) {
    // The unit's titles into the unit's formats, as the unit wrote them:
    // the usual POT to NVI run, without a call.
    if (keepsUnitBytes_ && source.unitBytes && point.titleEncoding == TitleEncoding::kCp932 &&
        !point.titleApproximated && !MayEndInLeadByte(point.title)) {
      change = TitleChange::kNone;
      return point.title;
    }
    return ApplyFully(point, source, change);
  }

  /// The fields of `point` as the output holds them, by the same rule: views
  /// of the point's texts or of buffers valid until the next call. A field
  /// of white space alone is empty. `changes` counts the fields whose
  /// characters the rule replaced (closest CP932 ones, U+FFFD, "?") and
  /// notes how; tidied white space is no change worth telling in a longer
  /// text. Only the fields `wanted` are turned; the others stay empty.
  FieldTexts ApplyToFields(const Point& point, const TitleSource& source, PointFieldSet wanted,
                           TextChanges& changes);

  const TitleTarget& target() const { return target_; }

 private:
  std::string_view ApplyFully(const Point& point, const TitleSource& source, TitleChange& change);
  /// Where a text is turned: each text of a point has its own, so that all
  /// of them stay valid together.
  struct Buffers {
    std::string tidied;
    std::string converted;
    std::string cleaned;
  };
  std::string_view ApplyTo(std::string_view text, TitleEncoding from, bool approximated,
                           const TitleSource& source, Buffers& buffers, TitleChange& change);
  /// `unitBytes`: the text comes from the unit's own formats, whose bytes
  /// are kept but for a lead byte at the end.
  std::string_view ToCp932(std::string_view text, TitleEncoding from, bool approximated,
                           bool unitBytes, Buffers& buffers, TitleChange& change);
  std::string_view ToUtf8(std::string_view text, TitleEncoding from, Buffers& buffers,
                          TitleChange& change);

  TitleTarget target_;
  bool keepsUnitBytes_;
  TitleEncoder encoder_;
  TitleDecoder decoder_;
  TitleDecoder fieldDecoder_;
  Buffers title_;
  std::array<Buffers, kPointFieldCount> fields_;
};

/// Replaces in CP932 `text` the control bytes no text should hold by "?";
/// `out` gets the result. True when one was replaced.
bool ReplaceCp932Controls(std::string_view text, std::string& out);

/// Replaces in UTF-8 `text` what no text should hold (see above) by
/// U+FFFD; `out` gets the result. True when anything was replaced.
bool ReplaceUtf8Controls(std::string_view text, std::string& out);

/// A title a person typed or pasted (UTF-8) as a title can hold it: a title
/// is one line, so line breaks (CR, LF, U+0085, U+2028, U+2029) and TABs
/// are layout, as in a file: each run of white space holding one becomes
/// one blank, none at either end; the blanks typed between words stay as
/// typed. Then what no text should hold becomes U+FFFD. `out` gets the
/// result; true when it differs from `typed`.
bool TidyTypedTitle(std::string_view typed, std::string& out);

}  // namespace velorin
