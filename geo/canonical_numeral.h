#pragma once
// The numeral rule for one part of a coordinate text.
#include <optional>
#include <string_view>

namespace velorin {

/// Accepts a part only when it is the canonical 15-significant-digit plain
/// rendering of its own value (no "0" before the point of a fraction below 1,
/// no trailing fraction zeros, no bare point), with any number of "0"s in
/// front. The empty part and all-zero parts are 0. Returns the correctly
/// rounded value of an accepted part; allocates nothing.
std::optional<double> ParseCanonicalNumeral(std::string_view part);

}  // namespace velorin
