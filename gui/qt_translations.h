#pragma once
// Qt's own texts (message box buttons, file dialogs, the context menu of the
// path boxes) in the language of the message files: Japanese from Qt's
// translations, English whatever the system's locale says.

namespace velorin {

enum class QtLanguage { kEnglish, kJapanese };

/// Replaces the Qt translation installed before, if any, and sets the default
/// locale of the language. Returns false when Japanese was asked for and Qt's
/// Japanese texts are not installed: Qt's texts then stay English.
bool UseQtTranslations(QtLanguage language);

}  // namespace velorin
