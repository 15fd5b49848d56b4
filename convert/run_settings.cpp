#include "convert/run_settings.h"

#include <string_view>

namespace velorin {

RunOptions RunOptionsFromSettings(std::span<const std::string> settings) {
  const auto entry = [&](std::size_t index) {
    return index < settings.size() ? std::string_view(settings[index]) : std::string_view();
  };
  RunOptions options;
  options.untitled = UntitledRuleOfSetting(entry(1));
  options.log = entry(3) == "1";
  return options;
}

}  // namespace velorin
