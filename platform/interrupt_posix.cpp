#include "platform/interrupt_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "platform/abort_cleanup.h"
#include "platform/interrupt.h"

namespace velorin {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = 3;

volatile std::sig_atomic_t requested = 0;  // the first signal's number
int wakePipe[2] = {-1, -1};

struct sigaction original[kSignalCount] = {};
bool originalSaved = false;

extern "C" void OnInterrupt(int signalNumber) {
  if (requested != 0) {
    // Asked twice: end now, as the signal would, without a temporary file.
    RemovePendingTemporaryFile();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
    return;
  }
  requested = signalNumber;
  if (wakePipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakePipe[1], &byte, 1);
  }
}

void SaveOriginal() {
  if (originalSaved) return;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], nullptr, &original[i]);
  originalSaved = true;
}

void OpenWakePipe() {
  if (wakePipe[0] >= 0) return;
  if (::pipe(wakePipe) != 0) {
    wakePipe[0] = wakePipe[1] = -1;
    return;
  }
  for (const int fd : wakePipe) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
}

}  // namespace

void InstallInterruptHandler() {
  SaveOriginal();
  OpenWakePipe();
  for (int i = 0; i < kSignalCount; ++i) {
    if (original[i].sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Writes in progress go on; a read that waits for input is woken
    // through the pipe, and the run looks at the flag once per line.
    action.sa_flags = SA_RESTART;
    sigaction(kSignals[i], &action, nullptr);
  }
}

void RestoreOriginalInterrupt() {
  SaveOriginal();
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &original[i], nullptr);
}

bool InterruptRequested() { return requested != 0; }

int InterruptSignal() { return requested; }

int InterruptWakeDescriptor() { return wakePipe[0]; }

}  // namespace velorin
