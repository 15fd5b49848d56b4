#include "gui/aboutform.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "gui/message_text.h"
#include "gui/twips.h"

namespace velorin {
namespace {

constexpr int kOffsetFromMainWindow = 500;  // twips right of and below its corner
constexpr int kClientWidth = 3660;
constexpr int kClientHeight = 1860;
constexpr int kCaptionMessage = 3;

// Name and size of message 0 and 1; the weight of `font` is kept, so the
// labels drawn in bold stay bold.
QFont WithMessageFont(QFont font, const StartupTables& tables) {
  font.setFamily(MessageText(tables, kFontNameMessage));
  float size = 0.0f;
  if (ParseFontSize(tables.messageTable[kFontSizeMessage], size)) font.setPointSizeF(size);
  return font;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
  return label;
}

}  // namespace

aboutform::aboutform(QWidget* mainWindow, const StartupTables& tables,
                     std::function<void()> unloaded)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      unloaded_(std::move(unloaded)) {
  setObjectName(QStringLiteral("aboutform"));
  setWindowTitle(QStringLiteral("About Velorin"));
  setWindowIcon(VelorinIcon());

  Label_Title = NewLabel(this, "Label_Title", QString::fromLatin1(kAboutTitleText), true);
  Label_Version = NewLabel(this, "Label_Version", QStringLiteral("Version x.x.x"), true);
  Label_Copyright = NewLabel(this, "Label_Copyright", QString(), false);
  Image_Icon = new QLabel(this);
  Image_Icon->setObjectName(QStringLiteral("Image_Icon"));
  Image_Icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image_Icon->setPixmap(VelorinIcon().pixmap(32, 32));
  Command_Ok = new QPushButton(QStringLiteral("OK"), this);
  Command_Ok->setObjectName(QStringLiteral("Command_Ok"));
  Command_Ok->setDefault(true);
  connect(Command_Ok, &QPushButton::clicked, this, &QDialog::accept);

  // Load: size and place, fonts, caption, version and notice, in this order.
  setFixedSize(TwipsX(kClientWidth), TwipsY(kClientHeight));
  if (mainWindow != nullptr) {
    const QPoint corner = mainWindow->window()->pos();
    move(corner.x() + TwipsX(kOffsetFromMainWindow), corner.y() + TwipsY(kOffsetFromMainWindow));
  }
  setFont(WithMessageFont(font(), tables));
  for (QWidget* control :
       {static_cast<QWidget*>(Label_Title), static_cast<QWidget*>(Label_Version),
        static_cast<QWidget*>(Label_Copyright), static_cast<QWidget*>(Command_Ok)}) {
    control->setFont(WithMessageFont(control->font(), tables));
  }
  setWindowTitle(MessageText(tables, kCaptionMessage));
  Label_Version->setText(QString::fromStdString(AboutVersionText()));
  Label_Copyright->setText(QString::fromStdString(AboutCopyrightText(tables)));

  Place(Label_Title, 810, 225, 2760, 240);
  Place(Label_Version, 1125, 495, 2445, 240);
  Place(Label_Copyright, 225, 945, 3165, 240);
  Place(Command_Ok, 2655, 1350, 780, 330);
  Place(Image_Icon, 90, 90, 480, 480);
}

aboutform::~aboutform() {
  if (unloaded_) unloaded_();
}

int aboutform::TwipsX(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

int aboutform::TwipsY(int twips) const { return TwipsToPixels(twips, logicalDpiY()); }

void aboutform::Place(QWidget* widget, int left, int top, int width, int height) const {
  widget->setGeometry(TwipsX(left), TwipsY(top), TwipsX(width), TwipsY(height));
}

void ShowAboutBox(QWidget* mainWindow, const StartupTables& tables,
                  const std::function<void(bool)>& setDropTargetsEnabled) {
  setDropTargetsEnabled(false);
  aboutform box(mainWindow, tables, [&setDropTargetsEnabled] { setDropTargetsEnabled(true); });
  box.exec();
}

}  // namespace velorin
