#include "cli/cli_app.h"
#include "cli/stdio_file_system.h"
#include "platform/abort_cleanup.h"

int main(int argc, char** argv) {
  velorin::LetWritesFailPastTheFileSizeLimit();
  velorin::StdioFileSystem files;
  return velorin::RunCliApp(argc, argv, files);
}
