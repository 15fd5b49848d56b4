// velorin-cli on Windows: the command line arrives as UTF-16 and is kept as
// UTF-8 inside, like every path; the standard streams carry bytes.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "platform/console_text_win32.h"
#include "platform/standard_streams.h"
#include "platform/wide_text_win32.h"

int wmain(int argc, wchar_t** argv) {
  // No CR LF translation: NVI output and POT input are bytes.
  velorin::UseBinaryStandardStreams();
  const velorin::ConsoleTextStreams console;

  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::optional<std::string> argument = velorin::Narrow(argv[i]);
    if (!argument) {
      std::cerr << "velorin-cli: argument " << i << " is not valid Unicode\n";
      return velorin::kExitUsage;
    }
    arguments.push_back(*argument);
  }
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  velorin::StdioFileSystem files;
  return velorin::RunCliApp(argc, pointers.data(), files);
}
