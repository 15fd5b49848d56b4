#include "gui/help_viewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/program_icon.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

// The help files are a few tens of kilobytes; anything far larger is not one.
constexpr qint64 kMaxHelpBytes = 4 * 1024 * 1024;
constexpr int kColumns = 82;
constexpr int kLines = 32;

}  // namespace

std::optional<QString> ReadHelpText(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxHelpBytes) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  QString text = QString::fromStdString(Cp932ToUtf8(bytes.toStdString()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString WithoutAccessKey(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  return caption.replace(QStringLiteral("&&"), QStringLiteral("&")).trimmed();
}

HelpViewer::HelpViewer(QWidget* parent, const QString& title, const QString& text,
                       const QFont& font)
    : QDialog(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  setWindowIcon(VelorinIcon());

  Text_for_Help = new QPlainTextEdit(this);
  Text_for_Help->setObjectName(QStringLiteral("Text_for_Help"));
  Text_for_Help->setFont(font);
  Text_for_Help->setReadOnly(true);
  Text_for_Help->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text_for_Help->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text_for_Help->setPlainText(text);

  // A standard button: Qt names it in the language of its translations.
  Command_Close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  Command_Close->setObjectName(QStringLiteral("Command_Close"));
  connect(Command_Close, &QDialogButtonBox::rejected, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text_for_Help);
  layout->addWidget(Command_Close);

  const QFontMetrics metrics(font);
  QSize size(metrics.horizontalAdvance(QLatin1Char('x')) * kColumns + 48,
             metrics.lineSpacing() * kLines + 64);
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  }
  resize(size);
}

}  // namespace velorin
