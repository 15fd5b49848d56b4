#include "cli/interrupt.h"

#include <signal.h>

#include <csignal>

namespace velorin {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int signalNumber) {
  if (interrupted != 0) {
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
    return;
  }
  interrupted = 1;
}

void SetAction(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // Reads and writes in progress go on; the run looks at the flag per line.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

void InstallInterruptHandler() { SetAction(OnInterrupt); }

void RestoreDefaultInterrupt() { SetAction(SIG_DFL); }

bool InterruptRequested() { return interrupted != 0; }

}  // namespace velorin
