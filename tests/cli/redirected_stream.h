#pragma once
// Puts a file on standard input or output for the life of the object, as a
// shell's "<" and ">" would, the way each system keeps its standard streams.
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velorin::testing {

enum class Stream { kInput, kOutput };

class Redirected {
 public:
#ifdef _WIN32
  Redirected(Stream stream, const std::string& path, bool forWriting)
      : which_(stream == Stream::kInput ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE),
        saved_(GetStdHandle(which_)) {
    file_ = CreateFileA(path.c_str(), forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    SetStdHandle(which_, file_);
  }
  ~Redirected() {
    SetStdHandle(which_, saved_);
    CloseHandle(file_);
  }

 private:
  DWORD which_;
  HANDLE saved_;
  HANDLE file_;
#else
  Redirected(Stream stream, const std::string& path, bool forWriting)
      : stream_(stream == Stream::kInput ? STDIN_FILENO : STDOUT_FILENO), saved_(::dup(stream_)) {
    const int fd = ::open(path.c_str(), forWriting ? O_RDWR : O_RDONLY);
    ::dup2(fd, stream_);
    ::close(fd);
  }
  ~Redirected() {
    ::dup2(saved_, stream_);
    ::close(saved_);
  }

 private:
  int stream_;
  int saved_;
#endif

 public:
  Redirected(const Redirected&) = delete;
  Redirected& operator=(const Redirected&) = delete;
};

}  // namespace velorin::testing
