#pragma once
// An entry of the message table as the window shows it: the file's CP932
// bytes decoded.
#include <QString>
#include <cstddef>

#include "startup/startup.h"
#include "text/cp932_decoder.h"

namespace velorin {

inline QString MessageText(const StartupTables& tables, std::size_t number) {
  return QString::fromStdString(Cp932ToUtf8(tables.messageTable[number]));
}

}  // namespace velorin
