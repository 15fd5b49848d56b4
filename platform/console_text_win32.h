#pragma once
// Windows only: the UTF-8 text that a program prints through std::cout and
// std::cerr (messages, file names) reaches a console as the characters it
// means, through WriteConsoleW, whatever the console's code page; anything
// else (a file, a pipe) gets the UTF-8 bytes as they are.
#include <windows.h>

#include <streambuf>
#include <string>

namespace velorin {

class ConsoleTextBuffer : public std::streambuf {
 public:
  /// `stream`: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit ConsoleTextBuffer(DWORD stream);
  ~ConsoleTextBuffer() override;
  ConsoleTextBuffer(const ConsoleTextBuffer&) = delete;
  ConsoleTextBuffer& operator=(const ConsoleTextBuffer&) = delete;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;

 private:
  /// Writes what is pending; a character cut off at the end waits for the rest.
  bool WritePending(bool all);

  HANDLE handle_;
  bool console_;
  std::string pending_;
};

/// Puts ConsoleTextBuffer under std::cout and std::cerr for as long as it
/// lives, and the original buffers back (flushed) after.
class ConsoleTextStreams {
 public:
  ConsoleTextStreams();
  ~ConsoleTextStreams();
  ConsoleTextStreams(const ConsoleTextStreams&) = delete;
  ConsoleTextStreams& operator=(const ConsoleTextStreams&) = delete;

 private:
  ConsoleTextBuffer out_;
  ConsoleTextBuffer err_;
  std::streambuf* savedOut_;
  std::streambuf* savedErr_;
};

}  // namespace velorin
