// The Qt window as the host of a conversion run: texts in, questions
// through the message box seam, the count out, and an event step that only
// works when its interval has passed.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/mainform.h"
#include "gui/path_selection.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;

class QtRunHostTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<mainform> window_;
  MainPresenter& Host() { return window_->Presenter(); }

 private slots:
  void initTestCase() { EnableSeams(); }

  void init() {
    ResetSeams();
    StartupTables tables = SyntheticTables();
    tables.systemSettings[1] = "0";
    tables.systemSettings[3] = "1";
    tables.messageTable[90] = Cp932("確認");
    tables.messageTable[100] = Cp932("変換を始めます");
    window_ = std::make_unique<mainform>(tables, "/opt/velorin/");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void cleanup() {
    VerifySeamsSettled();
    window_.reset();
  }

  void messagesComeDecoded() {
    QCOMPARE(Host().Message(90), std::string("確認"));
    QCOMPARE(Host().Message(5), std::string("M5"));
    QCOMPARE(Host().Message(200), std::string());
    QCOMPARE(Host().Message(-1), std::string());
  }

  void settingsAndFolderComeFromStartUp() {
    const WindowRunOptions options = RunOptionsFromSettings(window_->Tables().systemSettings);
    QVERIFY(options.run.untitled == UntitledRule::kKeep);
    QVERIFY(options.log);
    // A table cut short counts its missing entries as empty.
    const std::vector<std::string> shortTable = {"JPN", "0"};
    QVERIFY(!RunOptionsFromSettings(shortTable).log);
    QCOMPARE(window_->Locations().dataFolder, std::string("/opt/velorin/"));
    QCOMPARE(window_->Locations().logPath, std::string("/opt/velorin/velorin_log.txt"));
  }

  void pathsAreTheBoxTextsInUtf8() {
    AcceptInputPath(*window_, QStringLiteral("/データ/東京.pot"));
    QCOMPARE(window_->PathText(PathKind::kInput), std::string("/データ/東京.pot"));
    QCOMPARE(window_->PathText(PathKind::kOutput), std::string("/データ/東京.nvi"));
  }

  void questionsGoThroughTheMessageBoxSeam() {
    message_box_seam::QueueAnswer(MessageAnswer::kNo);
    QVERIFY(!Host().MayStart());
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    QCOMPARE(message_box_seam::Shown()[0].title, QStringLiteral("確認"));
    QCOMPARE(message_box_seam::Shown()[0].text, QStringLiteral("変換を始めます\r\nM101"));
    QCOMPARE(message_box_seam::Shown()[0].buttons, MessageButtons::kYesNo);
    QCOMPARE(message_box_seam::Shown()[0].defaultAnswer, MessageAnswer::kYes);
  }

  void countWaitsForTheEventStep() {
    Host().OnRunning();
    Host().SetEventStepInterval(60'000);
    QVERIFY(window_->Label_for_While_Execute2->text().isEmpty());
    Host().EventStep();  // the first step after the panel appears always runs
    QCOMPARE(window_->Label_for_While_Execute2->text(), QStringLiteral("M5 0"));
    Host().OnRecordWritten(1);
    Host().OnRecordWritten(2);
    Host().EventStep();  // within the interval: nothing happens
    QCOMPARE(window_->Label_for_While_Execute2->text(), QStringLiteral("M5 0"));
    message_box_seam::QueueAnswer(MessageAnswer::kNo);
    Host().MayReplace("out.nvi");  // a box shows the count it stands over
    QCOMPARE(window_->Label_for_While_Execute2->text(), QStringLiteral("M5 2"));
    Host().ShowExecutionPanel(0);
  }

  void eventStepHandlesPostedEventsOnlyWhenDue() {
    int delivered = 0;
    Host().OnRunning();
    Host().SetEventStepInterval(60'000);
    QMetaObject::invokeMethod(
        window_.get(), [&] { ++delivered; }, Qt::QueuedConnection);
    Host().EventStep();
    QCOMPARE(delivered, 1);
    QMetaObject::invokeMethod(
        window_.get(), [&] { ++delivered; }, Qt::QueuedConnection);
    Host().EventStep();
    QCOMPARE(delivered, 1);
    Host().SetEventStepInterval(0);
    Host().EventStep();
    QCOMPARE(delivered, 2);
    Host().ShowExecutionPanel(0);
  }

  void layoutAndDropSwitchesReachTheWindow() {
    Host().SetDropTargetsEnabled(false);
    QVERIFY(!window_->Text_for_POT->acceptDrops());
    Host().OnRunning();
    QVERIFY(window_->Command_for_Cancel->isVisible());
    QCOMPARE(window_->focusWidget(), window_->Command_for_Cancel);
    Host().ShowExecutionPanel(0);
    Host().SetDropTargetsEnabled(true);
    QVERIFY(window_->Text_for_POT->acceptDrops());
    QVERIFY(!window_->Command_for_Cancel->isVisible());
  }
};

QTEST_MAIN(QtRunHostTest)
#include "qt_run_host_test.moc"
