#include "formats/encoding_head.h"

namespace velorin {

DetectedEncoding TakeTextEncoding(LineReader& reader, std::optional<TextEncoding> told) {
  const std::string_view head = reader.Peek(kEncodingSniffBytes);
  const DetectedEncoding chosen = ChooseTextEncoding(head, reader.SawEnd(), told);
  reader.Skip(chosen.byteOrderMarkSize);
  return chosen;
}

}  // namespace velorin
