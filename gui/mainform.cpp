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

#include "gui/common_dialog.h"
#include "gui/map/map_texts.h"
#include "gui/map/map_window.h"
#include "gui/map/map_window_placement.h"
#include "gui/program_icon.h"
#include "gui/twips.h"
#include "map/map_file_rule.h"

namespace velorin {
namespace {

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

void KeepSystemFont(QWidget* widget) {
  QFont font = QApplication::font(widget);
  font.setResolveMask(QFont::AllPropertiesResolved);
  widget->setFont(font);
}

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

mainform::mainform(const StartupTables& tables, FileLocations locations, QWidget* parent,
                   FileSystem& files, Clock& clock)
    : QMainWindow(parent), files_(files) {
  setObjectName(QStringLiteral("mainform"));
  setWindowIcon(VelorinIcon());

  // Minimize and close, but no maximize: the size is fixed.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  CreateControls();
  CreateMenus();
  PlaceControls();
  SetTabOrder();
  presenter_ = std::make_unique<MainPresenter>(*this, tables, std::move(locations), files, clock);
  ConnectEvents();

  // The load event.
  presenter_->Load();
  // The map belongs to this window alone, not to the shared window rules.
  mainform_menu_file_map->setText(Message(kMapMenuMessage));
  mainform_menu_file_convert_edited->setText(Message(kConvertEditedMessage));
  FixWindowSize();
}

mainform::~mainform() = default;

QString mainform::Message(int number) const {
  return QString::fromStdString(presenter_->Message(number));
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
  mainform_menu_file_convert_edited =
      makeItem(mainform_menu_file, "mainform_menu_file_convert_edited");
  mainform_menu_file_convert_edited->setVisible(false);
  mainform_menu_file->addSeparator();
  mainform_menu_file_nvi_addr = makeItem(mainform_menu_file, "mainform_menu_file_nvi_addr");
  mainform_menu_file_nvi_comm = makeItem(mainform_menu_file, "mainform_menu_file_nvi_comm");
  mainform_menu_file_nvi_hpgl = makeItem(mainform_menu_file, "mainform_menu_file_nvi_hpgl");
  mainform_menu_file_nvi_mail = makeItem(mainform_menu_file, "mainform_menu_file_nvi_mail");
  for (QAction* item : {mainform_menu_file_nvi_addr, mainform_menu_file_nvi_comm,
                        mainform_menu_file_nvi_hpgl, mainform_menu_file_nvi_mail}) {
    item->setCheckable(true);
  }
  mainform_menu_file_nvi_separator =
      makeItem(mainform_menu_file, "mainform_menu_file_nvi_separator");
  mainform_menu_file_quit = makeItem(mainform_menu_file, "mainform_menu_file_quit");
  mainform_menu_tool = makeMenu("mainform_menu_tool");
  // Option holds the choices that Velorin remembers.
  QMenu* option = mainform_menu_tool->addMenu(QString());
  option->setObjectName(QStringLiteral("mainform_menu_tool_option_menu"));
  mainform_menu_tool_option = option->menuAction();
  mainform_menu_tool_option->setObjectName(QStringLiteral("mainform_menu_tool_option"));
  mainform_menu_tool_option_input_datum = makeItem(option, "mainform_menu_tool_option_input_datum");
  mainform_menu_tool_option_output_datum =
      makeItem(option, "mainform_menu_tool_option_output_datum");
  mainform_menu_tool_option_osm_fuel = makeItem(option, "mainform_menu_tool_option_osm_fuel");
  mainform_menu_tool_option_osm_services =
      makeItem(option, "mainform_menu_tool_option_osm_services");
  mainform_menu_tool_option_osm_hot_spring =
      makeItem(option, "mainform_menu_tool_option_osm_hot_spring");
  mainform_menu_tool_option_osm_parking = makeItem(option, "mainform_menu_tool_option_osm_parking");
  for (QAction* choice :
       {mainform_menu_tool_option_input_datum, mainform_menu_tool_option_output_datum,
        mainform_menu_tool_option_osm_fuel, mainform_menu_tool_option_osm_services,
        mainform_menu_tool_option_osm_hot_spring, mainform_menu_tool_option_osm_parking}) {
    choice->setCheckable(true);
  }
  mainform_menu_help = makeMenu("mainform_menu_help");
  mainform_menu_help_help = makeItem(mainform_menu_help, "mainform_menu_help_help");
  mainform_menu_help_dummy1 = makeItem(mainform_menu_help, "mainform_menu_help_dummy1");
  mainform_menu_help_about = makeItem(mainform_menu_help, "mainform_menu_help_about");
}

void mainform::PlaceControls() {
  const int dpiX = logicalDpiX();
  const int dpiY = logicalDpiY();
  for (const TwipsPlacement& p : MainWindowLayout()) {
    Control(p.control)->setGeometry(TwipsRect(p.left, p.top, p.width, p.height, dpiX, dpiY));
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
  MainPresenter& rules = *presenter_;
  connect(Text_for_POT, &QLineEdit::textChanged, this, [&rules] { rules.UpdateConvertCommand(); });
  connect(Text_for_POT, &QLineEdit::textChanged, this, &mainform::OnInputPathChanged);
  connect(mainform_menu_file, &QMenu::aboutToShow, this, &mainform::UpdateMapCommand);
  connect(mainform_menu_file_map, &QAction::triggered, this, &mainform::ShowMap);
  connect(mainform_menu_file_convert_edited, &QAction::triggered, this,
          &mainform::ConvertEditedPoints);
  connect(Text_for_NVI, &QLineEdit::textChanged, this, [&rules] { rules.UpdateConvertCommand(); });
  connect(Command_for_POT, &QPushButton::clicked, this, [&rules] { rules.InputDialogCommand(); });
  connect(Command_for_NVI, &QPushButton::clicked, this, [&rules] { rules.OutputDialogCommand(); });
  connect(Command_for_Convert, &QPushButton::clicked, this, [&rules] { rules.ConvertCommand(); });
  connect(Command_for_Cancel, &QPushButton::clicked, this, [&rules] { rules.CancelCommand(); });
  connect(Command_for_Quit, &QPushButton::clicked, this, [&rules] { rules.QuitCommand(); });
  connect(mainform_menu_file_quit, &QAction::triggered, this, [&rules] { rules.QuitCommand(); });
  for (const auto& [item, field] : {std::pair{mainform_menu_file_nvi_addr, NviField::kAddr},
                                    std::pair{mainform_menu_file_nvi_comm, NviField::kComm},
                                    std::pair{mainform_menu_file_nvi_hpgl, NviField::kHpgl},
                                    std::pair{mainform_menu_file_nvi_mail, NviField::kMail}}) {
    // The rules decide the check mark; the click only asks.
    connect(item, &QAction::triggered, this,
            [&rules, field = field] { rules.NviFieldCommand(field); });
  }
  connect(mainform_menu_help_help, &QAction::triggered, this, [&rules] { rules.HelpCommand(); });
  connect(mainform_menu_help_about, &QAction::triggered, this, [&rules] { rules.AboutCommand(); });
  connect(mainform_menu_tool_option_input_datum, &QAction::triggered, this, [this, &rules] {
    rules.InputDatumCommand();
    if (mapWindow_ != nullptr) mapWindow_->SetInputDatum(rules.InputDatum());
  });
  connect(mainform_menu_tool_option_output_datum, &QAction::triggered, this, [this, &rules] {
    rules.OutputDatumCommand();
    if (mapWindow_ != nullptr) mapWindow_->SetOutputDatum(rules.OutputDatum());
  });
  for (const auto& [item, preset] :
       {std::pair{mainform_menu_tool_option_osm_fuel, OsmPreset::kFuel},
        std::pair{mainform_menu_tool_option_osm_services, OsmPreset::kServices},
        std::pair{mainform_menu_tool_option_osm_hot_spring, OsmPreset::kHotSpring},
        std::pair{mainform_menu_tool_option_osm_parking, OsmPreset::kParking}}) {
    connect(item, &QAction::triggered, this,
            [&rules, preset = preset] { rules.OsmTagsCommand(preset); });
  }
}

void mainform::ApplyMainWindowTexts() { presenter_->ApplyMainWindowTexts(); }

void mainform::ShowExecutionPanel(std::int16_t mode) { presenter_->ShowExecutionPanel(mode); }

void mainform::SetDropTargetsEnabled(bool enabled) { presenter_->SetDropTargetsEnabled(enabled); }

void mainform::FixWindowSize() {
  const QSize client(TwipsToPixels(kMainClientWidthTwips, logicalDpiX()),
                     TwipsToPixels(kMainClientHeightTwips, logicalDpiY()));
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
  if (!presenter_->CanClose()) {
    event->ignore();  // a conversion runs: refused without a word
    return;
  }
  // The map's edits go with the program: asked about first.
  if (mapWindow_ != nullptr && !mapWindow_->MayLetEditsGo()) {
    event->ignore();
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
      presenter_->FilesDropped(ControlOf(target), {file.toStdString()});
      return true;
    }
    default:
      return false;
  }
}

void mainform::UpdateMapCommand() {
  mainform_menu_file_map->setEnabled(
      IsReadablePointFile(files_, Text_for_POT->text().toStdString()));
  const bool edits = mapWindow_ != nullptr && mapWindow_->isVisible() && mapWindow_->HoldsEdits();
  mainform_menu_file_convert_edited->setVisible(edits);
  mainform_menu_file_convert_edited->setEnabled(edits && !Text_for_NVI->text().isEmpty());
}

void mainform::ConvertEditedPoints() {
  if (mapWindow_ == nullptr || !mapWindow_->HoldsEdits()) return;
  // The map's points are read as they are: no edit while they are.
  mapWindow_->setEnabled(false);
  presenter_->ConvertPointsCommand(mapWindow_->EditedPointsInput());
  mapWindow_->setEnabled(true);
}

void mainform::OnInputPathChanged() {
  UpdateMapCommand();
  if (mapWindow_ != nullptr && mapWindow_->isVisible() && !Text_for_POT->text().isEmpty())
    mapWindow_->ShowFile(Text_for_POT->text());
}

void mainform::ShowMap() {
  if (mapWindow_ == nullptr)
    mapWindow_ = new MapWindow(presenter_->Tables(), presenter_->Locations(), this, files_);
  if (mapWindow_->File() != Text_for_POT->text() || !mapWindow_->isVisible())
    mapWindow_->ShowFile(Text_for_POT->text());
  // Where the user left it, or beside the main window, not over it.
  if (!mapWindow_->isVisible())
    ShowBeside(*mapWindow_, *this, mapWindow_->Files(), presenter_->Locations().mapSettingsPath);
  mapWindow_->raise();
  mapWindow_->activateWindow();
}

}  // namespace velorin
