#pragma once
// What becomes of a point that names no title: skipped, or kept under the
// title "no title". One rule for every input format.
#include <string_view>

namespace velorin {

enum class UntitledRule { kSkip, kKeep };

/// Settings entry 1 as the rule: exactly "0" keeps untitled points, any
/// other text skips them.
constexpr UntitledRule UntitledRuleOfSetting(std::string_view entry) {
  return entry == "0" ? UntitledRule::kKeep : UntitledRule::kSkip;
}

}  // namespace velorin
