#pragma once
// Windows only: text in one of the system's code pages (932 for CP932) to
// UTF-16 and back, strictly: nothing is guessed and no closest character is
// taken.
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

/// The UTF-16 of `bytes` in `codePage`; nothing when any byte sequence is
/// invalid there (or `bytes` is empty).
std::optional<std::wstring> DecodeCodePage(unsigned codePage, std::string_view bytes);

/// Appends the bytes of `wide` in `codePage`; false, with `out` as it was,
/// when the code page lacks one of its characters.
bool AppendInCodePage(unsigned codePage, std::wstring_view wide, std::string& out);

}  // namespace velorin
