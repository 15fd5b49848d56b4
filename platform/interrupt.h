#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP during a conversion: the first one
// only sets a flag and wakes a waiting read (platform/standard_streams.h),
// and the run turns it into a cancel that keeps the whole blocks written so
// far. A second one while the
// first is pending ends the program at once, removing the temporary output
// file so that an existing output stays as it was. On Windows the console's
// Ctrl-C and Ctrl-Break stand for SIGINT, its closing for SIGHUP, and a
// logoff or shutdown for SIGTERM. One sibling file per system.

namespace velorin {

/// A program that a signal ends exits with 128 + the signal's number, as
/// shells report it; the Windows console's events end it the same way.
inline constexpr int kSignalExitBase = 128;

/// Installs the handlers. A signal that was ignored when the program started
/// (a background job, nohup) stays ignored.
void InstallInterruptHandler();
/// Back to the actions that the program started with (normally: the signal
/// ends the program), e.g. while a question waits for an answer.
void RestoreOriginalInterrupt();
bool InterruptRequested();
/// The signal that asked for the cancel (SIGINT, SIGTERM or SIGHUP, by their
/// POSIX numbers on every system); 0 when none has.
int InterruptSignal();

}  // namespace velorin
