#include "platform/console_text_win32.h"

#include <iostream>

#include "platform/handle_win32.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

/// Bytes at the end of `text` that begin a UTF-8 character not yet complete.
std::size_t UnfinishedTail(const std::string& text) {
  std::size_t back = 0;
  while (back < 4 && back < text.size()) {
    const auto byte = static_cast<unsigned char>(text[text.size() - 1 - back]);
    ++back;
    if ((byte & 0xC0) != 0x80) {
      // The lead byte: the character is complete when it has all its bytes.
      const std::size_t width = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
      return width > back ? back : 0;
    }
  }
  return 0;
}

}  // namespace

ConsoleTextBuffer::ConsoleTextBuffer(DWORD stream)
    : handle_(GetStdHandle(stream)), console_(IsConsoleHandle(handle_)) {}

ConsoleTextBuffer::~ConsoleTextBuffer() { WritePending(true); }

ConsoleTextBuffer::int_type ConsoleTextBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  if (pending_.size() >= 4096 && !WritePending(false)) return traits_type::eof();
  return c;
}

std::streamsize ConsoleTextBuffer::xsputn(const char* data, std::streamsize size) {
  pending_.append(data, static_cast<std::size_t>(size));
  if (pending_.size() >= 4096 && !WritePending(false)) return 0;
  return size;
}

int ConsoleTextBuffer::sync() { return WritePending(false) ? 0 : -1; }

bool ConsoleTextBuffer::WritePending(bool all) {
  if (pending_.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return true;
  const std::size_t keep = all || !console_ ? 0 : UnfinishedTail(pending_);
  const std::string text = pending_.substr(0, pending_.size() - keep);
  pending_.erase(0, text.size());
  if (console_) {
    const std::wstring wide = Widen(text);
    DWORD written = 0;
    return WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != FALSE;
  }
  return !WriteHandle(handle_, text.data(), text.size());
}

ConsoleTextStreams::ConsoleTextStreams()
    : out_(STD_OUTPUT_HANDLE),
      err_(STD_ERROR_HANDLE),
      savedOut_(std::cout.rdbuf(&out_)),
      savedErr_(std::cerr.rdbuf(&err_)) {}

ConsoleTextStreams::~ConsoleTextStreams() {
  std::cout.flush();
  std::cerr.flush();
  std::cout.rdbuf(savedOut_);
  std::cerr.rdbuf(savedErr_);
}

}  // namespace velorin
