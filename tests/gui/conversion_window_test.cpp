// Whole conversions driven through the window with real files: Convert
// click, questions answered through the seam, the running layout observed
// from inside the run's event steps, Cancel, and the final message.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <functional>
#include <iterator>

#include "gui/mainform.h"
#include "gui/path_selection.h"
#include "window/main_presenter.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;

namespace {

// The worked example that the engine's tests compare byte for byte: its POT
// input, the NVI output (stamped 2010/04/01 14:30:00) and the log.
std::string WorkedExample(const char* extension) {
  std::ifstream file(std::string(VELORIN_CONVERT_TEST_DATA) + "/worked_example." + extension,
                     std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string PointLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "ORD=POI/tex=P" + std::to_string(i) + "/kei=139'46'1'6/ido=35'40'52'3\r\n";
  }
  return text;
}

int BlockCount(const std::string& nvi) {
  int count = 0;
  for (std::size_t at = nvi.find("NPOIs100@NRA/R1;\n"); at != std::string::npos;
       at = nvi.find("NPOIs100@NRA/R1;\n", at + 1)) {
    ++count;
  }
  return count;
}

// The NVI text with each time-stamp line replaced by " STAMP".
QString WithoutTimeStamps(const std::string& nvi) {
  QString text = QString::fromStdString(nvi);
  static const QRegularExpression stamp(
      QStringLiteral("^ \\d{4}/\\d{2}/\\d{2}_\\d{2}:\\d{2}:\\d{2}_JST;$"),
      QRegularExpression::MultilineOption);
  text.replace(stamp, QStringLiteral(" STAMP"));
  return text;
}

/// What the test saw from inside the run.
struct Observation {
  bool reached = false;
  bool runningLayout = false;
  bool menusDisabled = false;
  QString progressAtStart;
  bool pathBoxRefusedDrop = false;
  bool windowRefusedDrop = false;
  bool frame1TookDrop = false;
  bool convertKeptOffFocus = false;
  bool closeRefused = false;
  int countAtCancel = -1;
};

int CountInProgressText(const QString& text) {
  const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
  return blank < 0 ? -1 : text.mid(blank + 1).toInt();
}

}  // namespace

class ConversionWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DataFolder> folder_;
  std::unique_ptr<mainform> window_;

  void StartWindow(bool logging) {
    StartupTables tables = SyntheticTables();
    tables.systemSettings[1] = "0";
    tables.systemSettings[3] = logging ? "1" : "0";
    window_ = std::make_unique<mainform>(tables, folder_->FolderText());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void VerifyIdleAndDropsOn() {
    QVERIFY(window_->Frame_for_POT->isVisible());
    QVERIFY(window_->Command_for_Convert->isVisible());
    QVERIFY(!window_->Frame_for_While_Execute->isVisible());
    QVERIFY(!window_->Command_for_Cancel->isVisible());
    QVERIFY(window_->mainform_menu_file->menuAction()->isEnabled());
    QVERIFY(window_->Text_for_POT->acceptDrops());
    QVERIFY(window_->acceptDrops());
  }

  void VerifyBox(std::size_t index, const QString& title, const QString& text,
                 MessageButtons buttons, MessageAnswer defaultAnswer) {
    QVERIFY(message_box_seam::Shown().size() > index);
    const ShownMessageBox& box = message_box_seam::Shown()[index];
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.defaultAnswer, defaultAnswer);
  }

 private slots:
  void initTestCase() { EnableSeams(); }

  void init() {
    ResetSeams();
    folder_ = std::make_unique<DataFolder>();
  }

  void cleanup() {
    VerifySeamsSettled();
    window_.reset();
    folder_.reset();
  }

  void workedExampleThroughTheWindow() {
    StartWindow(true);
    const QString input = folder_->Write("tokyo.pot", WorkedExample("pot"));
    AcceptInputPath(*window_, input);
    QCOMPARE(window_->focusWidget(), window_->Command_for_Convert);

    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();

    QCOMPARE(message_box_seam::Shown().size(), std::size_t{2});
    VerifyBox(0, M(90), M(100) + "\r\n" + M(101), MessageButtons::kYesNo, MessageAnswer::kYes);
    VerifyBox(1, M(90), M(106) + "\r\n" + M(107) + " 2", MessageButtons::kOk, MessageAnswer::kOk);
    QCOMPARE(WithoutTimeStamps(folder_->Read("tokyo.nvi")),
             WithoutTimeStamps(WorkedExample("nvi")));
    QCOMPARE(folder_->Read("velorin_log.txt"), WorkedExample("log"));
    QCOMPARE(window_->Label_for_While_Execute2->text(), M(5) + " 2");
    VerifyIdleAndDropsOn();
  }

  void otherPointFilesThroughTheWindow() {
    StartWindow(false);
    const QString input =
        folder_->Write("shops.csv", "name,lat,lon\nA,35.5,139.5\nB,35.6,139.6\nC,x,1\n");
    AcceptInputPath(*window_, input);
    QCOMPARE(window_->Text_for_NVI->text(), folder_->PathOf("shops.nvi"));

    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();

    // The skipped point gets a line of its own in the finished message.
    VerifyBox(1, M(90), M(106) + "\r\n" + M(107) + " 2\r\n" + M(113) + " 1 (" + M(116) + " 1)",
              MessageButtons::kOk, MessageAnswer::kOk);
    QCOMPARE(BlockCount(folder_->Read("shops.nvi")), 2);
    VerifyIdleAndDropsOn();
  }

  // A file of routes or tracks alone says so, and names velorin-cli's option.
  void routesAndTracksAloneAreNamed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("after");
    const QString gpx = "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">%1</gpx>";
    QTest::newRow("route alone") << "route.gpx"
                                 << gpx.arg("<rte><rtept lat=\"35\" lon=\"139\"/></rte>")
                                 << "0\r\n117";
    QTest::newRow("track alone") << "track.kml"
                                 << "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark>"
                                    "<LineString><coordinates>1,2 3,4</coordinates></LineString>"
                                    "</Placemark></kml>"
                                 << "0\r\n117";
    QTest::newRow("waypoint beside a route")
        << "both.gpx" << gpx.arg("<wpt lat=\"35\" lon=\"139\"><name>W</name></wpt><rte/>") << "1";
  }

  void routesAndTracksAloneAreNamed() {
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(QString, after);
    StartWindow(false);
    AcceptInputPath(*window_, folder_->Write(name, content.toStdString()));
    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();
    const QString count = after.section("\r\n", 0, 0);
    QString text = M(106) + "\r\n" + M(107) + " " + count;
    if (after.contains("117")) text += "\r\n" + M(117);
    VerifyBox(1, M(90), text, MessageButtons::kOk, MessageAnswer::kOk);
    VerifyIdleAndDropsOn();
  }

  void runningLayoutAndCancelFromInsideTheRun() {
    StartWindow(false);
    constexpr int kPoints = 40;
    const QString input = folder_->Write("many.pot", PointLines(kPoints));
    const QString dropped = folder_->Write("dropped.pot", "");
    AcceptInputPath(*window_, input);
    window_->Presenter().SetEventStepInterval(0);  // an event step for every line

    message_box_seam::QueueAnswer(MessageAnswer::kYes);  // start
    message_box_seam::QueueAnswer(MessageAnswer::kNo);   // first Cancel: go on
    message_box_seam::QueueAnswer(MessageAnswer::kYes);  // second Cancel: stop
    message_box_seam::QueueAnswer(MessageAnswer::kOk);   // cancelled

    Observation seen;
    mainform& w = *window_;
    // Runs in the second and later event steps, until a few records are in.
    std::function<void()> cancelOnceSomeAreWritten = [&] {
      const int count = CountInProgressText(w.Label_for_While_Execute2->text());
      if (count < 3) {
        QMetaObject::invokeMethod(&w, cancelOnceSomeAreWritten, Qt::QueuedConnection);
        return;
      }
      seen.countAtCancel = count;
      w.Command_for_Cancel->click();
    };
    // Runs in the first event step of the run.
    QMetaObject::invokeMethod(
        &w,
        [&] {
          seen.reached = true;
          seen.runningLayout = w.Frame_for_While_Execute->isVisible() &&
                               w.Command_for_Cancel->isVisible() && !w.Frame_for_POT->isVisible() &&
                               !w.Command_for_Convert->isVisible() &&
                               !w.Command_for_Quit->isVisible();
          seen.menusDisabled = !w.mainform_menu_file->menuAction()->isEnabled() &&
                               !w.mainform_menu_help->menuAction()->isEnabled();
          seen.progressAtStart = w.Label_for_While_Execute2->text();
          const auto file = FileList({dropped});
          seen.pathBoxRefusedDrop = !DragAndDrop(w.Text_for_POT, file.get()).dropAccepted;
          seen.windowRefusedDrop = !DragAndDrop(&w, file.get()).dropAccepted;
          seen.frame1TookDrop = DragAndDrop(w.Frame1, file.get()).dropAccepted;
          seen.convertKeptOffFocus = w.focusWidget() != w.Command_for_Convert;
          seen.closeRefused = !w.close() && w.isVisible();
          w.Command_for_Cancel->click();  // answered No
          QMetaObject::invokeMethod(&w, cancelOnceSomeAreWritten, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);

    w.Command_for_Convert->click();

    QVERIFY(seen.reached);
    QVERIFY(seen.runningLayout);
    QVERIFY(seen.menusDisabled);
    QCOMPARE(seen.progressAtStart, M(5) + " 0");
    QVERIFY(seen.pathBoxRefusedDrop);
    QVERIFY(seen.windowRefusedDrop);
    QVERIFY(seen.frame1TookDrop);
    QVERIFY(seen.convertKeptOffFocus);
    QVERIFY(seen.closeRefused);
    QVERIFY(seen.countAtCancel >= 3);

    QCOMPARE(message_box_seam::Shown().size(), std::size_t{4});
    VerifyBox(1, M(90), M(108) + "\r\n" + M(109), MessageButtons::kYesNo, MessageAnswer::kNo);
    VerifyBox(2, M(90), M(108) + "\r\n" + M(109), MessageButtons::kYesNo, MessageAnswer::kNo);
    const QString cancelled = message_box_seam::Shown()[3].text;
    QVERIFY2(cancelled.startsWith(M(110) + "\r\n" + M(111) + " "), qPrintable(cancelled));
    const int written = CountInProgressText(cancelled);
    QVERIFY(written >= seen.countAtCancel && written < kPoints);
    QCOMPARE(BlockCount(folder_->Read("many.nvi")), written);
    QVERIFY(!QFile::exists(folder_->PathOf("velorin_log.txt")));  // logging off

    // The file dropped on Frame1 during the run is the input now.
    QCOMPARE(w.Text_for_POT->text(), dropped);
    QCOMPARE(w.Text_for_NVI->text(), folder_->PathOf("dropped.nvi"));
    QVERIFY(w.Command_for_Convert->isEnabled());
    VerifyIdleAndDropsOn();
    QVERIFY(w.close());  // the same request succeeds once the run is over
  }

  void largeRunShowsTheFinalCount() {
    StartWindow(true);
    constexpr int kPoints = 5000;
    AcceptInputPath(*window_, folder_->Write("large.pot", PointLines(kPoints)));
    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();
    VerifyBox(1, M(90), M(106) + "\r\n" + M(107) + " 5000", MessageButtons::kOk,
              MessageAnswer::kOk);
    QCOMPARE(window_->Label_for_While_Execute2->text(), M(5) + " 5000");
    QCOMPARE(BlockCount(folder_->Read("large.nvi")), kPoints);
    VerifyIdleAndDropsOn();
  }

  void enterOnTheFocusedConvertStartsTheRun() {
    StartWindow(false);
    AcceptInputPath(*window_, folder_->Write("enter.pot", WorkedExample("pot")));
    message_box_seam::QueueAnswer(MessageAnswer::kNo);  // the start question
    QTest::keyClick(window_->focusWidget(), Qt::Key_Return);
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    VerifyBox(0, M(90), M(100) + "\r\n" + M(101), MessageButtons::kYesNo, MessageAnswer::kYes);
    QVERIFY(!QFile::exists(folder_->PathOf("enter.nvi")));
    VerifyIdleAndDropsOn();
  }

  void declinedOverwriteLeavesTheOutput() {
    StartWindow(false);
    AcceptInputPath(*window_, folder_->Write("keep.pot", WorkedExample("pot")));
    folder_->Write("keep.nvi", "old content");
    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kNo);
    window_->Command_for_Convert->click();
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{2});
    VerifyBox(1, M(90), M(102) + "\r\n" + M(103), MessageButtons::kYesNo, MessageAnswer::kNo);
    QCOMPARE(folder_->Read("keep.nvi"), std::string("old content"));
    VerifyIdleAndDropsOn();
  }

  void samePathIsRefused_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("focus");
    QTest::newRow("output not .nvi") << "/data/a.pot"
                                     << "/data/a.pot"
                                     << "Command_for_NVI";
    QTest::newRow("both .nvi") << "/data/x.nvi"
                               << "/data/x.nvi"
                               << "Command_for_POT";
  }

  void samePathIsRefused() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, focus);
    StartWindow(false);
    AcceptInputPath(*window_, input);
    AcceptOutputPath(*window_, output);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    VerifyBox(0, M(91), M(120) + "\r\n" + M(121), MessageButtons::kOk, MessageAnswer::kOk);
    QCOMPARE(window_->focusWidget()->objectName(), focus);
    VerifyIdleAndDropsOn();
  }

  void missingInputEndsInTheStageOneMessage() {
    StartWindow(false);
    AcceptInputPath(*window_, folder_->PathOf("missing.pot"));
    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->Command_for_Convert->click();
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{2});
    VerifyBox(1, M(91), M(122) + "\r\n" + M(123), MessageButtons::kOk, MessageAnswer::kOk);
    QCOMPARE(window_->focusWidget(), window_->Command_for_POT);
    VerifyIdleAndDropsOn();
  }
};

QTEST_MAIN(ConversionWindowTest)
#include "conversion_window_test.moc"
