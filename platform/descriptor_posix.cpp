#include "platform/descriptor_posix.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace velorin {

std::ptrdiff_t ReadDescriptor(int fd, char* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t count = ::read(fd, buffer, capacity);
    if (count >= 0 || errno != EINTR) return count;
  }
}

std::error_code WriteDescriptor(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t count = ::write(fd, data, size);
    if (count < 0) {
      if (errno == EINTR) continue;
      return LastErrno();
    }
    data += count;
    size -= static_cast<std::size_t>(count);
  }
  return {};
}

InputWait WaitForInput(int fd, int wake, int timeoutMs) {
  pollfd waits[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
  const nfds_t count = wake >= 0 ? 2 : 1;
  const int ready = ::poll(waits, count, timeoutMs);
  if (ready < 0) return errno == EINTR ? InputWait::kSignal : InputWait::kFailed;
  if (ready == 0) return InputWait::kTimedOut;
  if (count == 2 && waits[1].revents != 0) return InputWait::kWoken;
  return InputWait::kReady;
}

std::error_code LastErrno() {
  const int error = errno;
  return std::error_code(error != 0 ? error : EIO, std::generic_category());
}

}  // namespace velorin
