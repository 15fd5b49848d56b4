#include "cli/cli_app.h"
#include "platform/abort_cleanup.h"

int main(int argc, char** argv) {
  velorin::LetWritesFailPastTheFileSizeLimit();
  return velorin::RunCliApp(argc, argv);
}
