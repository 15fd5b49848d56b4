#include "platform/program_arguments_win32.h"

#include <windows.h>
// After <windows.h>: CommandLineToArgvW.
#include <shellapi.h>

#include "platform/wide_text_win32.h"

namespace velorin {

std::vector<std::string> ProgramArguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (words == nullptr) return arguments;
  for (int n = 1; n < count; ++n) arguments.push_back(Narrow(words[n]).value_or(std::string()));
  LocalFree(words);
  return arguments;
}

}  // namespace velorin
