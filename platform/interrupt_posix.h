#pragma once
// POSIX only: what a read that waits on a pipe or terminal also waits on.

namespace velorin {

/// A descriptor that becomes readable when a signal has come; -1 when the
/// handlers are not installed.
int InterruptWakeDescriptor();

}  // namespace velorin
