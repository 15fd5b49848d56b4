#include "formats/encoding_head.h"

namespace velorin {

DetectedEncoding TakeTextEncoding(LineReader& reader, std::optional<TextEncoding> told) {
  const std::string_view head = reader.Peek(kEncodingSniffBytes);
  const DetectedEncoding chosen = ChooseTextEncoding(head, reader.SawEnd(), told);
  reader.Skip(chosen.byteOrderMarkSize);
  return chosen;
}

void LateTextEncoding::Start(LineReader& reader) {
  started_ = true;
  const std::string_view head = reader.Peek(kEncodingSniffBytes);
  chosen_ = ChooseTextEncoding(head, reader.SawEnd(), told_);
  reader.Skip(chosen_.byteOrderMarkSize);
  if (told_ || chosen_.byteOrderMarkSize > 0) {
    decided_ = true;
    watching_ = !chosen_.beyondAscii;  // for the summary alone
    return;
  }
  const std::size_t ascii = utf8::AsciiPrefixLength(head);
  if (ascii == head.size()) {
    // ASCII alone decides nothing, unless it is all there is.
    decided_ = reader.SawEnd();
    watching_ = !decided_;
    return;
  }
  // Judged from the first byte beyond ASCII on, as later in the file: a
  // head that ends within that byte's character holds too little to judge.
  const std::string_view text = reader.Peek(ascii + kEncodingSniffBytes).substr(ascii);
  chosen_.encoding = Detect(text, reader);
  decided_ = true;
}

void LateTextEncoding::Decide(std::string_view& line, LineReader& reader) {
  watching_ = false;
  chosen_.beyondAscii = true;
  if (decided_) return;
  decided_ = true;
  // The rest of the line from its first byte beyond ASCII, and what follows
  // it, up to kEncodingSniffBytes in all; the line end between them is
  // ASCII, as in the file. Looking ahead may move the reader's buffer.
  line_.assign(line);
  line = line_;
  std::string text(line.substr(utf8::AsciiPrefixLength(line)));
  text += '\n';
  if (text.size() < kEncodingSniffBytes) text += reader.Peek(kEncodingSniffBytes - text.size());
  chosen_.encoding = Detect(text, reader);
}

TextEncoding LateTextEncoding::Detect(std::string_view text, LineReader& reader) {
  // What the reader saw last was all the file held only when it fell short
  // of what was asked for.
  const bool whole = reader.SawEnd() && text.size() < kEncodingSniffBytes;
  return DetectTextEncoding(text, whole).encoding;
}

}  // namespace velorin
