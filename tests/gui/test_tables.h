#pragma once
// Settings and message tables as start-up would fill them, with texts given
// in UTF-8 and stored as CP932 bytes like the message files hold them.
#include <string>

#include "text/cp932.h"
#include "startup/startup.h"

namespace velorin::testutil {

inline std::string Cp932(const char* utf8) { return Utf8ToCp932(utf8).value(); }

inline StartupTables TablesFor(const std::string& language) {
  StartupTables tables;
  tables.SystemSettings[0] = language;
  tables.MessageTable[0] = "DejaVu Sans";
  tables.MessageTable[1] = "10.5";
  tables.MessageTable[3] = Cp932("バージョン情報 (About)");
  tables.MessageTable[91] = Cp932("エラー Error");
  tables.MessageTable[136] = Cp932("ヘルプファイルがありません。");
  tables.MessageTable[137] = Cp932("Help file is missing.");
  return tables;
}

}  // namespace velorin::testutil
