// Help > Help: which file is opened, and the message when it is missing.
#include "shell/help_command.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <utility>
#include <vector>

#include "shell/message_box.h"
#include "test_tables.h"

using velorin::MessageAnswer;
using velorin::MessageButtons;
using velorin::ShowHelpFile;
using velorin::testutil::TablesFor;
namespace boxes = velorin::message_box_seam;
namespace viewer = velorin::help_viewer_seam;

namespace {

// A drop switch that remembers, for every call, how many boxes had been shown.
struct DropRecorder {
  std::vector<std::pair<bool, std::size_t>> calls;
  std::function<void(bool)> Switch() {
    return [this](bool on) { calls.emplace_back(on, boxes::Shown().size()); };
  }
};

void WriteFile(const QString& path) { std::ofstream(path.toStdString()) << "help\r\n"; }

std::string Folder(const QTemporaryDir& dir) { return dir.path().toStdString() + "/"; }

}  // namespace

class HelpCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    boxes::EnableTestMode();
    viewer::EnableTestMode();
  }
  void init() {
    boxes::Reset();
    viewer::Reset();
  }

  void presentFileIsOpenedByExactPath_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("0") << "0"
                       << "velorin_hlp_j.txt";
    QTest::newRow("1") << "1"
                       << "velorin_hlp_e.txt";
    QTest::newRow("0 blank") << "0 "
                             << "velorin_hlp_e.txt";
    QTest::newRow("00") << "00"
                        << "velorin_hlp_e.txt";
    QTest::newRow("empty") << ""
                           << "velorin_hlp_e.txt";
  }
  void presentFileIsOpenedByExactPath() {
    QFETCH(QString, language);
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_j.txt"));
    WriteFile(dir.filePath("velorin_hlp_e.txt"));
    DropRecorder drops;
    ShowHelpFile(nullptr, TablesFor(language.toStdString()), Folder(dir), drops.Switch());
    QCOMPARE(viewer::Opened(), std::vector<std::string>{Folder(dir) + fileName.toStdString()});
    QVERIFY(boxes::Shown().empty());
    QVERIFY(drops.calls.empty());
  }

  void pathWithSpacesIsPassedAsItIs() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("program files"));
    WriteFile(dir.filePath("program files/velorin_hlp_e.txt"));
    const std::string folder = Folder(dir) + "program files/";
    ShowHelpFile(nullptr, TablesFor("1"), folder, [](bool) {});
    QCOMPARE(viewer::Opened(), std::vector<std::string>{folder + "velorin_hlp_e.txt"});
  }

  void onlyTheLanguagesFileCounts() {
    // The Japanese file alone does not help an English user.
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_j.txt"));
    boxes::QueueAnswer(MessageAnswer::kOk);
    ShowHelpFile(nullptr, TablesFor("1"), Folder(dir), [](bool) {});
    QVERIFY(viewer::Opened().empty());
    QCOMPARE(boxes::Shown().size(), std::size_t{1});
  }

  void missingFileShowsOneBoxWithDropsOff_data() {
    QTest::addColumn<bool>("folderOfThatName");
    QTest::newRow("nothing there") << false;
    QTest::newRow("a folder of that name") << true;
  }
  void missingFileShowsOneBoxWithDropsOff() {
    QFETCH(bool, folderOfThatName);
    QTemporaryDir dir;
    if (folderOfThatName) QVERIFY(QDir(dir.path()).mkdir("velorin_hlp_e.txt"));
    boxes::QueueAnswer(MessageAnswer::kOk);
    DropRecorder drops;
    ShowHelpFile(nullptr, TablesFor("1"), Folder(dir), drops.Switch());

    QVERIFY(viewer::Opened().empty());
    QCOMPARE(boxes::Shown().size(), std::size_t{1});
    const velorin::ShownMessageBox& box = boxes::Shown().front();
    QVERIFY(!box.unexpected);
    QCOMPARE(box.title, QString::fromUtf8("エラー Error"));
    QCOMPARE(box.text, QString::fromUtf8("ヘルプファイルがありません。\r\nHelp file is missing."));
    QCOMPARE(box.buttons, MessageButtons::kOk);
    // Off before the box, on again after it.
    const std::vector<std::pair<bool, std::size_t>> expected{{false, 0}, {true, 1}};
    QCOMPARE(drops.calls, expected);
  }

  void rootFolderGetsNoSecondSeparator() {
    QCOMPARE(velorin::HelpFilePath(TablesFor("0"), "/"), std::string("/velorin_hlp_j.txt"));
    QCOMPARE(velorin::HelpFilePath(TablesFor("1"), "/"), std::string("/velorin_hlp_e.txt"));
    if (QFileInfo::exists("/velorin_hlp_e.txt")) QSKIP("a help file lies in the root folder");
    boxes::QueueAnswer(MessageAnswer::kOk);
    ShowHelpFile(nullptr, TablesFor("1"), "/", [](bool) {});
    QCOMPARE(boxes::Shown().size(), std::size_t{1});
  }
};

QTEST_MAIN(HelpCommandTest)
#include "help_command_test.moc"
