#pragma once
// Text made safe to print on a terminal.
#include <string>
#include <string_view>

namespace velorin {

/// Control characters (C0, DEL and the C1 range of UTF-8) become \xNN
/// escapes, everything else stays.
std::string PrintableText(std::string_view utf8);

}  // namespace velorin
