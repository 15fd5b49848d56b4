#pragma once
// Windows only: a document (in an encoding XmlLite reads, see
// xml_utf8_source.h) as the COM stream that XmlLite reads from, pulled as
// XmlLite asks (SHCreateMemStream would need the whole file first). It counts the bytes handed on,
// so that the parser can refuse a single piece of markup that grows without end.
// A document type declaration in the first kHeadSize bytes that only names
// an external DTD is handed on as spaces: XmlLite refuses every DTD, and
// that one is never read (see xml_external_doctype.h).
#include <windows.h>
//
#include <objidl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "formats/xml_utf8_source.h"

namespace velorin {

class XmlSourceStream : public IStream {
 public:
  enum class Stop { kNone, kReadError, kRefused, kMarkupTooLong };
  /// The most bytes searched for a declaration that names an external DTD.
  static constexpr std::size_t kHeadSize = 4096;

  explicit XmlSourceStream(ByteSource& source) : document_(source) {}
  const XmlUtf8Source& document() const { return document_; }
  virtual ~XmlSourceStream() = default;

  /// Bytes handed on so far.
  std::uint64_t handedOn() const { return handedOn_; }
  /// Marks the bytes handed on so far as parsed into an event: the next
  /// kMaxMarkupSize bytes may pass before the stream refuses more.
  void NoteEvent() { lastEvent_ = handedOn_; }
  /// Why the stream refused a read, if it did.
  Stop stop() const { return stop_; }
  /// Whether the document's end has been handed on (a read found nothing
  /// more).
  bool ended() const { return ended_; }
  std::error_code error() const { return document_.error(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG capacity, ULONG* count) override;
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
    return STG_E_ACCESSDENIED;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  /// Reads the document's first bytes into carry_, an external DTD's
  /// declaration among them blanked out.
  void Begin();
  /// Fills `into` from the document after the `filled` bytes there; false
  /// when nothing could be read.
  bool Fill(char* into, std::size_t asked, std::size_t& filled);

  XmlUtf8Source document_;
  std::string carry_;    ///< the start of a character, for the next read
  bool failed_ = false;  ///< the document failed after the bytes handed on
  bool begun_ = false;
  ULONG references_ = 1;
  std::uint64_t handedOn_ = 0;
  std::uint64_t lastEvent_ = 0;
  Stop stop_ = Stop::kNone;
  bool ended_ = false;
};

/// How many bytes at the end of `bytes` begin a UTF-8 character that they
/// do not finish.
std::size_t IncompleteUtf8Tail(std::string_view bytes);

/// How many bytes at the end of `bytes` to keep for the next read: those
/// after the last ASCII byte, or when there is none, an unfinished
/// character. XmlLite under Wine decodes each read on its own and drops the
/// last byte of a read that ends in any non-ASCII byte, breaking that
/// character in two; a read that ends in an ASCII byte is decoded whole.
std::size_t TailToHoldBack(std::string_view bytes);

}  // namespace velorin
