#pragma once
// The running program's own disk and clock, made once: what a program's
// start hands its faces, which pass them on to everything that reads or
// writes a file. Tests hand the faces their own (MemoryFileSystem, a
// FixedClock) instead.
#include "platform/clock.h"
#include "platform/file_system.h"

namespace velorin {

FileSystem& ProgramFileSystem();
Clock& ProgramClock();

}  // namespace velorin
