#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP during a conversion: the first one
// only sets a flag and wakes a waiting read, and the run turns it into a
// cancel that keeps the whole blocks written so far. A second one while the
// first is pending ends the program at once, removing the temporary output
// file so that an existing output stays as it was.

namespace velorin {

/// Installs the handlers. A signal that was ignored when the program started
/// (a background job, nohup) stays ignored.
void InstallInterruptHandler();
/// Back to the actions that the program started with (normally: the signal
/// ends the program), e.g. while a question waits for an answer.
void RestoreOriginalInterrupt();
bool InterruptRequested();
/// The signal that asked for the cancel (SIGINT, SIGTERM or SIGHUP); 0 when
/// none has.
int InterruptSignal();
/// A descriptor that becomes readable when a signal has come, for a read
/// that waits on a pipe or terminal; -1 when the handlers are not installed.
int InterruptWakeDescriptor();

}  // namespace velorin
