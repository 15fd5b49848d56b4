// Input and output paths in the main window: accepting them, the derived
// output path, Convert availability and focus, and the two dialog commands
// with their cancel rules.
#include "gui/path_selection.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/common_dialog.h"
#include "gui/mainform.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;
using common_dialog_seam::DialogKind;

class PathSelectionTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<mainform> window_;

  QString InputText() const { return window_->Text_for_POT->text(); }
  QString OutputText() const { return window_->Text_for_NVI->text(); }
  QString InputDialogName() const { return window_->CommonDialog_for_POT->FileName; }
  QString OutputDialogName() const { return window_->CommonDialog_for_NVI->FileName; }
  bool ConvertHasFocus() const { return window_->focusWidget() == window_->Command_for_Convert; }

 private slots:
  void initTestCase() { EnableSeams(); }

  void init() {
    ResetSeams();
    window_ = std::make_unique<mainform>(SyntheticTables(), "/opt/velorin/");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->Command_for_Quit->setFocus();
  }

  void cleanup() {
    VerifySeamsSettled();
    window_.reset();
  }

  void acceptedInputReplacesAChosenOutput() {
    AcceptInputPath(*window_, "/out/first.pot");
    window_->Command_for_NVI->setFocus();
    AcceptOutputPath(*window_, "/out/x.nvi");
    AcceptInputPath(*window_, "/data/tokyo.pot");
    QCOMPARE(InputText(), QStringLiteral("/data/tokyo.pot"));
    QCOMPARE(OutputText(), QStringLiteral("/data/tokyo.nvi"));
    QCOMPARE(InputDialogName(), InputText());
    QCOMPARE(OutputDialogName(), OutputText());
    QVERIFY(window_->Command_for_Convert->isEnabled());
    QVERIFY(ConvertHasFocus());
  }

  void caretsEndUpAfterTheLastCharacter() {
    AcceptInputPath(*window_, "/data/tokyo.old.pot");
    QCOMPARE(window_->Text_for_POT->cursorPosition(), int(InputText().size()));
    QCOMPARE(window_->Text_for_NVI->cursorPosition(), int(OutputText().size()));
    AcceptOutputPath(*window_, "/x/y.nvi");
    QCOMPARE(window_->Text_for_NVI->cursorPosition(), 8);
  }

  void outputIsDerivedFromTheInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("extension") << "/data/tokyo.pot"
                               << "/data/tokyo.nvi";
    QTest::newRow("upper case") << "/data/tokyo.POT"
                                << "/data/tokyo.nvi";
    QTest::newRow("two dots") << "/data/tokyo.old.pot"
                              << "/data/tokyo.old.nvi";
    QTest::newRow("no extension") << "/data/tokyo"
                                  << "/data/tokyo.nvi";
    QTest::newRow("dot in folder") << "/my.data/tokyo"
                                   << "/my.data/tokyo.nvi";
    QTest::newRow("trailing dot") << "/data/tokyo."
                                  << "/data/tokyo.nvi";
    QTest::newRow("non-ASCII") << "/データ/東京.pot"
                               << "/データ/東京.nvi";
  }

  void outputIsDerivedFromTheInput() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    AcceptInputPath(*window_, input);
    QCOMPARE(OutputText(), output);
    QCOMPARE(OutputDialogName(), output);
  }

  void acceptedOutputLeavesInputAndDialogs() {
    AcceptInputPath(*window_, "/data/a.pot");
    AcceptOutputPath(*window_, "/elsewhere/b.nvi");
    QCOMPARE(InputText(), QStringLiteral("/data/a.pot"));
    QCOMPARE(OutputText(), QStringLiteral("/elsewhere/b.nvi"));
    QCOMPARE(InputDialogName(), QStringLiteral("/data/a.pot"));
    QCOMPARE(OutputDialogName(), QStringLiteral("/data/a.nvi"));
  }

  void convertNeedsBothPaths() {
    QVERIFY(!window_->Command_for_Convert->isEnabled());
    AcceptOutputPath(*window_, "/data/out.nvi");
    QVERIFY(!window_->Command_for_Convert->isEnabled());
    QCOMPARE(window_->focusWidget(), window_->Command_for_Quit);  // focus stays

    window_->Text_for_POT->setText(" ");  // blanks are a path too
    QVERIFY(window_->Command_for_Convert->isEnabled());
    QVERIFY(ConvertHasFocus());

    window_->Command_for_Quit->setFocus();
    window_->Text_for_NVI->setText(QString());
    QVERIFY(!window_->Command_for_Convert->isEnabled());
    QCOMPARE(window_->focusWidget(), window_->Command_for_Quit);
    window_->Text_for_POT->setText(QString());
    QVERIFY(!window_->Command_for_Convert->isEnabled());
  }

  void everyChangeWithBothPathsRefocusesConvert() {
    AcceptInputPath(*window_, "/data/a.pot");
    window_->Command_for_POT->setFocus();
    window_->Text_for_NVI->setText("/data/other.nvi");
    QVERIFY(ConvertHasFocus());
    window_->Command_for_NVI->setFocus();
    AcceptInputPath(*window_, "/data/a.pot");  // the same path again
    QVERIFY(ConvertHasFocus());
  }

  void aDirectBoxChangeDoesNotReachTheDialog() {
    AcceptInputPath(*window_, "/data/a.pot");
    window_->Text_for_POT->setText("/typed/b.pot");
    QCOMPARE(InputDialogName(), QStringLiteral("/data/a.pot"));
  }

  void inputDialogPickBecomesTheInput() {
    common_dialog_seam::QueuePick("/picked/tokyo.pot");
    window_->Command_for_POT->click();
    QCOMPARE(common_dialog_seam::Shown().size(), std::size_t{1});
    const common_dialog_seam::ShownDialog& shown = common_dialog_seam::Shown()[0];
    QCOMPARE(shown.kind, DialogKind::kOpen);
    QCOMPARE(shown.title, M(40));
    QCOMPARE(shown.defaultSuffix, M(41));
    QVERIFY(shown.initialFileName.isEmpty());
    QCOMPARE(InputText(), QStringLiteral("/picked/tokyo.pot"));
    QCOMPARE(OutputText(), QStringLiteral("/picked/tokyo.nvi"));
    QVERIFY(ConvertHasFocus());
  }

  void inputDialogCancelledBeforeAnyInputChangesNothing() {
    common_dialog_seam::QueueCancel();
    window_->Command_for_POT->click();
    QVERIFY(InputText().isEmpty());
    QVERIFY(OutputText().isEmpty());
    QVERIFY(!window_->Command_for_Convert->isEnabled());
  }

  void inputDialogCancelledLaterAppliesTheLastInputAgain() {
    AcceptInputPath(*window_, "/data/a.pot");
    common_dialog_seam::QueuePick("/chosen/out.nvi");
    window_->Command_for_NVI->click();
    QCOMPARE(OutputText(), QStringLiteral("/chosen/out.nvi"));

    common_dialog_seam::QueueCancel();
    window_->Command_for_POT->click();
    QCOMPARE(common_dialog_seam::Shown().back().initialFileName, QStringLiteral("/data/a.pot"));
    QCOMPARE(InputText(), QStringLiteral("/data/a.pot"));
    QCOMPARE(OutputText(), QStringLiteral("/data/a.nvi"));  // the chosen output is replaced
    QVERIFY(ConvertHasFocus());
  }

  void outputDialogPickBecomesTheOutput() {
    AcceptInputPath(*window_, "/data/a.pot");
    common_dialog_seam::QueuePick("/chosen/out.nvi");
    window_->Command_for_NVI->click();
    const common_dialog_seam::ShownDialog& shown = common_dialog_seam::Shown().back();
    QCOMPARE(shown.kind, DialogKind::kSave);
    QCOMPARE(shown.title, M(45));
    QCOMPARE(shown.defaultSuffix, M(46));
    QCOMPARE(shown.initialFileName, QStringLiteral("/data/a.nvi"));
    QCOMPARE(OutputText(), QStringLiteral("/chosen/out.nvi"));
    QCOMPARE(OutputDialogName(), QStringLiteral("/chosen/out.nvi"));
    QCOMPARE(InputText(), QStringLiteral("/data/a.pot"));
    QCOMPARE(InputDialogName(), QStringLiteral("/data/a.pot"));
  }

  void outputDialogCancelledWithNoNameChangesNothing() {
    common_dialog_seam::QueueCancel();
    window_->Command_for_NVI->click();
    QVERIFY(OutputText().isEmpty());
    QVERIFY(InputText().isEmpty());
  }

  void outputDialogCancelledAppliesItsNameAgain() {
    AcceptInputPath(*window_, "/data/a.pot");
    window_->Text_for_NVI->setText("/typed/else.nvi");
    common_dialog_seam::QueueCancel();
    window_->Command_for_NVI->click();
    QCOMPARE(OutputText(), QStringLiteral("/data/a.nvi"));
    QCOMPARE(InputText(), QStringLiteral("/data/a.pot"));
  }

  void dropOnFrame1DuringARunLeavesTheFocus() {
    AcceptInputPath(*window_, "/data/a.pot");
    window_->SetDropTargetsEnabled(false);
    window_->ShowExecutionPanel(1);
    window_->Command_for_Cancel->setFocus();
    const auto data = FileList({"/data/b.pot"});
    QVERIFY(DragAndDrop(window_->Frame1, data.get()).dropAccepted);
    QCOMPARE(InputText(), QStringLiteral("/data/b.pot"));
    QCOMPARE(OutputText(), QStringLiteral("/data/b.nvi"));
    QCOMPARE(InputDialogName(), QStringLiteral("/data/b.pot"));
    QVERIFY(window_->Command_for_Convert->isEnabled());
    QCOMPARE(window_->focusWidget(), window_->Command_for_Cancel);
    window_->ShowExecutionPanel(0);
    window_->SetDropTargetsEnabled(true);
  }
};

QTEST_MAIN(PathSelectionTest)
#include "path_selection_test.moc"
