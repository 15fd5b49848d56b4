#include "shell/app_start.h"

#include <QString>

#include "shell/message_box.h"
#include "shell/startup.h"

namespace velorin {
namespace {

QString FromAscii(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::unique_ptr<mainform> StartMainWindow(const std::string& applicationFolder) {
  StartupTables tables;
  const StartupFailure failure = LoadStartupTables(applicationFolder, tables);
  if (failure != StartupFailure::kNone) {
    // The message table is not there: these two texts are fixed.
    const std::string_view text =
        failure == StartupFailure::kSettings ? kIllegalSystemDataText : kIllegalMessageText;
    ShowMessageBox(nullptr, FromAscii(kStartupFailureTitle), FromAscii(text), MessageButtons::kOk,
                   MessageAnswer::kOk);
    return nullptr;
  }
  return std::make_unique<mainform>(tables, applicationFolder);
}

}  // namespace velorin
