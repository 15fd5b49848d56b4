#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "platform/abort_cleanup.h"

namespace velorin {

namespace {

// A signal handler may only read these: a fixed buffer and an atomic flag.
char pendingPath[4096];
volatile std::sig_atomic_t pending = 0;

extern "C" void RemoveAndReraise(int signalNumber) {
  RemovePendingTemporaryFile();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace

void RememberPendingTemporaryFile(const std::string& path) {
  pending = 0;
  if (path.size() >= sizeof pendingPath) return;  // too long to keep: not removable
  std::memcpy(pendingPath, path.c_str(), path.size() + 1);
  pending = 1;
}

void ForgetPendingTemporaryFile() { pending = 0; }

void RemovePendingTemporaryFile() {
  if (pending != 0) {
    pending = 0;
    ::unlink(pendingPath);
  }
}

void RemovePendingTemporaryFileOnSignals() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveAndReraise;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND is the sign bit, given as an unsigned constant.
    action.sa_flags = static_cast<int>(SA_RESTART | SA_RESETHAND);
    sigaction(signalNumber, &action, nullptr);
  }
}

void LetWritesFailPastTheFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace velorin
