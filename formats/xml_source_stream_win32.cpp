#include "formats/xml_source_stream_win32.h"

#include <algorithm>
#include <cstring>

#include "formats/xml_external_doctype.h"
#include "formats/xml_parser.h"

namespace velorin {

HRESULT XmlSourceStream::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ISequentialStream) ||
      IsEqualIID(id, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG XmlSourceStream::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT XmlSourceStream::Read(void* buffer, ULONG capacity, ULONG* count) {
  if (count != nullptr) *count = 0;
  // A refused read is handed to XmlLite as the end of the document, the
  // end it handles best; the parser asks stop() after every node.
  if (stop_ != Stop::kNone) return S_FALSE;
  // The parser holds what it has not yet made an event of: past the limit
  // it gets no more.
  if (handedOn_ - lastEvent_ > XmlParser::kMaxMarkupSize) {
    stop_ = Stop::kMarkupTooLong;
    return S_FALSE;
  }
  if (!begun_) Begin();
  char* into = static_cast<char*>(buffer);
  const std::size_t asked = std::min<std::size_t>(capacity, XmlParser::kChunkSize);
  std::size_t filled = std::min(carry_.size(), asked);
  std::memcpy(into, carry_.data(), filled);
  carry_.erase(0, filled);
  if (carry_.empty()) {
    if (!Fill(into, asked, filled)) return S_FALSE;
  } else {
    // The rest of the head in a later read, never split inside a character.
    const std::size_t keep = TailToHoldBack(std::string_view(into, filled));
    carry_.insert(0, into + filled - keep, keep);
    filled -= keep;
  }
  handedOn_ += filled;
  if (count != nullptr) *count = static_cast<ULONG>(filled);
  if (filled == 0) ended_ = true;
  return filled == 0 ? S_FALSE : S_OK;
}

void XmlSourceStream::Begin() {
  begun_ = true;
  carry_.resize(kHeadSize);
  std::size_t filled = 0;
  while (filled < kHeadSize) {
    const std::ptrdiff_t read = document_.Read(carry_.data() + filled, kHeadSize - filled);
    if (read < 0) failed_ = true;
    if (read <= 0) break;
    filled += static_cast<std::size_t>(read);
  }
  carry_.resize(filled);
  if (const auto doctype = FindExternalDoctype(carry_)) BlankOut(carry_, *doctype);
}

bool XmlSourceStream::Fill(char* into, std::size_t asked, std::size_t& filled) {
  // Filled whole, and ending where XmlLite under Wine decodes it whole.
  bool ended = false;
  while (filled < asked && !failed_) {
    const std::ptrdiff_t read = document_.Read(into + filled, asked - filled);
    if (read == 0) ended = true;
    if (read <= 0) break;
    filled += static_cast<std::size_t>(read);
  }
  if (failed_ || (filled < asked && !ended)) {
    failed_ = true;
    if (filled == 0) {
      stop_ =
          document_.refusal() == XmlUtf8Source::Refusal::kNone ? Stop::kReadError : Stop::kRefused;
      return false;
    }
    return true;  // what came before the failure first
  }
  if (!ended) {
    const std::size_t keep = TailToHoldBack(std::string_view(into, filled));
    carry_.assign(into + filled - keep, keep);
    filled -= keep;
  }
  return true;
}

std::size_t IncompleteUtf8Tail(std::string_view bytes) {
  for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

std::size_t TailToHoldBack(std::string_view bytes) {
  for (std::size_t back = 0; back < bytes.size(); ++back) {
    if (static_cast<unsigned char>(bytes[bytes.size() - 1 - back]) < 0x80) return back;
  }
  return IncompleteUtf8Tail(bytes);
}

}  // namespace velorin
