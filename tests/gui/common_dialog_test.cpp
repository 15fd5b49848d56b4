// The file dialog model: its filter in Qt's form, and the seam that stands in
// for the person choosing a file.
#include "gui/common_dialog.h"

#include <QTest>

using namespace velorin;

class CommonDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { common_dialog_seam::EnableTestMode(); }
  void init() { common_dialog_seam::Reset(); }

  void filterInQtForm_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one pair") << "POT files|*.pot"
                              << "POT files (*.pot)";
    QTest::newRow("pattern shown already") << "POT files (*.pot)|*.pot|All files (*.*)|*.*"
                                           << "POT files (*.pot);;All files (*.*)";
    QTest::newRow("several patterns") << "Text|*.pot;*.txt"
                                      << "Text (*.pot *.txt)";
    QTest::newRow("several shown already") << "Text (*.pot;*.txt)|*.pot;*.txt"
                                           << "Text (*.pot *.txt)";
    QTest::newRow("Japanese") << "POT ファイル (*.pot)|*.pot"
                              << "POT ファイル (*.pot)";
    QTest::newRow("pattern without description") << "*.pot"
                                                 << "*.pot";
    QTest::newRow("trailing bar") << "NVI|*.nvi|"
                                  << "NVI (*.nvi)";
  }

  void filterInQtForm() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(QtFilterFromDialogFilter(filter), expected);
  }

  void pickAndCancelFollowTheQueue() {
    CommonDialog dialog;
    dialog.DialogTitle = "Open";
    dialog.Filter = "POT|*.pot";
    dialog.DefaultExt = ".pot";
    common_dialog_seam::QueuePick("/data/a.pot");
    common_dialog_seam::QueueCancel();
    dialog.ShowOpen(nullptr);
    QCOMPARE(dialog.FileName, QStringLiteral("/data/a.pot"));
    dialog.ShowSave(nullptr);
    QCOMPARE(dialog.FileName, QStringLiteral("/data/a.pot"));  // a cancel keeps the name

    const auto& shown = common_dialog_seam::Shown();
    QCOMPARE(shown.size(), std::size_t{2});
    QCOMPARE(shown[0].kind, common_dialog_seam::DialogKind::kOpen);
    QCOMPARE(shown[0].qtFilter, QStringLiteral("POT (*.pot)"));
    QCOMPARE(shown[0].defaultSuffix, QStringLiteral("pot"));
    QVERIFY(shown[0].initialFileName.isEmpty());
    QCOMPARE(shown[1].kind, common_dialog_seam::DialogKind::kSave);
    QCOMPARE(shown[1].initialFileName, QStringLiteral("/data/a.pot"));
    QVERIFY(!shown[0].unexpected && !shown[1].unexpected);
  }

  void aDialogNobodyExpectedIsRecordedAndCancelled() {
    CommonDialog dialog;
    dialog.FileName = "/data/keep.pot";
    dialog.ShowOpen(nullptr);
    QCOMPARE(dialog.FileName, QStringLiteral("/data/keep.pot"));
    QCOMPARE(common_dialog_seam::Shown().size(), std::size_t{1});
    QVERIFY(common_dialog_seam::Shown()[0].unexpected);
  }
};

QTEST_MAIN(CommonDialogTest)
#include "common_dialog_test.moc"
