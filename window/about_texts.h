#pragma once
// The texts of the About box that do not come from the message table.
#include <string>

#include "startup/startup.h"

namespace velorin {

inline constexpr char kAboutTitleText[] = "Velorin   (Old platform)";

/// "Version: " and the version number.
std::string AboutVersionText();
/// The copyright notice (UTF-8): Japanese when settings entry 0 is exactly "0".
std::string AboutCopyrightText(const StartupTables& tables);

}  // namespace velorin
