// Help > Help: which file is shown, Velorin's own viewer of it, and the
// message when it is missing or cannot be read.
#include "gui/help_command.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <utility>
#include <vector>

#include "gui/help_viewer.h"
#include "gui/message_box.h"
#include "test_tables.h"

using velorin::HelpViewer;
using velorin::MessageAnswer;
using velorin::MessageButtons;
using velorin::ShowHelpFile;
using velorin::testutil::Cp932;
using velorin::testutil::TablesFor;
namespace boxes = velorin::message_box_seam;

namespace {

// A drop switch that remembers, for every call, how many boxes had been shown.
struct DropRecorder {
  std::vector<std::pair<bool, std::size_t>> calls;
  std::function<void(bool)> Switch() {
    return [this](bool on) { calls.emplace_back(on, boxes::Shown().size()); };
  }
};

void WriteFile(const QString& path, const std::string& bytes = "help\r\n") {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

std::string Folder(const QTemporaryDir& dir) { return dir.path().toStdString() + "/"; }

// Shows the help and expects Velorin's viewer; it is closed by the caller.
HelpViewer* ShownViewer(QWidget* widget) {
  auto* viewer = qobject_cast<HelpViewer*>(widget);
  if (viewer != nullptr) viewer->setAttribute(Qt::WA_DeleteOnClose, false);
  return viewer;
}

}  // namespace

class HelpCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { boxes::EnableTestMode(); }
  void init() { boxes::Reset(); }

  void languageChoosesTheFile_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << "0"
                       << "Japanese help\n";
    QTest::newRow("1") << "1"
                       << "English help\n";
    QTest::newRow("0 blank") << "0 "
                             << "English help\n";
    QTest::newRow("00") << "00"
                        << "English help\n";
    QTest::newRow("empty") << ""
                           << "English help\n";
  }
  void languageChoosesTheFile() {
    QFETCH(QString, language);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_j.txt"), "Japanese help\r\n");
    WriteFile(dir.filePath("velorin_hlp_e.txt"), "English help\r\n");
    DropRecorder drops;
    std::unique_ptr<HelpViewer> viewer(ShownViewer(
        ShowHelpFile(nullptr, TablesFor(language.toStdString()), Folder(dir), drops.Switch())));
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->Text_for_Help->toPlainText(), shown);
    QVERIFY(boxes::Shown().empty());
    QVERIFY(drops.calls.empty());
  }

  void viewerShowsShiftJisTextWithItsLineEnds() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_j.txt"), Cp932("ヘルプ\r\n表示\r\rCR\nLF"));
    std::unique_ptr<HelpViewer> viewer(
        ShownViewer(ShowHelpFile(nullptr, TablesFor("0"), Folder(dir), [](bool) {})));
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->Text_for_Help->toPlainText(), QString::fromUtf8("ヘルプ\n表示\n\nCR\nLF"));
  }

  void viewerIsReadOnlySelectableInTheMessageFont() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_e.txt"));
    velorin::StartupTables tables = TablesFor("1");
    tables.messageTable[21] = "Velorin &Help";
    std::unique_ptr<HelpViewer> viewer(
        ShownViewer(ShowHelpFile(nullptr, tables, Folder(dir), [](bool) {})));
    QVERIFY(viewer != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Velorin Help"));
    QVERIFY(!viewer->isModal());
    QVERIFY(viewer->Text_for_Help->isReadOnly());
    QVERIFY(viewer->Text_for_Help->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(viewer->Text_for_Help->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(viewer->Text_for_Help->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(viewer->Text_for_Help->font().pointSizeF(), 10.5);
    QVERIFY(!viewer->windowIcon().isNull());
    // Big enough for the help's lines, never beyond the screen.
    QVERIFY(viewer->width() >= 400 && viewer->height() >= 300);
    const QSize screen = viewer->screen()->availableGeometry().size();
    QVERIFY(viewer->width() <= screen.width() && viewer->height() <= screen.height());

    viewer->Text_for_Help->selectAll();
    QVERIFY(viewer->Text_for_Help->textCursor().selectedText().startsWith(QStringLiteral("help")));

    QPushButton* close = viewer->Command_Close->button(QDialogButtonBox::Close);
    QVERIFY(close != nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!viewer->isVisible());
  }

  void viewerGoesAwayWhenClosed() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_e.txt"));
    QPointer<QWidget> viewer = ShowHelpFile(nullptr, TablesFor("1"), Folder(dir), [](bool) {});
    QVERIFY(viewer != nullptr);
    viewer->close();
    QTRY_VERIFY(viewer.isNull());
  }

  void pathWithSpacesIsShown() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("program files"));
    WriteFile(dir.filePath("program files/velorin_hlp_e.txt"), "spaced\r\n");
    const std::string folder = Folder(dir) + "program files/";
    std::unique_ptr<HelpViewer> viewer(
        ShownViewer(ShowHelpFile(nullptr, TablesFor("1"), folder, [](bool) {})));
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->Text_for_Help->toPlainText(), QStringLiteral("spaced\n"));
  }

  void onlyTheLanguagesFileCounts() {
    // The Japanese file alone does not help an English user.
    QTemporaryDir dir;
    WriteFile(dir.filePath("velorin_hlp_j.txt"));
    boxes::QueueAnswer(MessageAnswer::kOk);
    QVERIFY(ShowHelpFile(nullptr, TablesFor("1"), Folder(dir), [](bool) {}) == nullptr);
    QCOMPARE(boxes::Shown().size(), std::size_t{1});
  }

  void missingFileShowsOneBoxWithDropsOff_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("nothing there") << "nothing";
    QTest::newRow("a folder of that name") << "folder";
    // A file far larger than any help text is refused rather than loaded.
    QTest::newRow("a file of 5 MiB") << "huge";
  }
  void missingFileShowsOneBoxWithDropsOff() {
    QFETCH(QString, what);
    QTemporaryDir dir;
    if (what == "folder") QVERIFY(QDir(dir.path()).mkdir("velorin_hlp_e.txt"));
    if (what == "huge") {
      QFile huge(dir.filePath("velorin_hlp_e.txt"));
      QVERIFY(huge.open(QIODevice::WriteOnly));
      QVERIFY(huge.resize(5 * 1024 * 1024));
    }
    boxes::QueueAnswer(MessageAnswer::kOk);
    DropRecorder drops;
    QVERIFY(ShowHelpFile(nullptr, TablesFor("1"), Folder(dir), drops.Switch()) == nullptr);

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

  void accessKeysLeaveTheViewerTitle_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::newRow("ampersand") << "Velorin &Help"
                               << "Velorin Help";
    QTest::newRow("key in brackets")
        << QString::fromUtf8("ヘルプ(&H)") << QString::fromUtf8("ヘルプ");
    QTest::newRow("doubled ampersand") << "Tips && &Tricks"
                                       << "Tips & Tricks";
    QTest::newRow("none") << "Help"
                          << "Help";
  }
  void accessKeysLeaveTheViewerTitle() {
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QCOMPARE(velorin::WithoutAccessKey(caption), title);
  }
};

QTEST_MAIN(HelpCommandTest)
#include "help_command_test.moc"
