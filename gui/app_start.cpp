#include "gui/app_start.h"

#include <QString>
#include <iostream>

#include "gui/message_box.h"
#include "gui/path_selection.h"
#include "gui/qt_translations.h"
#include "startup/startup.h"

namespace velorin {
namespace {

QString FromAscii(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::unique_ptr<mainform> StartMainWindow(const FileLocations& locations, std::ostream& errors,
                                          FileSystem& files) {
  StartupTables tables;
  const StartupOutcome outcome = LoadStartupFiles(files, locations, tables);
  if (outcome.failure != StartupFailure::kNone) {
    errors << StartupFailureReport(outcome) << std::endl;
    // The message table is not there: these two texts are fixed.
    const std::string_view text =
        outcome.failure == StartupFailure::kSettings ? kIllegalSystemDataText : kIllegalMessageText;
    ShowMessageBox(nullptr, FromAscii(kStartupFailureTitle), FromAscii(text), MessageButtons::kOk,
                   MessageAnswer::kOk);
    return nullptr;
  }
  UseQtTranslations(tables.Japanese() ? QtLanguage::kJapanese : QtLanguage::kEnglish);
  return std::make_unique<mainform>(tables, locations, nullptr, files);
}

void ShowMainWindow(mainform& window, const QString& inputFile, bool map) {
  window.show();
  if (!inputFile.isEmpty()) AcceptInputPath(window, inputFile);
  if (map) window.ShowMap();
}

std::unique_ptr<mainform> StartMainWindow(const std::string& applicationFolder) {
  return StartMainWindow(PortableLocations(applicationFolder), std::cerr);
}

}  // namespace velorin
