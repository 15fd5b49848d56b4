#pragma once
// POSIX only: reading, writing and waiting on a file descriptor through the
// signals that cut a call short. Every read, write and wait on a descriptor
// in the program goes through these.
#include <cstddef>
#include <system_error>

namespace velorin {

/// One read(2) of what has arrived, up to `capacity`, begun again when a
/// signal came before any byte: the count read, 0 at the end, -1 on an
/// error (errno set; EAGAIN for a non-blocking descriptor with nothing yet).
std::ptrdiff_t ReadDescriptor(int fd, char* buffer, std::size_t capacity);

/// Writes all `size` bytes, through short writes and signals.
std::error_code WriteDescriptor(int fd, const char* data, std::size_t size);

/// How a wait for input on a descriptor ended.
enum class InputWait {
  kReady,     ///< data or the end can be read without waiting
  kWoken,     ///< the wake descriptor became readable first
  kTimedOut,  ///< the time limit passed
  kSignal,    ///< a signal came (the caller looks at what it asked for)
  kFailed,    ///< the wait itself failed (errno set)
};

/// Waits until `fd` has input, or `wake` (when not -1) becomes readable, for
/// at most `timeoutMs` milliseconds (-1: for as long as it takes; 0: a look).
InputWait WaitForInput(int fd, int wake, int timeoutMs);

/// errno as an error code; EIO when errno says nothing.
std::error_code LastErrno();

}  // namespace velorin
