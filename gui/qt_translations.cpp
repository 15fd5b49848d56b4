#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace velorin {

bool UseQtTranslations(QtLanguage language) {
  // One translator for the program's life; start-up may run more than once
  // in a process (the tests do), each time with its own language.
  static std::unique_ptr<QTranslator> translator;
  if (translator) {
    QCoreApplication::removeTranslator(translator.get());
    translator.reset();
  }

  if (language == QtLanguage::kEnglish) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return true;
  }
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  auto japanese = std::make_unique<QTranslator>();
  if (!japanese->load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  QCoreApplication::installTranslator(japanese.get());
  translator = std::move(japanese);
  return true;
}

}  // namespace velorin
