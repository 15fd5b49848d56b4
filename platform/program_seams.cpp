#include "platform/program_seams.h"

namespace velorin {

FileSystem& ProgramFileSystem() {
  static LocalFileSystem files;
  return files;
}

Clock& ProgramClock() {
  static LocalClock clock;
  return clock;
}

}  // namespace velorin
