#include "cli/interrupt.h"

#include <signal.h>

#include <csignal>

namespace velorin {

namespace {

volatile std::sig_atomic_t interrupted = 0;

struct sigaction original {};
bool originalSaved = false;
bool ignoredAtStart = false;

extern "C" void OnInterrupt(int signalNumber) {
  if (interrupted != 0) {
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
    return;
  }
  interrupted = 1;
}

void SaveOriginal() {
  if (originalSaved) return;
  sigaction(SIGINT, nullptr, &original);
  ignoredAtStart = original.sa_handler == SIG_IGN;
  originalSaved = true;
}

}  // namespace

void InstallInterruptHandler() {
  SaveOriginal();
  // A program started with Ctrl-C ignored (a background job, nohup) keeps
  // ignoring it.
  if (ignoredAtStart) return;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Reads and writes in progress go on; the run looks at the flag per line.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

void RestoreOriginalInterrupt() {
  SaveOriginal();
  sigaction(SIGINT, &original, nullptr);
}

bool InterruptRequested() { return interrupted != 0; }

}  // namespace velorin
