#include <windows.h>

#include <mutex>

#include "platform/abort_cleanup.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

// Console control handlers run on a thread of their own, so the path is
// guarded by a lock rather than kept in a signal-safe buffer.
std::mutex pendingLock;
std::wstring pendingPath;

BOOL WINAPI RemoveAndPassOn(DWORD) {
  RemovePendingTemporaryFile();
  return FALSE;  // the next handler (normally: the program ends)
}

}  // namespace

void RememberPendingTemporaryFile(const std::string& path) {
  const std::lock_guard<std::mutex> lock(pendingLock);
  pendingPath = Widen(path);
}

void ForgetPendingTemporaryFile() {
  const std::lock_guard<std::mutex> lock(pendingLock);
  pendingPath.clear();
}

void RemovePendingTemporaryFile() {
  const std::lock_guard<std::mutex> lock(pendingLock);
  if (pendingPath.empty()) return;
  // The file is open (for sharing its deletion): it goes when the program does.
  DeleteFileW(pendingPath.c_str());
  pendingPath.clear();
}

void RemovePendingTemporaryFileOnSignals() { SetConsoleCtrlHandler(RemoveAndPassOn, TRUE); }

// Windows has no file-size limit signal: a write past a quota just fails.
void LetWritesFailPastTheFileSizeLimit() {}

}  // namespace velorin
