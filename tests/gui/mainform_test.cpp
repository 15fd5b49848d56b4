// The main window on its own: controls, texts, fonts, geometry, the two
// layouts, drop switching, dropped files and the close guard.
#include "gui/mainform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/help_command.h"
#include "gui/help_viewer.h"
#include "window_test_support.h"

using namespace velorin;
using namespace velorin::window_test;

namespace {

struct NamedPlacement {
  const char* name;
  int left, top, width, height;
};

// Every control with its position in its container, in twips.
const NamedPlacement kPlacements[] = {
    {"Frame1", 0, -90, 4695, 105},
    {"Frame_for_POT", 45, 135, 4560, 690},
    {"Text_for_POT", 135, 270, 3885, 285},
    {"Command_for_POT", 4095, 270, 330, 285},
    {"Frame_for_NVI", 45, 945, 4560, 690},
    {"Text_for_NVI", 135, 270, 3885, 285},
    {"Command_for_NVI", 4095, 270, 330, 285},
    {"Command_for_Convert", 3555, 1755, 1050, 375},
    {"Command_for_Quit", 2340, 1755, 1050, 375},
    {"Frame_for_While_Execute", 45, 45, 4560, 1590},
    {"Label_for_While_Execute1", 225, 315, 4155, 420},
    {"Label_for_While_Execute2", 225, 990, 4155, 285},
    {"Command_for_Cancel", 3555, 1755, 1050, 375},
};

}  // namespace

class MainformTest : public QObject {
  Q_OBJECT

 private:
  DataFolder folder_;
  std::unique_ptr<mainform> window_;

  std::vector<QWidget*> SwitchedTargets() const {
    mainform& w = *window_;
    return {&w,
            w.Frame_for_POT,
            w.Text_for_POT,
            w.Command_for_POT,
            w.Frame_for_NVI,
            w.Text_for_NVI,
            w.Command_for_NVI,
            w.Command_for_Convert,
            w.Command_for_Quit};
  }

  void VerifyIdleLayout() {
    mainform& w = *window_;
    QVERIFY(w.Frame1->isVisible());
    QVERIFY(w.Frame_for_POT->isVisible());
    QVERIFY(w.Text_for_POT->isVisible());
    QVERIFY(w.Command_for_POT->isVisible());
    QVERIFY(w.Frame_for_NVI->isVisible());
    QVERIFY(w.Text_for_NVI->isVisible());
    QVERIFY(w.Command_for_NVI->isVisible());
    QVERIFY(w.Command_for_Convert->isVisible());
    QVERIFY(w.Command_for_Quit->isVisible());
    QVERIFY(!w.Frame_for_While_Execute->isVisible());
    QVERIFY(!w.Label_for_While_Execute1->isVisible());
    QVERIFY(!w.Command_for_Cancel->isVisible());
    QVERIFY(w.mainform_menu_file->menuAction()->isEnabled());
    QVERIFY(w.mainform_menu_help->menuAction()->isEnabled());
    QVERIFY(w.mainform_menu_tool->menuAction()->isEnabled());
    QVERIFY(w.mainform_menu_tool->menuAction()->isVisible());
  }

  void VerifyRunningLayout() {
    mainform& w = *window_;
    QVERIFY(w.Frame1->isVisible());
    QVERIFY(!w.Frame_for_POT->isVisible());
    QVERIFY(!w.Text_for_POT->isVisible());
    QVERIFY(!w.Frame_for_NVI->isVisible());
    QVERIFY(!w.Command_for_NVI->isVisible());
    QVERIFY(!w.Command_for_Convert->isVisible());
    QVERIFY(!w.Command_for_Quit->isVisible());
    QVERIFY(w.Frame_for_While_Execute->isVisible());
    QVERIFY(w.Label_for_While_Execute1->isVisible());
    QVERIFY(w.Label_for_While_Execute2->isVisible());
    QVERIFY(w.Command_for_Cancel->isVisible());
    QVERIFY(!w.mainform_menu_file->menuAction()->isEnabled());
    QVERIFY(!w.mainform_menu_tool->menuAction()->isEnabled());
    QVERIFY(!w.mainform_menu_help->menuAction()->isEnabled());
  }

 private slots:
  void initTestCase() { EnableSeams(); }

  void init() {
    ResetSeams();
    window_ = std::make_unique<mainform>(SyntheticTables(), folder_.FolderText());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void cleanup() {
    VerifySeamsSettled();
    window_.reset();
  }

  void controlsCarryTheirNames() {
    for (const char* name : {"Frame1",
                             "Frame_for_POT",
                             "Text_for_POT",
                             "Command_for_POT",
                             "Frame_for_NVI",
                             "Text_for_NVI",
                             "Command_for_NVI",
                             "Command_for_Convert",
                             "Command_for_Quit",
                             "Frame_for_While_Execute",
                             "Label_for_While_Execute1",
                             "Label_for_While_Execute2",
                             "Command_for_Cancel",
                             "CommonDialog_for_POT",
                             "CommonDialog_for_NVI",
                             "mainform_menu_file",
                             "mainform_menu_file_quit",
                             "mainform_menu_file_nvi_addr",
                             "mainform_menu_file_nvi_comm",
                             "mainform_menu_file_nvi_hpgl",
                             "mainform_menu_file_nvi_mail",
                             "mainform_menu_tool",
                             "mainform_menu_tool_option",
                             "mainform_menu_tool_option_input_datum",
                             "mainform_menu_tool_option_output_datum",
                             "mainform_menu_tool_option_osm_fuel",
                             "mainform_menu_tool_option_osm_parking",
                             "mainform_menu_help",
                             "mainform_menu_help_help",
                             "mainform_menu_help_dummy1",
                             "mainform_menu_help_about"}) {
      QVERIFY2(window_->findChild<QObject*>(QLatin1String(name)) != nullptr, name);
    }
    QCOMPARE(window_->Text_for_POT->parentWidget(), window_->Frame_for_POT);
    QCOMPARE(window_->Command_for_NVI->parentWidget(), window_->Frame_for_NVI);
    QCOMPARE(window_->Label_for_While_Execute2->parentWidget(), window_->Frame_for_While_Execute);
    QCOMPARE(window_->Command_for_Cancel->parentWidget(), window_->centralWidget());
  }

  void startsInTheIdleLayout() {
    VerifyIdleLayout();
    QVERIFY(window_->Text_for_POT->text().isEmpty());
    QVERIFY(window_->Text_for_NVI->text().isEmpty());
    QVERIFY(!window_->Command_for_Convert->isEnabled());
    QVERIFY(window_->Command_for_Quit->isEnabled());
    QVERIFY(window_->CommonDialog_for_POT->FileName.isEmpty());
    QVERIFY(window_->CommonDialog_for_NVI->FileName.isEmpty());
  }

  void showsTheMessageTexts() {
    mainform& w = *window_;
    QCOMPARE(w.windowTitle(), M(2));
    QCOMPARE(w.Frame_for_POT->title(), M(30));
    QCOMPARE(w.Frame_for_NVI->title(), M(31));
    QCOMPARE(w.Command_for_POT->text(), M(32));
    QCOMPARE(w.Command_for_NVI->text(), M(33));
    QCOMPARE(w.Command_for_Convert->text(), M(34));
    QCOMPARE(w.Command_for_Quit->text(), M(35));
    QCOMPARE(w.Command_for_Cancel->text(), M(36));
    QCOMPARE(w.Label_for_While_Execute1->text(), M(104) + "\r\n" + M(105));
    QVERIFY(w.Label_for_While_Execute2->text().isEmpty());
    QVERIFY(w.Frame1->title().isEmpty());
    QVERIFY(w.Frame_for_While_Execute->title().isEmpty());
    QCOMPARE(w.CommonDialog_for_POT->DialogTitle, M(40));
    QCOMPARE(w.CommonDialog_for_POT->DefaultExt, M(41));
    QCOMPARE(w.CommonDialog_for_POT->Filter, M(42));
    QCOMPARE(w.CommonDialog_for_NVI->DialogTitle, M(45));
    QCOMPARE(w.CommonDialog_for_NVI->DefaultExt, M(46));
    QCOMPARE(w.CommonDialog_for_NVI->Filter, M(47));
  }

  void menusHoldFileToolAndHelp() {
    mainform& w = *window_;
    QCOMPARE(w.mainform_menu_file->title(), M(10));
    QCOMPARE(w.mainform_menu_file_quit->text(), M(11));
    QCOMPARE(w.mainform_menu_tool->title(), M(15));
    QCOMPARE(w.mainform_menu_tool_option->text(), M(16));
    QCOMPARE(w.mainform_menu_help->title(), M(20));

    QList<QAction*> visibleMenus;
    for (QAction* action : w.menuBar()->actions()) {
      if (action->isVisible()) visibleMenus << action;
    }
    QCOMPARE(visibleMenus.size(), 3);
    QCOMPARE(visibleMenus[0], w.mainform_menu_file->menuAction());
    QCOMPARE(visibleMenus[1], w.mainform_menu_tool->menuAction());
    QCOMPARE(visibleMenus[2], w.mainform_menu_help->menuAction());

    // Tool > Option holds the datum choices, unticked as the settings are.
    QCOMPARE(w.mainform_menu_tool->actions(), QList<QAction*>{w.mainform_menu_tool_option});
    QMenu* option = w.mainform_menu_tool_option->menu();
    QVERIFY(option != nullptr);
    // Then the OpenStreetMap kinds kept of an extract, ticked as the
    // settings' tags hold them.
    QCOMPARE(
        option->actions(),
        (QList<QAction*>{
            w.mainform_menu_tool_option_input_datum, w.mainform_menu_tool_option_output_datum,
            w.mainform_menu_tool_option_osm_fuel, w.mainform_menu_tool_option_osm_services,
            w.mainform_menu_tool_option_osm_hot_spring, w.mainform_menu_tool_option_osm_parking}));
    QCOMPARE(w.mainform_menu_tool_option_input_datum->text(), M(170));
    QCOMPARE(w.mainform_menu_tool_option_output_datum->text(), M(171));
    QCOMPARE(w.mainform_menu_tool_option_osm_fuel->text(), M(181));
    QCOMPARE(w.mainform_menu_tool_option_osm_parking->text(), M(184));
    for (QAction* choice : option->actions()) QVERIFY(choice->isCheckable());
    QVERIFY(!w.mainform_menu_tool_option_input_datum->isChecked());
    QVERIFY(!w.mainform_menu_tool_option_output_datum->isChecked());

    const QList<QAction*> help = w.mainform_menu_help->actions();
    QCOMPARE(help.size(), 3);
    QCOMPARE(help[0], w.mainform_menu_help_help);
    QCOMPARE(help[0]->text(), M(21));
    QCOMPARE(help[1], w.mainform_menu_help_dummy1);
    QVERIFY(help[1]->isSeparator());
    QVERIFY2(help[1]->text().isEmpty(), "a separator with a text shows it beside the line");
    QCOMPARE(help[2], w.mainform_menu_help_about);
    QCOMPARE(help[2]->text(), M(23));
  }

  void datumChoicesAreTickedAndKeptInTheSettingsFile() {
    folder_.Write(QStringLiteral("velorin.ini"), std::string(16 * 2, '\n'));
    mainform& w = *window_;
    w.mainform_menu_tool_option_input_datum->trigger();
    QVERIFY(w.mainform_menu_tool_option_input_datum->isChecked());
    QVERIFY(!w.mainform_menu_tool_option_output_datum->isChecked());
    QCOMPARE(w.Tables().systemSettings[8], std::string("tokyo"));
    // Line 9 of the settings file; the others as they were.
    std::string expected(16 * 2, '\n');
    expected.insert(8, "tokyo");
    QCOMPARE(folder_.Read(QStringLiteral("velorin.ini")), expected);
    w.mainform_menu_tool_option_input_datum->trigger();
    QVERIFY(!w.mainform_menu_tool_option_input_datum->isChecked());
    QCOMPARE(w.Tables().systemSettings[8], std::string("wgs84"));
  }

  void rememberedDatumChoicesAreTickedAtTheStart() {
    StartupTables tables = SyntheticTables();
    tables.systemSettings[9] = "tokyo";
    mainform other(tables, "/opt/velorin/");
    QVERIFY(!other.mainform_menu_tool_option_input_datum->isChecked());
    QVERIFY(other.mainform_menu_tool_option_output_datum->isChecked());
  }

  void fileMenuHoldsTheNviFieldsTheSettingsKeep() {
    mainform& w = *window_;
    folder_.Write("velorin.ini", CrLfLines(SettingsLines("1")));
    const QList<QAction*> file = w.mainform_menu_file->actions();
    QCOMPARE(file.size(), 9);
    QCOMPARE(file[0], w.mainform_menu_file_map);
    QCOMPARE(file[1], w.mainform_menu_file_convert_edited);
    QVERIFY(file[2]->isSeparator());
    const QAction* items[] = {w.mainform_menu_file_nvi_addr, w.mainform_menu_file_nvi_comm,
                              w.mainform_menu_file_nvi_hpgl, w.mainform_menu_file_nvi_mail};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(file[3 + i], items[i]);
      QCOMPARE(items[i]->text(), M(174 + i));
      QVERIFY(items[i]->isCheckable());
      QVERIFY(!items[i]->isChecked());
    }
    QVERIFY(file[7]->isSeparator());
    QCOMPARE(file[8], w.mainform_menu_file_quit);

    w.mainform_menu_file_nvi_addr->trigger();
    w.mainform_menu_file_nvi_mail->trigger();
    QVERIFY(w.mainform_menu_file_nvi_addr->isChecked());
    QVERIFY(!w.mainform_menu_file_nvi_comm->isChecked());
    QVERIFY(w.mainform_menu_file_nvi_mail->isChecked());
    std::vector<std::string> saved = SettingsLines("1");
    saved[5] = "addr,mail";
    QCOMPARE(folder_.Read("velorin.ini"), CrLfLines(saved));
    w.mainform_menu_file_nvi_addr->trigger();
    QVERIFY(!w.mainform_menu_file_nvi_addr->isChecked());
    saved[5] = "mail";
    QCOMPARE(folder_.Read("velorin.ini"), CrLfLines(saved));
  }

  void helpMenuItemIsPlainWhenMessage22IsNotADash() {
    StartupTables tables = SyntheticTables();
    tables.messageTable[22] = "--";
    mainform other(tables, "/opt/velorin/");
    QVERIFY(!other.mainform_menu_help_dummy1->isSeparator());
    QCOMPARE(other.mainform_menu_help_dummy1->text(), QStringLiteral("--"));
  }

  void decodesJapaneseMessages() {
    StartupTables tables = SyntheticTables();
    tables.messageTable[2] = Cp932("ベロリン変換");
    tables.messageTable[30] = Cp932("入力ファイル (POT)");
    tables.messageTable[104] = Cp932("変換中です");
    tables.messageTable[105] = Cp932("お待ちください");
    mainform other(tables, "/opt/velorin/");
    QCOMPARE(other.windowTitle(), QStringLiteral("ベロリン変換"));
    QCOMPARE(other.Frame_for_POT->title(), QStringLiteral("入力ファイル (POT)"));
    QCOMPARE(other.Label_for_While_Execute1->text(),
             QStringLiteral("変換中です\r\nお待ちください"));
  }

  void controlsTakeTheMessageFont() {
    mainform& w = *window_;
    const QString family = QString::fromLatin1(kTestFontName);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &w, w.Frame_for_POT, w.Text_for_POT, w.Command_for_POT, w.Frame_for_NVI,
             w.Text_for_NVI, w.Command_for_NVI, w.Command_for_Convert, w.Command_for_Quit,
             w.Frame_for_While_Execute, w.Label_for_While_Execute1, w.Label_for_While_Execute2,
             w.Command_for_Cancel}) {
      const QFont font = control->font();
      QCOMPARE(font.family(), family);
      QCOMPARE(font.pointSizeF(), double{kTestFontSize});
      const bool browse = control == w.Command_for_POT || control == w.Command_for_NVI;
      QVERIFY2(font.bold() == browse, qPrintable(control->objectName()));
    }
    QCOMPARE(w.CommonDialog_for_POT->Font.family(), family);
    QCOMPARE(w.CommonDialog_for_NVI->Font.pointSizeF(), double{kTestFontSize});
  }

  void menusKeepTheSystemFont() {
    const QFont system = QApplication::font(window_->menuBar());
    QCOMPARE(window_->menuBar()->font().family(), system.family());
    QCOMPARE(window_->menuBar()->font().pointSizeF(), system.pointSizeF());
    QVERIFY(window_->mainform_menu_help->font().family() != QLatin1String(kTestFontName));
  }

  void controlsSitWhereTheTwipsSay() {
    for (const NamedPlacement& p : kPlacements) {
      auto* control = window_->findChild<QWidget*>(QLatin1String(p.name));
      QVERIFY2(control != nullptr, p.name);
      QCOMPARE(control->geometry(), ExpectedRect(control, p.left, p.top, p.width, p.height));
    }
  }

  void clientAreaAndWindowSizeAreFixed() {
    mainform& w = *window_;
    const QRect client = w.centralWidget()->geometry();
    QCOMPARE(client.size(), ExpectedRect(&w, 0, 0, 4740, 2310).size());
    QCOMPARE(client.top(), w.menuBar()->geometry().bottom() + 1);
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.size(), QSize(client.width(), client.height() + w.menuBar()->height()));

    const QSize fixed = w.size();
    w.resize(fixed.width() + 200, fixed.height() + 100);
    QCOMPARE(w.size(), fixed);
    w.showMinimized();
    w.showNormal();
    QTRY_COMPARE(w.size(), fixed);

    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  }

  void pathBoxesHaveTheTooltipBackground() {
    const QPalette palette = QApplication::palette();
    QCOMPARE(window_->Text_for_POT->palette().color(QPalette::Base),
             palette.color(QPalette::ToolTipBase));
    QCOMPARE(window_->Text_for_NVI->palette().color(QPalette::Base),
             palette.color(QPalette::ToolTipBase));
  }

  void keyboardOrderFollowsTheTabIndex() {
    mainform& w = *window_;
    const QList<QWidget*> expected = {w.Command_for_POT,   w.Command_for_NVI, w.Command_for_Convert,
                                      w.Command_for_Quit,  w.Text_for_POT,    w.Text_for_NVI,
                                      w.Command_for_Cancel};
    QList<QWidget*> chain;
    QWidget* current = w.Command_for_POT;
    do {
      if (expected.contains(current)) chain << current;
      current = current->nextInFocusChain();
    } while (current != w.Command_for_POT && chain.size() < 20);
    QCOMPARE(chain, expected);
  }

  void runningLayoutReplacesTheIdleOne() {
    window_->Command_for_Convert->setEnabled(true);
    window_->ShowExecutionPanel(1);
    VerifyRunningLayout();
    QVERIFY(window_->Command_for_Convert->isEnabled());  // left alone
    window_->ShowExecutionPanel(0);
    VerifyIdleLayout();
    QVERIFY(window_->Command_for_Convert->isEnabled());
  }

  void everyModeButOneIsIdle() {
    for (std::int16_t mode : {std::int16_t{0}, std::int16_t{2}, std::int16_t{-1}}) {
      window_->ShowExecutionPanel(1);
      window_->ShowExecutionPanel(mode);
      VerifyIdleLayout();
    }
  }

  void dropSwitchTurnsNineTargets() {
    mainform& w = *window_;
    for (QWidget* target : SwitchedTargets()) QVERIFY(target->acceptDrops());
    QVERIFY(w.Frame1->acceptDrops());
    std::vector<bool> enabledBefore;
    for (QWidget* target : SwitchedTargets()) enabledBefore.push_back(target->isEnabled());
    w.SetDropTargetsEnabled(false);
    std::size_t i = 0;
    for (QWidget* target : SwitchedTargets()) {
      QVERIFY2(!target->acceptDrops(), qPrintable(target->objectName()));
      QCOMPARE(target->isEnabled(), enabledBefore[i++]);  // the switch changes nothing else
    }
    QVERIFY(w.Frame1->acceptDrops());
    for (QWidget* never : {static_cast<QWidget*>(w.Frame_for_While_Execute),
                           static_cast<QWidget*>(w.Label_for_While_Execute1),
                           static_cast<QWidget*>(w.Label_for_While_Execute2),
                           static_cast<QWidget*>(w.Command_for_Cancel)}) {
      QVERIFY(!never->acceptDrops());
    }
    w.SetDropTargetsEnabled(true);
    for (QWidget* target : SwitchedTargets()) QVERIFY(target->acceptDrops());
  }

  void aFileDroppedAnywhereBecomesTheInput() {
    std::vector<QWidget*> targets = SwitchedTargets();
    targets.push_back(window_->Frame1);
    int n = 0;
    for (QWidget* target : targets) {
      const QString input = QStringLiteral("/data/drop%1.pot").arg(++n);
      const auto data = FileList({input});
      const DropResult result = DragAndDrop(target, data.get());
      QVERIFY2(result.enterAccepted && result.dropAccepted, qPrintable(target->objectName()));
      QCOMPARE(window_->Text_for_POT->text(), input);
      QCOMPARE(window_->Text_for_NVI->text(), QStringLiteral("/data/drop%1.nvi").arg(n));
      QVERIFY(window_->Command_for_Convert->isEnabled());
    }
  }

  void onlyTheFirstOfSeveralFilesIsTaken() {
    const auto data = FileList({"/data/first.pot", "/data/second.pot"});
    QVERIFY(DragAndDrop(window_->Text_for_NVI, data.get()).dropAccepted);
    QCOMPARE(window_->Text_for_POT->text(), QStringLiteral("/data/first.pot"));
    QCOMPARE(window_->Text_for_NVI->text(), QStringLiteral("/data/first.nvi"));
  }

  void draggedTextChangesNothing() {
    for (QWidget* target : SwitchedTargets()) {
      const auto data = PlainText(QStringLiteral("/data/typed.pot"));
      const DropResult result = DragAndDrop(target, data.get());
      QVERIFY(!result.enterAccepted);
      QVERIFY(!result.dropAccepted);
    }
    QVERIFY(window_->Text_for_POT->text().isEmpty());
    QVERIFY(window_->Text_for_NVI->text().isEmpty());
    QVERIFY(!window_->Command_for_Convert->isEnabled());
  }

  void aWebLinkIsNoFile() {
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl(QStringLiteral("https://example.org/a.pot"))});
    QVERIFY(!DragAndDrop(window_->Frame_for_POT, data.get()).dropAccepted);
    QVERIFY(window_->Text_for_POT->text().isEmpty());
  }

  void switchedOffTargetsRefuseButFrame1Takes() {
    window_->SetDropTargetsEnabled(false);
    for (QWidget* target : SwitchedTargets()) {
      const auto data = FileList({"/data/refused.pot"});
      const DropResult result = DragAndDrop(target, data.get());
      QVERIFY2(!result.enterAccepted && !result.dropAccepted, qPrintable(target->objectName()));
    }
    QVERIFY(window_->Text_for_POT->text().isEmpty());
    const auto data = FileList({"/data/frame1.pot"});
    QVERIFY(DragAndDrop(window_->Frame1, data.get()).dropAccepted);
    QCOMPARE(window_->Text_for_POT->text(), QStringLiteral("/data/frame1.pot"));
  }

  void runningPanelNeverTakesDrops() {
    window_->SetDropTargetsEnabled(false);
    window_->ShowExecutionPanel(1);
    for (QWidget* target : {static_cast<QWidget*>(window_->Frame_for_While_Execute),
                            static_cast<QWidget*>(window_->Label_for_While_Execute2),
                            static_cast<QWidget*>(window_->Command_for_Cancel)}) {
      QVERIFY(!target->acceptDrops());
      const auto data = FileList({"/data/panel.pot"});
      QVERIFY(!DragAndDrop(target, data.get()).dropAccepted);
    }
    QVERIFY(window_->Text_for_POT->text().isEmpty());
  }

  void helpItemOpensTheHelpFile() {
    const QString help = folder_.Write("velorin_hlp_e.txt", "help\r\n");
    window_->mainform_menu_help_help->trigger();
    auto* viewer = window_->findChild<HelpViewer*>();
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->Text_for_Help->toPlainText(), QStringLiteral("help\n"));
    QVERIFY(message_box_seam::Shown().empty());
    // Help again brings the same viewer forward instead of a second one.
    window_->mainform_menu_help_help->trigger();
    QCOMPARE(window_->findChildren<HelpViewer*>().size(), qsizetype{1});
    viewer->close();
    QTRY_VERIFY(window_->findChild<HelpViewer*>() == nullptr);
    QFile::remove(help);
  }

  void helpItemReportsAMissingFileWithDropsOff() {
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    window_->mainform_menu_help_help->trigger();
    QVERIFY(window_->findChild<HelpViewer*>() == nullptr);
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    QCOMPARE(message_box_seam::Shown()[0].title, M(91));
    QCOMPARE(message_box_seam::Shown()[0].text, M(136) + "\r\n" + M(137));
    for (QWidget* target : SwitchedTargets()) QVERIFY(target->acceptDrops());
  }

  void aboutItemShowsTheBoxModallyWithDropsOff() {
    bool boxSeen = false;
    bool dropsOffWhileOpen = false;
    QTimer::singleShot(0, this, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(top);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        boxSeen = true;
        dropsOffWhileOpen = !window_->acceptDrops() && !window_->Text_for_POT->acceptDrops() &&
                            window_->Frame1->acceptDrops();
        dialog->close();
      }
    });
    window_->mainform_menu_help_about->trigger();  // returns once the box is closed
    QVERIFY(boxSeen);
    QVERIFY(dropsOffWhileOpen);
    for (QWidget* target : SwitchedTargets()) QVERIFY(target->acceptDrops());
  }

  void closesWhenIdle() {
    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
  }

  void quitCommandAndMenuClose() {
    window_->Command_for_Quit->click();
    QVERIFY(!window_->isVisible());
    window_->show();
    window_->mainform_menu_file_quit->trigger();
    QVERIFY(!window_->isVisible());
  }

  void closeIsRefusedWhileRunning() {
    window_->ShowExecutionPanel(1);
    QVERIFY(!window_->close());
    QVERIFY(window_->isVisible());
    VerifyRunningLayout();
    window_->ShowExecutionPanel(0);
    QVERIFY(window_->close());
  }
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
