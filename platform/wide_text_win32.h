#pragma once
// Windows only: the UTF-16 of the system's wide-character calls, and the
// UTF-8 that Velorin keeps everywhere inside (paths, messages).
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

/// UTF-8 as UTF-16; a malformed sequence becomes U+FFFD.
std::wstring Widen(std::string_view utf8);

/// UTF-16 as UTF-8; nothing when `utf16` holds a lone surrogate (a name that
/// no UTF-8 text could give back).
std::optional<std::string> Narrow(std::wstring_view utf16);

/// Two file names as Windows compares them: without regard to case.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace velorin
