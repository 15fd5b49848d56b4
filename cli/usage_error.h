#pragma once
// One line that says what is wrong with a command line, for the usage errors
// that the argument parser finds.
#include <string>

namespace CLI {  // NOLINT(readability-identifier-naming): CLI11's own name
class App;
class ParseError;
}  // namespace CLI

namespace velorin {

/// "unknown command 'frobnicate' ...", "'convert' has no option '--frob'",
/// "option '--force' belongs after its command: velorin-cli convert --force ...";
/// otherwise the parser's own text. Without the "velorin-cli: " prefix.
std::string UsageErrorText(const CLI::ParseError& error, const CLI::App& app);

}  // namespace velorin
