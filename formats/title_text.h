#pragma once
// Titles on their way between formats: kept as the file gave them (UTF-8
// text, or the CP932 bytes of POT and NVI files), white space tidied so that
// a title never breaks a line, and the encoder and decoder with which the
// one title rule (convert/title_rule.h) turns them into the encoding an
// output needs (into CP932: closest character, else "?").
#include <string>
#include <string_view>

#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"

namespace velorin {

enum class TitleEncoding { kUtf8, kCp932 };

/// What turning a title into CP932 did to it.
enum class TitleChange {
  kNone,
  kClosest,     ///< characters CP932 lacks became the closest ones (or "?")
  kUnshowable,  ///< nothing but "?" is left: CP932 holds none of its characters
  /// CP932 bytes that UTF-8 text holds only as other codes: one of the
  /// duplicate codes of NEC and IBM characters (it comes back as the usual
  /// one).
  kRecoded,
  /// CP932 bytes that are no whole character (a lead byte without its
  /// second byte, a code CP932 leaves unused) became "?", or U+FFFD in
  /// UTF-8: a lead byte left alone would take the byte after it (an NVI
  /// field's closing brace) as its second.
  kBrokenBytes,
  /// Blanks, TABs or line breaks inside the title became single blanks.
  kTidied,
  /// Characters no text should hold (control characters, U+FFFE ...)
  /// became U+FFFD, or "?" in CP932.
  kControl,
};

/// The change of a title that became `cp932`, with characters `replaced` or
/// not.
TitleChange ChangeOfTitle(std::string_view cp932, bool replaced);

/// Runs of CR, LF, TAB and blanks become one blank; none at either end.
/// These bytes are never part of a CP932 double-byte character, so the rule
/// holds for CP932 and UTF-8 text alike. True when white space inside the
/// text changed (ends trimmed alone do not count: files indent their names).
bool CollapseWhiteSpace(std::string& text);

/// Whether CollapseWhiteSpace would leave `text` as it is: single blanks
/// between other characters only. Most titles are; the check copies nothing.
bool IsWhiteSpaceTidy(std::string_view text);

/// Whether `text` holds nothing but blanks, TABs and line breaks (or nothing).
bool IsWhiteSpaceOnly(std::string_view text);

/// One encoder for a whole file.
class TitleEncoder {
 public:
  /// Replaces `out` with the CP932 form of `utf8`. A byte that is not part
  /// of valid UTF-8 becomes "?" as well. True when anything was replaced or
  /// dropped (an invisible character); a title of invisible characters alone
  /// becomes "?" rather than nothing.
  bool Encode(std::string_view utf8, std::string& out);

 private:
  bool EncodeCharacters(std::string_view utf8, std::string& out);

  Cp932Encoder encoder_;
  std::vector<ByteSpan> replaced_;
};

/// CP932 titles for UTF-8 formats, one decoder for a whole file.
class TitleDecoder {
 public:
  /// The UTF-8 form of `cp932`: `cp932` itself when it is ASCII, else a view
  /// of a buffer valid until the next call. Invalid bytes become U+FFFD.
  std::string_view Decode(std::string_view cp932);
  /// What the last Decode did beyond decoding: kRecoded (a duplicate code
  /// written as the usual one), kBrokenBytes (bytes that are no character
  /// written as U+FFFD, which CP932 has none of its own) or kNone.
  TitleChange lastChange() const { return change_; }

 private:
  bool ComesBackAsOtherBytes(std::string_view cp932);

  Cp932Decoder decoder_;
  Cp932Encoder encoder_;
  std::string utf8_;
  std::string back_;
  TitleChange change_ = TitleChange::kNone;
};

}  // namespace velorin
