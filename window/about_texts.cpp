#include "window/about_texts.h"

#include "startup/version.h"

namespace velorin {

std::string AboutVersionText() { return std::string("Version: ") + kVersionNumber; }

std::string AboutCopyrightText(const StartupTables& tables) {
  return tables.Japanese() ? "Copyright (C) 2026 Velorin 開発者"
                           : "Copyright (C) 2026 Velorin team";
}

}  // namespace velorin
