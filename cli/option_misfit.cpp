#include "cli/option_misfit.h"

#include <algorithm>

namespace velorin {

namespace {

std::string Upper(PointFormat format) { return std::string(InfoOf(format).displayName); }

/// "--timestamp applies to NVI output only (the output is GPX)".
std::string AppliesOnly(FormatOption option, bool written, PointFormat actual) {
  return std::string(OptionName(option)) + " applies to " + FormatsWithOption(option, written) +
         (written ? " output" : " input") + " only (the " + (written ? "output" : "input") +
         " is " + Upper(actual) + ")";
}

}  // namespace

std::string OptionMisfit(const GivenOptions& given, const std::vector<PointFormat>& inputs,
                         PointFormat output) {
  const FormatInfo& written = InfoOf(output);
  if (written.makeWriter == nullptr) {
    const bool readable = written.makeReader != nullptr;
    return Upper(output) +
           (readable ? " can only be read" : " is neither read nor written by this build") +
           "; write " +
           (written.writeInstead ? Upper(*written.writeInstead) : std::string("another format")) +
           " instead";
  }
  for (const auto& [isGiven, option] : {std::pair{given.timestamp, FormatOption::kTimestamp},
                                        std::pair{given.csvEncoding, FormatOption::kCsvEncoding},
                                        std::pair{given.nviFields, FormatOption::kNviFields}}) {
    if (isGiven && !OptionApplies(option, output, true)) return AppliesOnly(option, true, output);
  }
  const auto reads = [&](FormatOption option) {
    return std::any_of(inputs.begin(), inputs.end(),
                       [option](PointFormat f) { return OptionApplies(option, f, false); });
  };
  if (given.inputEncoding && !reads(FormatOption::kInputEncoding)) {
    return AppliesOnly(FormatOption::kInputEncoding, false, inputs.front());
  }
  for (const PointFormat input : inputs) {
    // A build without an XML reader.
    if (InfoOf(input).makeReader == nullptr) {
      return Upper(input) + " files are not read by this build of velorin-cli";
    }
  }
  return {};
}

}  // namespace velorin
