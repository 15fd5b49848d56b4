#pragma once
// The question velorin-cli asks on the terminal before it replaces an
// existing output: "FILE exists. Overwrite? [y/N]".
#include <istream>
#include <ostream>
#include <string>

namespace velorin {

/// True for an answer "y" or "yes" to the overwrite question, in any case.
bool IsYesAnswer(std::string answer);

/// Asks on `err` and reads the answer from `answers`; false when nobody
/// answers yes. While it waits, Ctrl-C ends the program (`catchInterrupt`:
/// the run's handler is put back afterwards).
bool AskOverwrite(std::ostream& err, std::istream& answers, const std::string& output,
                  bool catchInterrupt);

}  // namespace velorin
