#include "cli/overwrite_prompt.h"

#include "cli/printable_text.h"
#include "platform/interrupt.h"
#include "text/ascii.h"

namespace velorin {

bool IsYesAnswer(std::string answer) {
  // A Windows console hands the line over with its CR.
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return EqualsIgnoringAsciiCase(answer, "y") || EqualsIgnoringAsciiCase(answer, "yes");
}

bool AskOverwrite(std::ostream& err, std::istream& answers, const std::string& output,
                  bool catchInterrupt) {
  err << PrintableText(output) << " exists. Overwrite? [y/N] " << std::flush;
  if (catchInterrupt) RestoreOriginalInterrupt();
  std::string answer;
  const bool answered = static_cast<bool>(std::getline(answers, answer));
  if (catchInterrupt) InstallInterruptHandler();
  return answered && IsYesAnswer(answer);
}

}  // namespace velorin
