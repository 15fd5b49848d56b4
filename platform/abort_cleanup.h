#pragma once
// The temporary output file of the run under way, so that a program killed
// by a signal in the middle of a run can remove it on its way out.
#include <string>

namespace velorin {

/// Remembers `path` (one at a time) until ForgetPendingTemporaryFile().
void RememberPendingTemporaryFile(const std::string& path);
void ForgetPendingTemporaryFile();
/// Removes the remembered file. Safe to call from a signal handler.
void RemovePendingTemporaryFile();

/// For programs that do not handle these signals themselves (the window):
/// on SIGINT, SIGTERM or SIGHUP remove the pending temporary file, then end
/// the way the signal would have ended the program. Signals that were
/// ignored at start stay ignored.
void RemovePendingTemporaryFileOnSignals();

/// Past the file-size limit (`ulimit -f`) a write then fails with EFBIG,
/// which a run reports and recovers from (the old output kept, the temporary
/// file removed), instead of the signal ending the program in mid-write.
void LetWritesFailPastTheFileSizeLimit();

}  // namespace velorin
