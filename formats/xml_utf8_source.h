#pragma once
// An XML document's bytes in an encoding every XML parser reads: a document
// declared as ISO-8859-1 or Shift_JIS (read as CP932) comes out as UTF-8,
// its declaration saying so; UTF-8, US-ASCII and UTF-16 documents pass as
// they are. Any other declared encoding is refused, and so are bytes that
// are not valid in the declared one, after the valid bytes before them.
// This is how XmlLite reads what expat reads (Windows' XmlLite under Wine
// knows neither Shift_JIS nor ISO-8859-1), with the same refusals.
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"
#include "text/cp932_decoder.h"

namespace velorin {

class XmlUtf8Source : public ByteSource {
 public:
  enum class Refusal { kNone, kUnknownEncoding, kInvalidBytes };
  /// The most bytes searched for the end of the XML declaration.
  static constexpr std::size_t kHeadSize = 1024;

  explicit XmlUtf8Source(ByteSource& source) : source_(source) {}

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override;
  /// The source's error (none when the bytes were refused).
  std::error_code error() const override { return source_.error(); }

  Refusal refusal() const { return refusal_; }
  /// The declared encoding, as the document spells it.
  const std::string& encoding() const { return encoding_; }
  /// The line of the refused bytes (1 for the first).
  std::int64_t refusalLine() const { return refusalLine_; }

 private:
  enum class Mode { kPass, kLatin1, kCp932 };
  bool Begin();
  /// Reads and converts the next chunk; false on a failure.
  bool Fill();
  void Convert(std::string_view bytes);
  void ConvertCp932(std::string_view bytes);
  /// Refuses the rest, once the bytes converted so far are handed out.
  void Refuse(Refusal why);

  ByteSource& source_;
  Mode mode_ = Mode::kPass;
  bool begun_ = false;
  bool ended_ = false;
  std::string pending_;  ///< converted bytes not yet handed out, from taken_
  std::size_t taken_ = 0;
  std::string chunk_;
  std::string held_;  ///< a CP932 lead byte whose trail byte is in the next chunk
  Cp932Decoder decoder_;
  std::string decoded_;
  std::int64_t linesOut_ = 0;  ///< line ends converted so far
  Refusal refusal_ = Refusal::kNone;
  bool refusalPending_ = false;  ///< refused, once pending_ is handed out
  std::string encoding_;
  std::int64_t refusalLine_ = 1;
};

}  // namespace velorin
