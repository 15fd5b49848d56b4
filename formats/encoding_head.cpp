#include "formats/encoding_head.h"

namespace velorin {

void LateTextEncoding::Start(LineReader& reader) {
  started_ = true;
  const std::string_view head = reader.Peek(kEncodingSniffBytes);
  const DetectedEncoding marked = ChooseTextEncoding(head, reader.SawEnd(), told_);
  reader.Skip(marked.byteOrderMarkSize);
  if (told_ || marked.byteOrderMarkSize > 0) {
    chosen_ = marked;
    decided_ = true;
    watching_ = !chosen_.beyondAscii;  // for the summary alone
    return;
  }
  // Judged at the first line with a byte beyond ASCII, from that byte on,
  // wherever it comes: a whole line there, so that a character cut by the
  // end of what has come so far is never all there is to judge.
  watching_ = true;
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
  // What the reader showed was all the file held only when it fell short
  // of what was asked for.
  const bool whole = reader.SawEnd() && text.size() < kEncodingSniffBytes;
  chosen_.encoding = DetectTextEncoding(text, whole).encoding;
}

}  // namespace velorin
