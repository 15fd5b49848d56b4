// The desktop program as an installation runs it: read-only data in
// share/velorin, the user's settings under XDG_CONFIG_HOME, the log under
// XDG_STATE_HOME, `velorin FILE`, and Qt's own texts in the chosen language.
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <sstream>

#include "gui/app_start.h"
#include "gui/qt_translations.h"
#include "startup/user_files.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;

namespace {

std::string ShippedFile(const char* name) {
  QFile file(QStringLiteral(VELORIN_DATA_DIR "/") + QLatin1String(name));
  if (!file.open(QIODevice::ReadOnly)) return std::string();
  return file.readAll().toStdString();
}

// Every file below `folder`, with its size, to see that nothing changed.
QStringList Listing(const QString& folder) {
  QStringList files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    files << it.filePath() + QStringLiteral(" %1").arg(it.fileInfo().size());
  }
  files.sort();
  return files;
}

const char kPot[] =
    "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
    "ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0\r\n";

}  // namespace

class InstalledStartTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DataFolder> root_;
  FileLocations locations_;

  /// An installation under root/prefix, a home under root/home, settings
  /// made from the shipped ones with `language` and `log` put in.
  void Install(const std::string& language, const std::string& log) {
    root_ = std::make_unique<DataFolder>();
    QVERIFY(QDir(root_->PathOf("prefix/share/velorin")).mkpath("."));
    QVERIFY(QDir(root_->PathOf("prefix/bin")).mkpath("."));
    QVERIFY(QDir(root_->PathOf("home")).mkpath("."));
    for (const char* name : {"velorin.ini", "velorin_e.msg", "velorin_j.msg", "velorin_hlp_e.txt",
                             "velorin_hlp_j.txt"}) {
      root_->Write(QStringLiteral("prefix/share/velorin/") + name, ShippedFile(name));
    }
    LocationFacts facts;
    facts.programFolder = root_->FolderText() + "prefix/bin/";
    facts.dataFromProgram = "../share/velorin";
    facts.home = root_->FolderText() + "home";
    locations_ = DecideFileLocations(facts);
    QCOMPARE(ProvideUserSettings(locations_), std::string());
    std::vector<std::string> settings = SettingsLines(language);
    settings[3] = log;
    QVERIFY(QDir(root_->PathOf("home/.config/velorin")).exists());
    root_->Write("home/.config/velorin/velorin.ini", CrLfLines(settings));
  }

 private slots:
  void initTestCase() { EnableSeams(); }
  void init() { ResetSeams(); }
  void cleanup() {
    VerifySeamsSettled();
    UseQtTranslations(QtLanguage::kEnglish);
  }

  void convertsAFileNamedOnTheCommandLine() {
    Install("1", "1");
    const QStringList prefixBefore = Listing(root_->PathOf("prefix"));
    std::ostringstream errors;
    std::unique_ptr<mainform> window = StartMainWindow(locations_, errors);
    QVERIFY(window != nullptr);
    QCOMPARE(errors.str(), std::string());

    // velorin FILE: taken as a drop is, with the focus on Convert.
    const QString pot = root_->Write("tokyo.pot", kPot);
    ShowMainWindow(*window, pot);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->Text_for_POT->text(), pot);
    QCOMPARE(window->Text_for_NVI->text(), root_->PathOf("tokyo.nvi"));
    QTRY_COMPARE(QApplication::focusWidget(), window->Command_for_Convert);
    QVERIFY(!window->windowIcon().isNull());

    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window->Command_for_Convert->click();
    // Both points: the shipped settings keep untitled ones.
    QVERIFY(message_box_seam::Shown().back().text.endsWith(QStringLiteral(" 2")));
    QVERIFY(!root_->Read("tokyo.nvi").empty());
    // The log goes to the state folder, made for it; nothing into the prefix.
    const std::string log = root_->Read("home/.local/state/velorin/velorin_log.txt");
    QVERIFY(log.rfind("Line# 1\tTower", 0) == 0);
    QCOMPARE(Listing(root_->PathOf("prefix")), prefixBefore);
  }

  void readsTheUsersSettingsNotTheShippedOnes() {
    Install("0", "0");
    std::ostringstream errors;
    std::unique_ptr<mainform> window = StartMainWindow(locations_, errors);
    QVERIFY(window != nullptr);
    QVERIFY(window->Tables().Japanese());
    QCOMPARE(window->Locations().dataFolder, root_->FolderText() + "prefix/share/velorin/");
  }

  void startupFailureSaysWhichFileAndWhere() {
    Install("1", "0");
    QFile::remove(root_->PathOf("prefix/share/velorin/velorin_e.msg"));
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    std::ostringstream errors;
    QVERIFY(StartMainWindow(locations_, errors) == nullptr);
    QCOMPARE(message_box_seam::Shown()[0].text, QStringLiteral("Illegal Message file!!"));
    QCOMPARE(errors.str(), "velorin: the message file " + root_->FolderText() +
                               "prefix/share/velorin/velorin_e.msg cannot be opened (it is "
                               "missing or unreadable)\n");
  }

  void qtTextsFollowTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("close");
    QTest::newRow("Japanese") << "0" << QString::fromUtf8("はい(&Y)")
                              << QString::fromUtf8("閉じる");
    // LANG is ja_JP for this test: English stays English all the same.
    QTest::newRow("English") << "1"
                             << "&Yes"
                             << "Close";
  }
  void qtTextsFollowTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, yes);
    QFETCH(QString, close);
    Install(language.toStdString(), "0");
    std::ostringstream errors;
    std::unique_ptr<mainform> window = StartMainWindow(locations_, errors);
    QVERIFY(window != nullptr);

    QMessageBox box(QMessageBox::NoIcon, "t", "x", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);
    QDialogButtonBox buttons(QDialogButtonBox::Close);
    QCOMPARE(buttons.button(QDialogButtonBox::Close)->text(), close);
    // The path boxes' context menu.
    std::unique_ptr<QMenu> menu(window->Text_for_POT->createStandardContextMenu());
    QStringList items;
    for (QAction* action : menu->actions()) items << action->text();
    const bool japaneseMenu = items.join(' ').contains(QString::fromUtf8("コピー"));
    QCOMPARE(japaneseMenu, language == "0");
  }
};

QTEST_MAIN(InstalledStartTest)
#include "installed_start_test.moc"
