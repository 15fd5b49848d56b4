#pragma once
// Settings and message tables as start-up would fill them, with texts given
// in UTF-8 and stored as CP932 bytes like the message files hold them.
#include <string>

#include "startup/startup.h"
#include "text/cp932_encoder.h"

namespace velorin::testutil {

inline std::string Cp932(const char* utf8) { return Utf8ToCp932(utf8).value(); }

inline StartupTables TablesFor(const std::string& language) {
  StartupTables tables;
  tables.systemSettings[0] = language;
  tables.messageTable[0] = "DejaVu Sans";
  tables.messageTable[1] = "10.5";
  tables.messageTable[3] = Cp932("バージョン情報 (About)");
  tables.messageTable[91] = Cp932("エラー Error");
  tables.messageTable[136] = Cp932("ヘルプファイルがありません。");
  tables.messageTable[137] = Cp932("Help file is missing.");
  return tables;
}

}  // namespace velorin::testutil
