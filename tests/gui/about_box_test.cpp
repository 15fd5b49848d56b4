// The About box: controls, texts by language, geometry in twips, fonts, and
// the drop switch around every way of closing it.
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "gui/aboutform.h"
#include "modal_watcher.h"
#include "test_tables.h"

using velorin::aboutform;
using velorin::ShowAboutBox;
using velorin::testutil::TablesFor;

namespace {

int Twips(int twips, int dpi) { return qRound(twips * dpi / 1440.0); }

QRect TwipsRect(int left, int top, int width, int height, const QWidget& on) {
  return QRect(Twips(left, on.logicalDpiX()), Twips(top, on.logicalDpiY()),
               Twips(width, on.logicalDpiX()), Twips(height, on.logicalDpiY()));
}

template <typename T>
T* Control(const QWidget& box, const char* name) {
  return box.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

const QString kJapaneseNotice = QString::fromUtf8("Copyright (C) 2026 Velorin 開発者");
const QString kEnglishNotice = QStringLiteral("Copyright (C) 2026 Velorin team");

// The shipped settings and message files, with settings line 1 set to `language`.
bool LoadShippedTables(const QString& language, velorin::StartupTables& tables) {
  QTemporaryDir dir;
  const QString data = QStringLiteral(VELORIN_DATA_DIR "/");
  for (const char* name : {"velorin_e.msg", "velorin_j.msg"}) {
    if (!QFile::copy(data + name, dir.filePath(name))) return false;
  }
  QFile ini(data + "velorin.ini");
  if (!ini.open(QIODevice::ReadOnly)) return false;
  QByteArray lines = ini.readAll();
  lines = language.toLatin1() + lines.mid(lines.indexOf("\r\n"));
  QFile copy(dir.filePath("velorin.ini"));
  if (!copy.open(QIODevice::WriteOnly) || copy.write(lines) != lines.size()) return false;
  copy.close();
  velorin::LocalFileSystem disk;
  return velorin::LoadStartupTables(disk, dir.path().toStdString() + "/", tables) ==
         velorin::StartupFailure::kNone;
}

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsHaveTheirNames() {
    aboutform box(nullptr, TablesFor("1"));
    QCOMPARE(box.objectName(), QStringLiteral("aboutform"));
    for (const char* name : {"Label_Title", "Label_Version", "Label_Copyright", "Image_Icon"}) {
      QVERIFY2(Control<QLabel>(box, name) != nullptr, name);
    }
    QVERIFY(Control<QPushButton>(box, "Command_Ok") != nullptr);
  }

  void fixedTexts() {
    aboutform box(nullptr, TablesFor("1"));
    QCOMPARE(Control<QLabel>(box, "Label_Title")->text(),
             QStringLiteral("Velorin   (Old platform)"));
    QCOMPARE(Control<QLabel>(box, "Label_Version")->text(), QStringLiteral("Version: 0.2.0"));
    QCOMPARE(Control<QPushButton>(box, "Command_Ok")->text(), QStringLiteral("OK"));
  }

  void captionIsMessage3() {
    aboutform box(nullptr, TablesFor("0"));
    QCOMPARE(box.windowTitle(), QString::fromUtf8("バージョン情報 (About)"));
  }

  void noticeByLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("notice");
    QTest::newRow("0") << "0" << kJapaneseNotice;
    QTest::newRow("1") << "1" << kEnglishNotice;
    QTest::newRow("0 blank") << "0 " << kEnglishNotice;
    QTest::newRow("blank 0") << " 0" << kEnglishNotice;
    QTest::newRow("00") << "00" << kEnglishNotice;
    QTest::newRow("empty") << "" << kEnglishNotice;
  }
  void noticeByLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, notice);
    aboutform box(nullptr, TablesFor(language.toStdString()));
    QCOMPARE(Control<QLabel>(box, "Label_Copyright")->text(), notice);
  }

  void iconIs32Pixels() {
    aboutform box(nullptr, TablesFor("1"));
    const QPixmap icon = Control<QLabel>(box, "Image_Icon")->pixmap();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.deviceIndependentSize().toSize(), QSize(32, 32));
    QVERIFY(!velorin::VelorinIcon().isNull());
  }

  void controlGeometryInTwips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("twips");
    QTest::newRow("title") << "Label_Title" << QList<int>{810, 225, 2760, 240};
    QTest::newRow("version") << "Label_Version" << QList<int>{1125, 495, 2445, 240};
    QTest::newRow("copyright") << "Label_Copyright" << QList<int>{225, 945, 3165, 240};
    QTest::newRow("ok") << "Command_Ok" << QList<int>{2655, 1350, 780, 330};
    QTest::newRow("icon") << "Image_Icon" << QList<int>{90, 90, 480, 480};
  }
  void controlGeometryInTwips() {
    QFETCH(QString, name);
    QFETCH(QList<int>, twips);
    aboutform box(nullptr, TablesFor("1"));
    auto* control = box.findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), TwipsRect(twips[0], twips[1], twips[2], twips[3], box));
  }

  void clientSizeIsFixed() {
    aboutform box(nullptr, TablesFor("1"));
    const QSize client(Twips(3660, box.logicalDpiX()), Twips(1860, box.logicalDpiY()));
    QCOMPARE(box.size(), client);
    QCOMPARE(box.minimumSize(), client);
    QCOMPARE(box.maximumSize(), client);
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    box.show();
    box.resize(client * 2);
    QCOMPARE(box.size(), client);
  }

  void at96DpiTheClientIs244By124Pixels() {
    aboutform box(nullptr, TablesFor("1"));
    if (box.logicalDpiX() != 96 || box.logicalDpiY() != 96) QSKIP("screen is not at 96 dpi");
    QCOMPARE(box.size(), QSize(244, 124));
    QCOMPARE(Control<QPushButton>(box, "Command_Ok")->geometry(), QRect(177, 90, 52, 22));
  }

  void placedBelowRightOfTheMainWindow_data() {
    QTest::addColumn<QPoint>("mainCorner");
    QTest::newRow("origin") << QPoint(0, 0);
    QTest::newRow("inside") << QPoint(130, 75);
  }
  void placedBelowRightOfTheMainWindow() {
    QFETCH(QPoint, mainCorner);
    QWidget mainWindow;
    mainWindow.move(mainCorner);
    aboutform box(&mainWindow, TablesFor("1"));
    const QPoint offset(Twips(500, box.logicalDpiX()), Twips(500, box.logicalDpiY()));
    QCOMPARE(box.pos(), mainCorner + offset);
  }

  void fontsFromMessages0And1KeepBold_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::newRow("window") << "" << false;
    QTest::newRow("title") << "Label_Title" << true;
    QTest::newRow("version") << "Label_Version" << true;
    QTest::newRow("copyright") << "Label_Copyright" << false;
    QTest::newRow("ok") << "Command_Ok" << false;
  }
  void fontsFromMessages0And1KeepBold() {
    QFETCH(QString, name);
    QFETCH(bool, bold);
    aboutform box(nullptr, TablesFor("0"));
    QWidget* widget = name.isEmpty() ? &box : box.findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(widget->font().pointSizeF(), 10.5);
    QCOMPARE(widget->font().bold(), bold);
  }

  // With the font that the shipped message files name, no label text is cut off.
  void shippedFontFitsTheLabels_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "1";
    QTest::newRow("Japanese") << "0";
  }
  void shippedFontFitsTheLabels() {
    QFETCH(QString, language);
    velorin::StartupTables tables;
    QVERIFY(LoadShippedTables(language, tables));
    aboutform box(nullptr, tables);
    for (const char* name : {"Label_Title", "Label_Version", "Label_Copyright"}) {
      auto* label = Control<QLabel>(box, name);
      const QFontInfo used(label->font());
      if (used.family() != label->font().family()) {
        QSKIP(qPrintable("font not installed: " + label->font().family()));
      }
      const QFontMetrics metrics(label->font());
      QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), name);
      QVERIFY2(metrics.height() <= label->height(), name);
    }
  }

  void dropsOffWhileShownThenOn_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Esc key") << "esc";
    QTest::newRow("close request") << "close";
  }
  void dropsOffWhileShownThenOn() {
    QFETCH(QString, way);
    QWidget mainWindow;
    std::vector<bool> calls;
    std::vector<bool> callsWhileShown;
    QString shownName;
    velorin::testutil::ModalWatcher watcher([&](QWidget* modal) {
      callsWhileShown = calls;
      shownName = modal->objectName();
      if (way == "ok") {
        QTest::mouseClick(modal->findChild<QPushButton*>("Command_Ok"), Qt::LeftButton);
      } else if (way == "esc") {
        QTest::keyClick(modal, Qt::Key_Escape);
      } else {
        modal->close();
      }
    });
    ShowAboutBox(&mainWindow, TablesFor("1"), [&](bool on) { calls.push_back(on); });
    QVERIFY(watcher.acted());
    QCOMPARE(shownName, QStringLiteral("aboutform"));
    QCOMPARE(callsWhileShown, std::vector<bool>{false});
    QCOMPARE(calls, (std::vector<bool>{false, true}));
    // Created anew for each showing: nothing is left behind.
    QVERIFY(mainWindow.findChildren<aboutform*>().isEmpty());
  }

  void eachShowingIsANewBox() {
    // What the first box had changed is gone in the second: every showing loads afresh.
    QWidget mainWindow;
    std::vector<QString> noticesSeen;
    for (int i = 0; i < 2; ++i) {
      velorin::testutil::ModalWatcher watcher([&](QWidget* modal) {
        auto* notice = modal->findChild<QLabel*>("Label_Copyright");
        noticesSeen.push_back(notice->text());
        notice->setText(QStringLiteral("changed"));
        QTest::keyClick(modal, Qt::Key_Escape);
      });
      ShowAboutBox(&mainWindow, TablesFor("1"), [](bool) {});
    }
    QCOMPARE(noticesSeen, (std::vector<QString>{kEnglishNotice, kEnglishNotice}));
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
