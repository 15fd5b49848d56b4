#include "gui/map/map_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenuBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "gui/map/map_window_placement.h"
#include "gui/message_box.h"
#include "gui/program_icon.h"
#include "map/edited_points_reader.h"
#include "map/tile_settings.h"
#include "window/run_settings.h"

namespace velorin {
namespace {

/// The keys held as the map window's rules tell them.
ClickKeys KeysOf(Qt::KeyboardModifiers modifiers) {
  ClickKeys keys;
  keys.control = modifiers.testFlag(Qt::ControlModifier);
  keys.shift = modifiers.testFlag(Qt::ShiftModifier);
  keys.other = (modifiers & ~(Qt::ControlModifier | Qt::ShiftModifier)) != Qt::NoModifier;
  return keys;
}

QFont MessageFont(const MapTexts& texts, const StartupTables& tables) {
  QFont font(texts.Message(kFontNameMessage));
  float size = 0.0F;
  if (ParseFontSize(tables.messageTable[kFontSizeMessage], size) && size > 0.0F)
    font.setPointSizeF(size);
  return font;
}

/// `text` as a tooltip in `font`, one font for all its characters (the
/// tooltip's own would leave the Japanese to a fallback font).
QString TipInFont(const QString& text, const QFont& font) {
  return QStringLiteral("<p style=\"white-space:pre; font-family:'%1'; font-size:%2pt\">%3</p>")
      .arg(font.family().toHtmlEscaped())
      .arg(font.pointSizeF())
      .arg(text.toHtmlEscaped());
}

/// What the settings say of a reading: the untitled rule, the input's
/// datum, the OpenStreetMap objects kept.
MapReadOptions ReadSettings(const std::vector<std::string>& settings) {
  const RunOptions run = RunOptionsFromSettings(settings).run;
  MapReadOptions options;
  options.untitled = run.untitled;
  options.inputDatum = run.inputDatum;
  options.osm = run.osm;
  return options;
}

}  // namespace

MapWindow::MapWindow(const StartupTables& tables, const FileLocations& locations, QWidget* parent,
                     FileSystem& files)
    : QWidget(parent, Qt::Window),
      tables_(tables),
      texts_(tables_),
      files_(files),
      dataFolder_(locations.dataFolder),
      settingsPath_(locations.mapSettingsPath),
      tiles_(new TileLoader(TileServerFromSettings(files_, locations.mapSettingsPath),
                            QString::fromStdString(locations.tileCacheFolder), this)),
      loader_(new MapDataLoader(files_, this)),
      saver_(*this, texts_, tables_.systemSettings, files_),
      presenter_(*this, texts_.Words(), files_, settingsPath_,
                 ReadSettings(tables_.systemSettings)) {
  setObjectName(QStringLiteral("mapform"));
  setWindowIcon(VelorinIcon());
  CreateControls();
  ApplyTexts();
  connect(loader_, &MapDataLoader::Loaded, this,
          [this](std::shared_ptr<MapData> data) { presenter_.Loaded(std::move(data)); });
  resize(1000, 640);
}

MapWindow::~MapWindow() {
  // The program ends with the map open: its place is kept all the same.
  if (isVisible()) RememberPlace(*this, files_, settingsPath_);
  // Hidden while its members live: QWidget's destructor would hide it after
  // they are gone, and the list's header asks for its texts as it hides.
  hide();
}

void MapWindow::CreateControls() {
  canvas_ = new MapCanvas(SharedLandMap(files_, dataFolder_), tiles_, this);
  canvas_->SetPointText([this](std::uint32_t item) {
    const PointEditor* editor = Editor();
    if (editor == nullptr) return QString();
    const EditedPoints& points = editor->points();
    QString text = texts_.PointText(points, item);
    if (IsSkipped(points.Status(item))) text += QLatin1Char('\n') + texts_.SkipText(points, item);
    return TipInFont(text, font());
  });
  canvas_->SetClusterText([this](std::uint32_t count) {
    return TipInFont(texts_.Message(kPointCountMessage) + QLatin1Char(' ') +
                         QLocale().toString(static_cast<qlonglong>(count)),
                     font());
  });
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(canvas_);
  splitter->addWidget(CreateSidePanel());
  // The map and the list grow and shrink with the window, the map more.
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  splitter->setSizes({580, 420});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setMenuBar(CreateMenus());
  layout->addWidget(CreateToolbar());
  report_ = new QLabel(this);
  report_->setObjectName(QStringLiteral("map_save_report"));
  report_->setWordWrap(true);
  report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  report_->hide();
  layout->addWidget(report_);
  layout->addWidget(splitter, 1);
  setTabOrder(canvas_, zoomIn_);
  setTabOrder(zoomIn_, zoomOut_);
  setTabOrder(zoomOut_, fit_);
  setTabOrder(fit_, find_);
  setTabOrder(find_, list_);
  ConnectMap();
}

QWidget* MapWindow::CreateToolbar() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  auto makeButton = [bar, row](const char* name, const QString& text) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    row->addWidget(button);
    return button;
  };
  zoomIn_ = makeButton("map_zoom_in", QStringLiteral("+"));
  zoomOut_ = makeButton("map_zoom_out", QStringLiteral("\u2212"));
  fit_ = makeButton("map_fit", QString());
  count_ = new QLabel(bar);
  count_->setObjectName(QStringLiteral("map_point_count"));
  row->addSpacing(12);
  row->addWidget(count_, 1);
  connect(zoomIn_, &QToolButton::clicked, canvas_, [this] { canvas_->ZoomBy(1); });
  connect(zoomOut_, &QToolButton::clicked, canvas_, [this] { canvas_->ZoomBy(-1); });
  connect(fit_, &QToolButton::clicked, canvas_, [this] { canvas_->Fit(); });
  return bar;
}

QWidget* MapWindow::CreateSidePanel() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  find_ = new QLineEdit(panel);
  find_->setObjectName(QStringLiteral("map_find"));
  find_->setClearButtonEnabled(true);
  // What a find looks for at most: a long paste is cut at once.
  find_->setMaxLength(static_cast<int>(kFindCharacters));
  model_ = new PointListModel(texts_, this);
  list_ = new QTableView(panel);
  list_->setObjectName(QStringLiteral("map_list"));
  list_->setModel(model_);
  delegate_ = new TitleDelegate(list_);
  list_->setItemDelegateForColumn(PointListModel::kTitleColumn, delegate_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::EditKeyPressed);
  list_->setWordWrap(false);
  list_->setShowGrid(false);
  list_->verticalHeader()->hide();
  // Rows of one height, so that a million cost no measuring.
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
  QHeaderView* header = list_->horizontalHeader();
  header->setSectionResizeMode(PointListModel::kTitleColumn, QHeaderView::Stretch);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  // A column's title is not lit when rows are chosen: to know whether every
  // row is, Qt asks each of a million of them at every repaint.
  header->setHighlightSections(false);
  list_->verticalHeader()->setHighlightSections(false);
  header->setSortIndicator(PointListModel::kLineColumn, Qt::AscendingOrder);
  check_ = new QLabel(panel);
  check_->setObjectName(QStringLiteral("map_title_check"));
  check_->setWordWrap(true);
  check_->hide();
  details_ = new QLabel(panel);
  details_->setObjectName(QStringLiteral("map_details"));
  details_->setWordWrap(true);
  details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details_->setMinimumHeight(120);
  column->addWidget(find_);
  column->addWidget(list_, 1);
  column->addWidget(check_);
  column->addWidget(details_);
  return panel;
}

QAction* MapWindow::MakeAction(const char* name, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(QLatin1String(name));
  action->setShortcutContext(Qt::WindowShortcut);
  addAction(action);
  return action;
}

QMenuBar* MapWindow::CreateMenus() {
  menus_ = new QMenuBar(this);
  QMenu* file = menus_->addMenu(texts_.Message(kFileMenuMessage));
  file->setObjectName(QStringLiteral("map_menu_file"));
  save_ = MakeAction("map_save", MapTexts::Command(QtCommand::kSave));
  save_->setShortcut(QKeySequence::Save);
  saveAs_ = MakeAction("map_save_as", MapTexts::Command(QtCommand::kSaveAs));
  saveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  routes_ = MakeAction("map_routes_and_tracks", texts_.Message(kRoutesAndTracksMessage));
  routes_->setCheckable(true);
  routes_->setChecked(presenter_.RoutesAndTracks());
  close_ = MakeAction("map_close", MapTexts::Command(QtCommand::kClose));
  file->addActions({save_, saveAs_});
  file->addSeparator();
  file->addAction(routes_);
  file->addSeparator();
  file->addAction(close_);
  QMenu* edit = menus_->addMenu(texts_.Message(kEditMenuMessage));
  edit->setObjectName(QStringLiteral("map_menu_edit"));
  undo_ = MakeAction("map_undo", MapTexts::Command(QtCommand::kUndo));
  undo_->setShortcut(QKeySequence::Undo);
  redo_ = MakeAction("map_redo", MapTexts::Command(QtCommand::kRedo));
  redo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  delete_ = MakeAction("map_delete", MapTexts::Command(QtCommand::kDelete));
  delete_->setShortcut(QKeySequence::Delete);
  rename_ = MakeAction("map_rename", MapTexts::Command(QtCommand::kRename));
  rename_->setShortcut(QKeySequence(Qt::Key_F2));
  moveTo_ = MakeAction("map_move_to", texts_.Message(kMoveToMessage));
  add_ = MakeAction("map_add", texts_.Message(kAddPointMessage));
  selectAll_ = MakeAction("map_select_all", MapTexts::Command(QtCommand::kSelectAll));
  selectAll_->setShortcut(QKeySequence::SelectAll);
  findAction_ = MakeAction("map_find_action", MapTexts::Command(QtCommand::kFind));
  findAction_->setShortcut(QKeySequence::Find);
  edit->addActions({undo_, redo_});
  edit->addSeparator();
  edit->addActions({delete_, rename_, moveTo_, add_});
  edit->addSeparator();
  edit->addActions({selectAll_, findAction_});
  return menus_;
}

void MapWindow::ConnectMap() {
  connect(canvas_, &MapCanvas::ItemClicked, this,
          [this](std::uint32_t item, Qt::KeyboardModifiers modifiers) {
            presenter_.ItemClicked(item, KeysOf(modifiers));
          });
  connect(canvas_, &MapCanvas::EmptyClicked, this,
          [this](Qt::KeyboardModifiers modifiers) { presenter_.EmptyClicked(KeysOf(modifiers)); });
  connect(canvas_, &MapCanvas::RectangleChosen, this,
          [this](const std::vector<std::uint32_t>& items, Qt::KeyboardModifiers modifiers) {
            presenter_.RectangleChosen(items, KeysOf(modifiers));
          });
  connect(canvas_, &MapCanvas::ChosenDragged, this,
          [this](double dx, double dy) { presenter_.DragChosen(canvas_->View(), dx, dy); });
  connect(canvas_, &MapCanvas::AddHereRequested, this, &MapWindow::AddPoint);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &MapWindow::ListSelectionChanged);
  connect(
      model_, &PointListModel::RenameRequested, this,
      [this](std::uint32_t item, const QString& title) {
        presenter_.Rename(item, title.toStdString());
      },
      Qt::QueuedConnection);
  connect(delegate_, &TitleDelegate::TitleTyped, this, [this](const QString& title) {
    if (Editor() == nullptr) return;
    check_->setText(texts_.TitleCheckText(title.toStdString(), saver_.TargetFormat(*Editor())));
    check_->setVisible(!check_->text().isEmpty());
  });
  connect(delegate_, &TitleDelegate::EditingEnded, check_, &QLabel::hide);
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    presenter_.SetOrder(column == PointListModel::kTitleColumn ? ListOrder::kTitle
                                                               : ListOrder::kFile);
  });
  connect(find_, &QLineEdit::textChanged, this,
          [this](const QString& text) { presenter_.FindTyped(text.toStdString()); });
  connect(find_, &QLineEdit::returnPressed, this, [this] { presenter_.FindConfirmed(); });
  ConnectCommands();
}

void MapWindow::ConnectCommands() {
  connect(save_, &QAction::triggered, this, [this] { presenter_.Save(); });
  connect(saveAs_, &QAction::triggered, this, [this] { presenter_.SaveAs(); });
  connect(routes_, &QAction::toggled, this, &MapWindow::ShowRoutesAndTracks);
  connect(close_, &QAction::triggered, this, &QWidget::close);
  connect(undo_, &QAction::triggered, this, [this] { presenter_.Undo(); });
  connect(redo_, &QAction::triggered, this, [this] { presenter_.Redo(); });
  connect(delete_, &QAction::triggered, this, [this] { presenter_.DeleteChosen(); });
  connect(rename_, &QAction::triggered, this, &MapWindow::RenameChosen);
  connect(moveTo_, &QAction::triggered, this, &MapWindow::MoveChosen);
  connect(add_, &QAction::triggered, this, [this] { AddPoint(canvas_->View().center); });
  connect(selectAll_, &QAction::triggered, this, [this] { presenter_.SelectAll(); });
  connect(findAction_, &QAction::triggered, this, [this] {
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
  });
}

void MapWindow::ApplyTexts() {
  const QFont font = MessageFont(texts_, tables_);
  setFont(font);
  setWindowTitle(texts_.Message(kMapCaptionMessage));
  zoomIn_->setToolTip(texts_.Message(kZoomInMessage));
  zoomIn_->setAccessibleName(texts_.Message(kZoomInMessage));
  zoomOut_->setToolTip(texts_.Message(kZoomOutMessage));
  zoomOut_->setAccessibleName(texts_.Message(kZoomOutMessage));
  fit_->setText(texts_.Message(kFitMessage));
  find_->setPlaceholderText(MapTexts::Plain(MapTexts::Command(QtCommand::kFind)));
  canvas_->SetTilesFailedText(texts_.Message(kTilesFailedMessage));
  canvas_->SetAddHereText(texts_.Message(kAddHereMessage));
  // Rows of one height, columns as wide as their widest numbers: nothing
  // measured over a million rows.
  const QFontMetrics metrics(font);
  list_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
  const int degrees = metrics.horizontalAdvance(QStringLiteral("-000.00000")) + 12;
  QHeaderView* header = list_->horizontalHeader();
  header->resizeSection(PointListModel::kLongitudeColumn, degrees);
  header->resizeSection(PointListModel::kLatitudeColumn, degrees);
  header->resizeSection(PointListModel::kLineColumn,
                        std::max(metrics.horizontalAdvance(QStringLiteral("0000000")),
                                 metrics.horizontalAdvance(texts_.Message(kLineMessage))) +
                            24);
}

RunInput MapWindow::EditedPointsInput() const {
  return velorin::EditedPointsInput(Editor()->points());
}

bool MapWindow::ShowFile(const QString& path) { return presenter_.ShowFile(path.toStdString()); }

void MapWindow::SetInputDatum(Datum datum) {
  std::string& entry = tables_.systemSettings[kInputDatumEntry];
  if (DatumOfSetting(entry) == datum) return;
  entry = std::string(SettingOfDatum(datum));
  presenter_.SetInputDatum(datum);
  if (isVisible() && !presenter_.Path().empty()) ShowFile(File());
}

void MapWindow::SetOutputDatum(Datum datum) {
  tables_.systemSettings[kOutputDatumEntry] = std::string(SettingOfDatum(datum));
}

void MapWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) RememberPlace(*this, files_, settingsPath_);
  QWidget::hideEvent(event);
}

void MapWindow::closeEvent(QCloseEvent* event) {
  if (!presenter_.MayLetEditsGo()) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // The find box is emptied first; then the window goes.
    if (find_->hasFocus() && !find_->text().isEmpty()) {
      find_->clear();
      return;
    }
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace velorin
