#pragma once
// Ctrl-C during a conversion: the signal handler only sets a flag, and the
// run's event step turns it into a cancel.

namespace velorin {

/// Installs the SIGINT handler. A second Ctrl-C while the first is still
/// pending ends the program the usual way (for a run that is stuck waiting
/// for input).
void InstallInterruptHandler();
/// Back to the action that the program started with (normally: Ctrl-C ends
/// the program), e.g. while a question waits for an answer on the terminal.
void RestoreOriginalInterrupt();
bool InterruptRequested();

}  // namespace velorin
