#include "platform/interrupt_win32.h"

#include <windows.h>

#include <atomic>

#include "platform/abort_cleanup.h"
#include "platform/interrupt.h"

namespace velorin {

namespace {

// POSIX numbers of the signals that the console events stand for, so that
// the exit codes are the same on both systems (128 + the number).
constexpr int kHangUp = 1;
constexpr int kInterrupt = 2;
constexpr int kTerminate = 15;

/// Windows ends the program once the handler of a closing console, a logoff
/// or a shutdown returns, and at the latest after five seconds: this long
/// the handler waits for the run to end as cancelled.
constexpr DWORD kClosingGrace = 4000;

std::atomic<int> requested{0};  // the first event's signal number
HANDLE wakeEvent = nullptr;
bool installed = false;

int SignalFor(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return kInterrupt;
    case CTRL_CLOSE_EVENT:
      return kHangUp;
    default:  // logoff, shutdown
      return kTerminate;
  }
}

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  int none = 0;
  if (!requested.compare_exchange_strong(none, SignalFor(event))) {
    // Asked twice: end now, without a temporary file. The main thread may be
    // stuck inside a write, holding the C runtime's locks that a normal exit
    // would wait for; the exit code is the one a signal gives on Linux.
    RemovePendingTemporaryFile();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(kSignalExitBase + SignalFor(event)));
    return TRUE;
  }
  SetEvent(wakeEvent);
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // The program must end before this handler returns: the run notices the
  // flag at its next line, writes out its whole blocks and the program
  // exits, which ends this thread too.
  Sleep(kClosingGrace);
  RemovePendingTemporaryFile();
  return FALSE;
}

}  // namespace

void InstallInterruptHandler() {
  if (wakeEvent == nullptr) wakeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // A program started with Ctrl-C switched off (a new process group) keeps
  // it off: the system then never calls the handler for it.
  if (!installed) installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != FALSE;
}

void RestoreOriginalInterrupt() {
  if (installed) SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  installed = false;
}

bool InterruptRequested() { return requested.load() != 0; }

int InterruptSignal() { return requested.load(); }

HANDLE InterruptWakeEvent() { return wakeEvent; }

}  // namespace velorin
