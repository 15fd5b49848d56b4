#pragma once
// Velorin's own read-only viewer of a help file: the text decoded from CP932
// in the font of the message file, selectable, with a Close button. It needs
// no desktop launcher and no editor that knows Shift-JIS.
#include <QDialog>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

class QDialogButtonBox;
class QPlainTextEdit;

namespace velorin {

/// The help file as display text: CP932 decoded, line ends made "\n". No
/// text when the file cannot be read (or is larger than any help file is).
std::optional<QString> ReadHelpText(const std::string& path);

/// A menu caption without its access key: "Velorin &Help" gives
/// "Velorin Help", "ヘルプ(&H)" gives "ヘルプ".
QString WithoutAccessKey(QString caption);

class HelpViewer : public QDialog {
  Q_OBJECT

 public:
  /// A window of its own (modeless), destroyed when closed; about 80 columns
  /// and 32 lines of `font`, within the screen.
  HelpViewer(QWidget* parent, const QString& title, const QString& text, const QFont& font);

  QPlainTextEdit* Text_for_Help;
  QDialogButtonBox* Command_Close;
};

}  // namespace velorin
