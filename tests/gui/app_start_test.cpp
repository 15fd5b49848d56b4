// Start-up of the program in temporary application folders: the two fixed
// failure messages, the choice of the message file, and the window that a
// good start-up leaves behind.
#include "gui/app_start.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "convert/run_host.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;

namespace {

std::string ReadDataFile(const char* name) {
  QFile file(QStringLiteral(VELORIN_DATA_DIR "/") + QLatin1String(name));
  if (!file.open(QIODevice::ReadOnly)) return std::string();
  return file.readAll().toStdString();
}

}  // namespace

class AppStartTest : public QObject {
  Q_OBJECT

 private:
  /// Starts in `folder` expecting the failure box with `text`.
  void ExpectFailure(const DataFolder& folder, const char* text) {
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    const std::unique_ptr<mainform> window = StartMainWindow(folder.FolderText());
    QVERIFY(window == nullptr);
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    const ShownMessageBox& box = message_box_seam::Shown()[0];
    QCOMPARE(box.title, QStringLiteral("Velorin"));
    QCOMPARE(box.text, QString::fromLatin1(text));
    QCOMPARE(box.buttons, MessageButtons::kOk);
    QCOMPARE(box.defaultAnswer, MessageAnswer::kOk);
  }

  void WriteMessageFiles(const DataFolder& folder) {
    folder.Write("velorin_e.msg", CrLfLines(MessageLines("E")));
    folder.Write("velorin_j.msg", CrLfLines(MessageLines("J")));
  }

 private slots:
  void initTestCase() { EnableSeams(); }
  void init() { ResetSeams(); }
  void cleanup() { VerifySeamsSettled(); }

  void settingsFileOfFifteenLinesIsRefused() {
    DataFolder folder;
    std::vector<std::string> settings = SettingsLines("1");
    settings.pop_back();
    folder.Write("velorin.ini", CrLfLines(settings));
    WriteMessageFiles(folder);
    ExpectFailure(folder, "Illegal System data file!!");
  }

  void emptyOrMissingSettingsFileIsRefused() {
    DataFolder folder;
    WriteMessageFiles(folder);
    ExpectFailure(folder, "Illegal System data file!!");
    ResetSeams();
    folder.Write("velorin.ini", "");
    ExpectFailure(folder, "Illegal System data file!!");
  }

  void settingsFileOfTwentyLinesIsAccepted() {
    DataFolder folder;
    std::vector<std::string> settings = SettingsLines("1");
    settings.resize(20, "extra");
    folder.Write("velorin.ini", CrLfLines(settings));
    WriteMessageFiles(folder);
    const std::unique_ptr<mainform> window = StartMainWindow(folder.FolderText());
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QStringLiteral("E2"));
    QCOMPARE(window->Locations().dataFolder, folder.FolderText());
    QCOMPARE(window->Locations().logPath, folder.FolderText() + "velorin_log.txt");
  }

  void missingMessageFileIsRefused() {
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines("1")));
    folder.Write("velorin_j.msg", CrLfLines(MessageLines("J")));  // English one missing
    ExpectFailure(folder, "Illegal Message file!!");
  }

  void messageFileOf199LinesIsRefused() {
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines("1")));
    folder.Write("velorin_e.msg", CrLfLines(MessageLines("E", 199)));
    ExpectFailure(folder, "Illegal Message file!!");
  }

  void messageFileWithoutFinalLineEndIsAccepted() {
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines("1")));
    std::string messages = CrLfLines(MessageLines("E"));
    messages.resize(messages.size() - 2);
    folder.Write("velorin_e.msg", messages);
    QVERIFY(StartMainWindow(folder.FolderText()) != nullptr);
  }

  void fontSizeThatIsNoNumberIsRefused() {
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines("1")));
    std::vector<std::string> messages = MessageLines("E");
    messages[1] = "nine";
    folder.Write("velorin_e.msg", CrLfLines(messages));
    ExpectFailure(folder, "Illegal Message file!!");
  }

  void languageEntryPicksTheMessageFile_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("0 is Japanese") << "0"
                                   << "J";
    QTest::newRow("1") << "1"
                       << "E";
    QTest::newRow("00") << "00"
                        << "E";
    QTest::newRow("blank before") << " 0"
                                  << "E";
    QTest::newRow("blank after") << "0 "
                                 << "E";
    QTest::newRow("empty") << ""
                           << "E";
  }

  void languageEntryPicksTheMessageFile() {
    QFETCH(QString, language);
    QFETCH(QString, prefix);
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines(language.toStdString())));
    WriteMessageFiles(folder);
    const std::unique_ptr<mainform> window = StartMainWindow(folder.FolderText());
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), prefix + "2");
    QCOMPARE(window->Frame_for_POT->title(), prefix + "30");
    QCOMPARE(window->Command_for_Convert->text(), prefix + "34");
    QCOMPARE(window->Label_for_While_Execute1->text(), prefix + "104\r\n" + prefix + "105");
  }

  void japaneseMessagesAreDecoded() {
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines("0")));
    std::vector<std::string> messages = MessageLines("J");
    messages[2] = Cp932("ベロリン");
    messages[31] = Cp932("出力ファイル (NVI)");
    folder.Write("velorin_j.msg", CrLfLines(messages));
    const std::unique_ptr<mainform> window = StartMainWindow(folder.FolderText());
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QStringLiteral("ベロリン"));
    QCOMPARE(window->Frame_for_NVI->title(), QStringLiteral("出力ファイル (NVI)"));
  }

  void startsWithTheShippedDataFiles_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "1";
    QTest::newRow("Japanese") << "0";
  }

  void startsWithTheShippedDataFiles() {
    QFETCH(QString, language);
    const std::string english = ReadDataFile("velorin_e.msg");
    const std::string japanese = ReadDataFile("velorin_j.msg");
    if (english.empty() || japanese.empty()) QSKIP("data files not found");
    DataFolder folder;
    folder.Write("velorin.ini", CrLfLines(SettingsLines(language.toStdString())));
    folder.Write("velorin_e.msg", english);
    folder.Write("velorin_j.msg", japanese);
    const std::unique_ptr<mainform> window = StartMainWindow(folder.FolderText());
    QVERIFY(window != nullptr);
    QVERIFY(!window->windowTitle().isEmpty());
    QVERIFY(!window->Command_for_Convert->text().isEmpty());
    QVERIFY(!window->Command_for_Convert->isEnabled());
    QVERIFY(window->Frame_for_POT->isVisibleTo(window.get()));
    QVERIFY(!window->Frame_for_While_Execute->isVisibleTo(window.get()));
  }
};

QTEST_MAIN(AppStartTest)
#include "app_start_test.moc"
