#include "gui/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "convert/conversion_run.h"
#include "convert/run_settings.h"
#include "formats/format_sniff.h"
#include "formats/format_table.h"
#include "gui/aboutform.h"
#include "gui/common_dialog.h"
#include "gui/help_command.h"
#include "gui/map/map_file_rule.h"
#include "gui/map/map_texts.h"
#include "gui/map/map_window.h"
#include "gui/path_selection.h"
#include "gui/program_icon.h"
#include "gui/qt_run_host.h"
#include "gui/twips.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

// Client area below the menu bar, in twips.
constexpr int kClientWidthTwips = 4740;
constexpr int kClientHeightTwips = 2310;

QString JoinLines(const QString& first, const QString& second) {
  return first + QStringLiteral("\r\n") + second;
}

// A font that no longer follows its parent's: every property set explicitly.
void KeepSystemFont(QWidget* widget) {
  QFont font = QApplication::font(widget);
  font.setResolveMask(QFont::AllPropertiesResolved);
  widget->setFont(font);
}

QGroupBox* MakeFrame(QWidget* container, const char* name) {
  auto* frame = new QGroupBox(container);
  frame->setObjectName(QLatin1String(name));
  return frame;
}

QPushButton* MakeCommand(QWidget* container, const char* name) {
  auto* command = new QPushButton(container);
  command->setObjectName(QLatin1String(name));
  // Enter clicks the command that has the focus, as Space does.
  command->setAutoDefault(true);
  return command;
}

QLineEdit* MakePathBox(QWidget* container, const char* name) {
  auto* box = new QLineEdit(container);
  box->setObjectName(QLatin1String(name));
  // Paths come from the dialogs and from dropped files; typing would move
  // the focus to Convert after the first character.
  box->setReadOnly(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
  box->setPalette(palette);
  return box;
}

QLabel* MakeLabel(QWidget* container, const char* name) {
  auto* label = new QLabel(container);
  label->setObjectName(QLatin1String(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

QString FirstDroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return QString();
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return QString();
}

mainform::mainform(const StartupTables& tables, const std::string& applicationFolder,
                   QWidget* parent)
    : mainform(tables, PortableLocations(applicationFolder), parent) {}

mainform::mainform(const StartupTables& tables, FileLocations locations, QWidget* parent)
    : QMainWindow(parent), tables_(tables), locations_(std::move(locations)) {
  setObjectName(QStringLiteral("mainform"));
  setWindowIcon(VelorinIcon());
  messages_.reserve(tables_.messageTable.size());
  for (const std::string& text : tables_.messageTable) {
    messages_.push_back(QString::fromStdString(Cp932ToUtf8(text)));
  }
  runHost_ = std::make_unique<QtRunHost>(*this);

  // Minimize and close, but no maximize: the size is fixed.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  CreateControls();
  CreateMenus();
  PlaceControls();
  SetTabOrder();
  ConnectEvents();

  // The load event.
  ApplyMainWindowTexts();
  ShowExecutionPanel(0);
  SetDropTargetsEnabled(true);
  FixWindowSize();
}

mainform::~mainform() = default;

const QString& mainform::Message(int number) const {
  static const QString kNone;
  if (number < 0 || static_cast<std::size_t>(number) >= messages_.size()) return kNone;
  return messages_[static_cast<std::size_t>(number)];
}

void mainform::CreateControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("mainform_client"));
  setCentralWidget(client);

  Frame1 = MakeFrame(client, "Frame1");
  Frame_for_POT = MakeFrame(client, "Frame_for_POT");
  Text_for_POT = MakePathBox(Frame_for_POT, "Text_for_POT");
  Command_for_POT = MakeCommand(Frame_for_POT, "Command_for_POT");
  Frame_for_NVI = MakeFrame(client, "Frame_for_NVI");
  Text_for_NVI = MakePathBox(Frame_for_NVI, "Text_for_NVI");
  Command_for_NVI = MakeCommand(Frame_for_NVI, "Command_for_NVI");
  Command_for_Convert = MakeCommand(client, "Command_for_Convert");
  Command_for_Quit = MakeCommand(client, "Command_for_Quit");
  Frame_for_While_Execute = MakeFrame(client, "Frame_for_While_Execute");
  Label_for_While_Execute1 = MakeLabel(Frame_for_While_Execute, "Label_for_While_Execute1");
  Label_for_While_Execute2 = MakeLabel(Frame_for_While_Execute, "Label_for_While_Execute2");
  Command_for_Cancel = MakeCommand(client, "Command_for_Cancel");

  CommonDialog_for_POT = new CommonDialog(this);
  CommonDialog_for_POT->setObjectName(QStringLiteral("CommonDialog_for_POT"));
  CommonDialog_for_NVI = new CommonDialog(this);
  CommonDialog_for_NVI->setObjectName(QStringLiteral("CommonDialog_for_NVI"));

  WatchDropTargets();
}

void mainform::WatchDropTargets() {
  // Frame1 is only a thin line along the top edge and takes dropped files in
  // every state of the window.
  KeepSystemFont(Frame1);
  Frame1->setAcceptDrops(true);
  Frame1->installEventFilter(this);
  for (QWidget* target :
       {static_cast<QWidget*>(Frame_for_POT), static_cast<QWidget*>(Text_for_POT),
        static_cast<QWidget*>(Command_for_POT), static_cast<QWidget*>(Frame_for_NVI),
        static_cast<QWidget*>(Text_for_NVI), static_cast<QWidget*>(Command_for_NVI),
        static_cast<QWidget*>(Command_for_Convert), static_cast<QWidget*>(Command_for_Quit)}) {
    target->installEventFilter(this);
  }
}

void mainform::CreateMenus() {
  auto makeMenu = [this](const char* name) {
    QMenu* menu = menuBar()->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    return menu;
  };
  auto makeItem = [](QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
  };
  mainform_menu_file = makeMenu("mainform_menu_file");
  mainform_menu_file_map = makeItem(mainform_menu_file, "mainform_menu_file_map");
  mainform_menu_file_map->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  mainform_menu_file_map->setEnabled(false);
  mainform_menu_file->addSeparator();
  mainform_menu_file_quit = makeItem(mainform_menu_file, "mainform_menu_file_quit");
  mainform_menu_tool = makeMenu("mainform_menu_tool");
  mainform_menu_tool_option = makeItem(mainform_menu_tool, "mainform_menu_tool_option");
  mainform_menu_help = makeMenu("mainform_menu_help");
  mainform_menu_help_help = makeItem(mainform_menu_help, "mainform_menu_help_help");
  mainform_menu_help_dummy1 = makeItem(mainform_menu_help, "mainform_menu_help_dummy1");
  mainform_menu_help_about = makeItem(mainform_menu_help, "mainform_menu_help_about");
}

void mainform::PlaceControls() {
  struct Placement {
    QWidget* control;
    int left, top, width, height;  // twips, within the container's client area
  };
  const Placement placements[] = {
      {Frame1, 0, -90, 4695, 105},
      {Frame_for_POT, 45, 135, 4560, 690},
      {Text_for_POT, 135, 270, 3885, 285},
      {Command_for_POT, 4095, 270, 330, 285},
      {Frame_for_NVI, 45, 945, 4560, 690},
      {Text_for_NVI, 135, 270, 3885, 285},
      {Command_for_NVI, 4095, 270, 330, 285},
      {Command_for_Convert, 3555, 1755, 1050, 375},
      {Command_for_Quit, 2340, 1755, 1050, 375},
      {Frame_for_While_Execute, 45, 45, 4560, 1590},
      {Label_for_While_Execute1, 225, 315, 4155, 420},
      {Label_for_While_Execute2, 225, 990, 4155, 285},
      {Command_for_Cancel, 3555, 1755, 1050, 375},
  };
  const int dpiX = logicalDpiX();
  const int dpiY = logicalDpiY();
  for (const Placement& p : placements) {
    p.control->setGeometry(TwipsRect(p.left, p.top, p.width, p.height, dpiX, dpiY));
  }
}

void mainform::SetTabOrder() {
  // Keyboard order by tab index; frames and labels take no focus.
  QWidget* const order[] = {Command_for_POT, Command_for_NVI, Command_for_Convert, Command_for_Quit,
                            Text_for_POT,    Text_for_NVI,    Command_for_Cancel};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    QWidget::setTabOrder(order[i], order[i + 1]);
  }
}

void mainform::ConnectEvents() {
  connect(Text_for_POT, &QLineEdit::textChanged, this, [this] { UpdateConvertCommand(*this); });
  connect(Text_for_POT, &QLineEdit::textChanged, this, &mainform::OnInputPathChanged);
  connect(mainform_menu_file, &QMenu::aboutToShow, this, &mainform::UpdateMapCommand);
  connect(mainform_menu_file_map, &QAction::triggered, this, &mainform::ShowMap);
  connect(Text_for_NVI, &QLineEdit::textChanged, this, [this] { UpdateConvertCommand(*this); });
  connect(Command_for_POT, &QPushButton::clicked, this, [this] { InputDialogCommand(*this); });
  connect(Command_for_NVI, &QPushButton::clicked, this, [this] { OutputDialogCommand(*this); });
  connect(Command_for_Convert, &QPushButton::clicked, this, &mainform::OnConvertClicked);
  connect(Command_for_Cancel, &QPushButton::clicked, this, &mainform::OnCancelClicked);
  connect(Command_for_Quit, &QPushButton::clicked, this, [this] { close(); });
  connect(mainform_menu_file_quit, &QAction::triggered, this, [this] { close(); });
  connect(mainform_menu_help_help, &QAction::triggered, this, &mainform::OnHelpClicked);
  connect(mainform_menu_help_about, &QAction::triggered, this, &mainform::OnAboutClicked);
}

void mainform::ApplyMainWindowTexts() {
  QFont font(Message(kFontNameMessage));
  float size = 0.0F;
  if (ParseFontSize(tables_.messageTable[kFontSizeMessage], size) && size > 0.0F)
    font.setPointSizeF(size);
  QFont boldFont = font;
  boldFont.setBold(true);

  // 1. The window. Its font reaches the menu bar too, which keeps the system's.
  setFont(font);
  KeepSystemFont(menuBar());
  setWindowTitle(Message(2));
  ApplyPathGroupTexts(font, boldFont);
  // 6, 7. Convert (disabled until both paths are set) and Quit.
  Command_for_Convert->setFont(font);
  Command_for_Convert->setText(Message(34));
  Command_for_Convert->setEnabled(false);
  Command_for_Quit->setFont(font);
  Command_for_Quit->setText(Message(35));
  ApplyDialogTexts(font);
  ApplyMenuTexts();
  // 11 to 14. The running panel and Cancel.
  Frame_for_While_Execute->setFont(font);
  Label_for_While_Execute1->setFont(font);
  Label_for_While_Execute1->setText(JoinLines(Message(104), Message(105)));
  Label_for_While_Execute2->setFont(font);
  Label_for_While_Execute2->setText(QString());
  Command_for_Cancel->setFont(font);
  Command_for_Cancel->setText(Message(36));
  // 15. The Tool menu is never shown.
  mainform_menu_tool->menuAction()->setVisible(false);
}

void mainform::ApplyPathGroupTexts(const QFont& font, const QFont& boldFont) {
  // 2, 3. The path groups.
  Frame_for_POT->setFont(font);
  Frame_for_POT->setTitle(Message(30));
  Frame_for_NVI->setFont(font);
  Frame_for_NVI->setTitle(Message(31));
  // 4. The path boxes.
  Text_for_POT->setFont(font);
  Text_for_POT->setText(QString());
  Text_for_NVI->setFont(font);
  Text_for_NVI->setText(QString());
  // 5. The browse commands, in bold.
  Command_for_POT->setFont(boldFont);
  Command_for_POT->setText(Message(32));
  Command_for_NVI->setFont(boldFont);
  Command_for_NVI->setText(Message(33));
}

void mainform::ApplyDialogTexts(const QFont& font) {
  // 8, 9. The file dialogs.
  CommonDialog_for_POT->Font = font;
  CommonDialog_for_POT->DialogTitle = Message(40);
  CommonDialog_for_POT->DefaultExt = Message(41);
  CommonDialog_for_POT->Filter = Message(42);
  CommonDialog_for_NVI->Font = font;
  CommonDialog_for_NVI->DialogTitle = Message(45);
  CommonDialog_for_NVI->DefaultExt = Message(46);
  CommonDialog_for_NVI->Filter = Message(47);
}

void mainform::ApplyMenuTexts() {
  // 10. Menu captions; "-" makes the item between Help and About a separator.
  mainform_menu_file->setTitle(Message(10));
  mainform_menu_file_map->setText(Message(kMapMenuMessage));
  mainform_menu_file_quit->setText(Message(11));
  mainform_menu_tool->setTitle(Message(15));
  mainform_menu_tool_option->setText(Message(16));
  mainform_menu_help->setTitle(Message(20));
  mainform_menu_help_help->setText(Message(21));
  // "-" draws only the separator line: a separator that keeps a text has the
  // style draw that text beside the line.
  const bool separator = Message(22) == QStringLiteral("-");
  mainform_menu_help_dummy1->setSeparator(separator);
  mainform_menu_help_dummy1->setText(separator ? QString() : Message(22));
  mainform_menu_help_about->setText(Message(23));
}

void mainform::ShowExecutionPanel(std::int16_t mode) {
  const bool running = mode == 1;
  if (running) {
    Frame_for_POT->hide();
    Frame_for_NVI->hide();
    Command_for_Convert->hide();
    Command_for_Quit->hide();
    Frame_for_While_Execute->show();
    Command_for_Cancel->show();
  } else {
    Frame_for_While_Execute->hide();
    Command_for_Cancel->hide();
    Frame_for_POT->show();
    Frame_for_NVI->show();
    Command_for_Convert->show();
    Command_for_Quit->show();
  }
  for (QMenu* menu : {mainform_menu_file, mainform_menu_tool, mainform_menu_help}) {
    menu->menuAction()->setEnabled(!running);
  }
}

void mainform::SetDropTargetsEnabled(bool enabled) {
  for (QWidget* target :
       {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame_for_POT),
        static_cast<QWidget*>(Text_for_POT), static_cast<QWidget*>(Command_for_POT),
        static_cast<QWidget*>(Frame_for_NVI), static_cast<QWidget*>(Text_for_NVI),
        static_cast<QWidget*>(Command_for_NVI), static_cast<QWidget*>(Command_for_Convert),
        static_cast<QWidget*>(Command_for_Quit)}) {
    target->setAcceptDrops(enabled);
  }
}

void mainform::FixWindowSize() {
  const QSize client(TwipsToPixels(kClientWidthTwips, logicalDpiX()),
                     TwipsToPixels(kClientHeightTwips, logicalDpiY()));
  centralWidget()->setFixedSize(client);
  QMenuBar* bar = menuBar();
  const int barHeight =
      bar->hasHeightForWidth() ? bar->heightForWidth(client.width()) : bar->sizeHint().height();
  setFixedSize(client.width(), client.height() + barHeight);
}

void mainform::showEvent(QShowEvent* event) {
  // The menu bar's height is final once the window is polished.
  FixWindowSize();
  QMainWindow::showEvent(event);
}

void mainform::closeEvent(QCloseEvent* event) {
  if (Frame_for_While_Execute->isVisibleTo(this)) {
    event->ignore();  // a conversion runs: refused without a word
    return;
  }
  event->accept();
}

void mainform::dragEnterEvent(QDragEnterEvent* event) { HandleDragAndDrop(this, event); }

void mainform::dragMoveEvent(QDragMoveEvent* event) { HandleDragAndDrop(this, event); }

void mainform::dropEvent(QDropEvent* event) { HandleDragAndDrop(this, event); }

bool mainform::eventFilter(QObject* watched, QEvent* event) {
  if (auto* target = qobject_cast<QWidget*>(watched); target != nullptr && target != this) {
    if (HandleDragAndDrop(target, event)) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool mainform::HandleDragAndDrop(QWidget* target, QEvent* event) {
  // The path boxes would insert dragged text themselves: every drag event is
  // taken here, and only a file list is ever accepted.
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (target->acceptDrops() && !FirstDroppedFile(drag->mimeData()).isEmpty()) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::DragLeave:
      return true;
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString file = target->acceptDrops() ? FirstDroppedFile(drop->mimeData()) : QString();
      if (file.isEmpty()) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      AcceptInputPath(*this, file);
      return true;
    }
    default:
      return false;
  }
}

void mainform::OnConvertClicked() {
  // Convert is hidden while a run is active; a click still queued must not
  // start a second run inside the first.
  if (conversionActive_) return;
  conversionActive_ = true;
  LocalFileSystem files;
  LocalClock clock;
  RunOptions options = RunOptionsFromSettings(tables_.systemSettings);
  // Any point file Velorin reads, told by its extension or else by its
  // first bytes; the output is NVI.
  options.inputFormat = InputFormatOfFile(Text_for_POT->text().toStdString());
  ConversionRun run(*runHost_, files, clock, options);
  run.Execute();
  runHost_->ApplyProgressText();
  conversionActive_ = false;
}

void mainform::OnCancelClicked() { RequestCancel(*runHost_); }

void mainform::UpdateMapCommand() {
  mainform_menu_file_map->setEnabled(IsReadablePointFile(Text_for_POT->text().toStdString()));
}

void mainform::OnInputPathChanged() {
  UpdateMapCommand();
  if (mapWindow_ != nullptr && mapWindow_->isVisible() && !Text_for_POT->text().isEmpty())
    mapWindow_->ShowFile(Text_for_POT->text());
}

void mainform::ShowMap() {
  if (mapWindow_ == nullptr) {
    mapWindow_ = new MapWindow(tables_, locations_, this);
    // Beside the main window, not over it.
    mapWindow_->move(frameGeometry().topRight() + QPoint(8, 0));
  }
  if (mapWindow_->File() != Text_for_POT->text() || !mapWindow_->isVisible())
    mapWindow_->ShowFile(Text_for_POT->text());
  mapWindow_->show();
  mapWindow_->raise();
  mapWindow_->activateWindow();
}

void mainform::OnHelpClicked() {
  ShowHelpFile(this, tables_, locations_.dataFolder,
               [this](bool enabled) { SetDropTargetsEnabled(enabled); });
}

void mainform::OnAboutClicked() {
  ShowAboutBox(this, tables_, [this](bool enabled) { SetDropTargetsEnabled(enabled); });
}

}  // namespace velorin
