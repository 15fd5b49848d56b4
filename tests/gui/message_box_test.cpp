// The real message box (no test seam): a question ended by Escape or by a
// close request is answered No, whatever its default; Return takes the
// default.
#include "gui/message_box.h"

#include <QMessageBox>
#include <QTest>

#include "modal_watcher.h"

using velorin::MessageAnswer;
using velorin::MessageButtons;

Q_DECLARE_METATYPE(MessageAnswer)

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void questionAnswer_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<MessageAnswer>("defaultAnswer");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("Escape, default Yes") << "esc" << MessageAnswer::kYes << MessageAnswer::kNo;
    QTest::newRow("Escape, default No") << "esc" << MessageAnswer::kNo << MessageAnswer::kNo;
    QTest::newRow("close, default Yes") << "close" << MessageAnswer::kYes << MessageAnswer::kNo;
    QTest::newRow("close, default No") << "close" << MessageAnswer::kNo << MessageAnswer::kNo;
    QTest::newRow("Return, default Yes") << "return" << MessageAnswer::kYes << MessageAnswer::kYes;
    QTest::newRow("Return, default No") << "return" << MessageAnswer::kNo << MessageAnswer::kNo;
  }
  void questionAnswer() {
    QFETCH(QString, way);
    QFETCH(MessageAnswer, defaultAnswer);
    QFETCH(MessageAnswer, answer);
    velorin::testutil::ModalWatcher watcher([&](QWidget* modal) {
      if (way == "esc") {
        QTest::keyClick(modal, Qt::Key_Escape);
      } else if (way == "return") {
        QTest::keyClick(modal, Qt::Key_Return);
      } else {
        modal->close();
      }
    });
    const MessageAnswer given =
        velorin::ShowMessageBox(nullptr, QStringLiteral("M90"), QStringLiteral("M100\nM101"),
                                MessageButtons::kYesNo, defaultAnswer);
    QVERIFY(watcher.acted());
    QCOMPARE(given, answer);
  }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
