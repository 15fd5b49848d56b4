#include "gui/map/map_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "gui/map/map_window_placement.h"
#include "gui/message_box.h"
#include "gui/program_icon.h"
#include "map/edited_points_reader.h"
#include "map/file_line.h"
#include "map/map_window_settings.h"
#include "map/tile_settings.h"
#include "text/text_encoding.h"
#include "window/run_settings.h"

namespace velorin {
namespace {

// A skipped point's line is shown up to this many bytes.
constexpr std::size_t kLineShown = 400;

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

}  // namespace

MapWindow::MapWindow(const StartupTables& tables, const FileLocations& locations, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tables_(tables),
      texts_(tables_),
      dataFolder_(locations.dataFolder),
      settingsPath_(locations.mapSettingsPath),
      tiles_(new TileLoader(TileServerFromSettings(files_, locations.mapSettingsPath),
                            QString::fromStdString(locations.tileCacheFolder), this)),
      loader_(new MapDataLoader(files_, this)),
      saver_(*this, texts_, tables_.systemSettings, files_) {
  setObjectName(QStringLiteral("mapform"));
  setWindowIcon(VelorinIcon());
  CreateControls();
  ApplyTexts();
  connect(loader_, &MapDataLoader::Loaded, this, &MapWindow::Loaded);
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
  routes_->setChecked(LoadMapRoutesAndTracks(files_, settingsPath_));
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
  connect(canvas_, &MapCanvas::ItemClicked, this, &MapWindow::ItemClicked);
  connect(canvas_, &MapCanvas::EmptyClicked, this, [this](Qt::KeyboardModifiers modifiers) {
    if (Editor() == nullptr || modifiers != Qt::NoModifier) return;
    Editor()->selection().Clear();
    ChoiceChanged();
  });
  connect(canvas_, &MapCanvas::RectangleChosen, this, &MapWindow::RectangleChosen);
  connect(canvas_, &MapCanvas::ChosenDragged, this, [this](double dx, double dy) {
    if (Editor() != nullptr) Edited(Editor()->MoveChosenBy(canvas_->View(), dx, dy));
  });
  connect(canvas_, &MapCanvas::AddHereRequested, this, &MapWindow::AddPoint);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &MapWindow::ListSelectionChanged);
  connect(model_, &PointListModel::RenameRequested, this, &MapWindow::Rename, Qt::QueuedConnection);
  connect(delegate_, &TitleDelegate::TitleTyped, this, [this](const QString& title) {
    if (Editor() == nullptr) return;
    check_->setText(texts_.TitleCheckText(title.toStdString(), saver_.TargetFormat(*Editor())));
    check_->setVisible(!check_->text().isEmpty());
  });
  connect(delegate_, &TitleDelegate::EditingEnded, check_, &QLabel::hide);
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    SetOrder(column == PointListModel::kTitleColumn ? ListOrder::kTitle : ListOrder::kFile);
  });
  connect(find_, &QLineEdit::textChanged, this, &MapWindow::FindTyped);
  connect(find_, &QLineEdit::returnPressed, this, &MapWindow::FindConfirmed);
  connect(save_, &QAction::triggered, this, &MapWindow::Save);
  connect(saveAs_, &QAction::triggered, this, &MapWindow::SaveAs);
  connect(routes_, &QAction::toggled, this, &MapWindow::ShowRoutesAndTracks);
  connect(close_, &QAction::triggered, this, &QWidget::close);
  connect(undo_, &QAction::triggered, this, &MapWindow::Undo);
  connect(redo_, &QAction::triggered, this, &MapWindow::Redo);
  connect(delete_, &QAction::triggered, this, &MapWindow::DeleteChosen);
  connect(rename_, &QAction::triggered, this, &MapWindow::RenameChosen);
  connect(moveTo_, &QAction::triggered, this, &MapWindow::MoveChosen);
  connect(add_, &QAction::triggered, this, [this] { AddPoint(canvas_->View().center); });
  connect(selectAll_, &QAction::triggered, this, &MapWindow::SelectAll);
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

bool MapWindow::HoldsEdits() const {
  return Editor() != nullptr && Editor()->points().edits().HoldsEdits();
}

bool MapWindow::Unsaved() const {
  return Editor() != nullptr && Editor()->points().edits().Unsaved();
}

RunInput MapWindow::EditedPointsInput() const {
  return velorin::EditedPointsInput(Editor()->points());
}

bool MapWindow::MayLetEditsGo() {
  if (!Unsaved() || editsLetGo_) return true;
  const MessageAnswer answer = ShowMessageBox(
      this, texts_.Message(kQuestionTitleMessage),
      texts_.Message(kUnsavedMessage) + QLatin1Char('\n') + texts_.Message(kUnsavedMessage + 1),
      MessageButtons::kSaveDiscardCancel, MessageAnswer::kSave);
  if (answer == MessageAnswer::kSave) {
    const bool saved = saver_.Save(*Editor());
    ShowSaveReport();
    return saved || !Unsaved();
  }
  editsLetGo_ = answer == MessageAnswer::kDiscard;
  return editsLetGo_;
}

bool MapWindow::ShowFile(const QString& path) {
  if (!MayLetEditsGo()) return false;
  path_ = path;
  saver_.Forget();
  Load();
  return true;
}

void MapWindow::Load() {
  editsLetGo_ = false;
  ShowSaveReport();
  UpdateStatus();
  canvas_->SetNotice(texts_.Message(kReadingMessage));
  details_->clear();
  MapReadOptions options;
  // What Convert would write: NVI, with the settings' untitled rule; the
  // points in WGS 84, from the datum the settings give the input.
  const RunOptions run = RunOptionsFromSettings(tables_.systemSettings).run;
  options.output = PointFormat::kNvi;
  options.untitled = run.untitled;
  options.inputDatum = run.inputDatum;
  options.osm = run.osm;
  options.capacity = capacity_;
  if (routes_->isChecked()) options.points = {true, true, true};
  loader_->Load(path_.toStdString(), options);
}

void MapWindow::SetInputDatum(Datum datum) {
  std::string& entry = tables_.systemSettings[kInputDatumEntry];
  if (DatumOfSetting(entry) == datum) return;
  entry = std::string(SettingOfDatum(datum));
  if (isVisible() && !path_.isEmpty()) ShowFile(path_);
}

void MapWindow::SetOutputDatum(Datum datum) {
  tables_.systemSettings[kOutputDatumEntry] = std::string(SettingOfDatum(datum));
}

void MapWindow::Loaded(std::shared_ptr<MapData> data) {
  syncing_ = true;
  model_->SetEditor(data->editor.get());
  syncing_ = false;
  canvas_->SetData(data);
  find_->clear();
  ListChanged();
  const std::size_t points = data->read().points.size();
  if (data->Failed() && points == 0) {
    canvas_->SetNotice(texts_.Message(kCannotReadMessage));
  } else if (points == 0 && data->read().points.skips().empty()) {
    canvas_->SetNotice(texts_.Message(kNoPointsMessage));
  } else {
    canvas_->SetNotice(QString());
  }
  UpdateStatus();
  SayWhatWasNotRead(*data);
  emit Shown();
}

void MapWindow::SayWhatWasNotRead(const MapData& data) {
  const RunOutcome& outcome = data.read().outcome;
  if (data.Failed() && outcome.failedStage == RunStage::kShiftDatum) {
    // As Convert says it: the datum's words, and PROJ's why below.
    const QString notice = texts_.Message(kCannotReadMessage) + QLatin1Char('\n') +
                           texts_.Message(kShiftFailedMessage);
    if (data.read().points.size() == 0) canvas_->SetNotice(notice);
    details_->setText(notice + QLatin1Char('\n') + QString::fromStdString(outcome.shiftFailure));
  } else if (data.Failed() && outcome.readFailure) {
    details_->setText(texts_.Message(kCannotReadMessage) + QLatin1Char('\n') +
                      QString::fromStdString(outcome.readFailure->message));
  }
  if (data.read().full) {
    // At once: the file holds more than the map, which will not save over it.
    ShowMessageBox(this, texts_.Message(kErrorTitleMessage),
                   texts_.Message(kMapFullMessage) + QLatin1Char(' ') +
                       QString::number(data.read().points.size()),
                   MessageButtons::kOk, MessageAnswer::kOk);
  }
}

void MapWindow::ListChanged() {
  const int scroll = list_->verticalScrollBar()->value();
  syncing_ = true;
  model_->Refresh();
  list_->clearSpans();
  if (const PointEditor* editor = Editor()) {
    for (const std::size_t row : editor->list().HeadingRows()) {
      list_->setSpan(static_cast<int>(row), 0, 1, PointListModel::kColumns);
    }
  }
  syncing_ = false;
  PushSelection();
  list_->verticalScrollBar()->setValue(scroll);
}

void MapWindow::ListSelectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
  PointEditor* editor = Editor();
  if (syncing_ || editor == nullptr) return;
  auto apply = [&](const QItemSelection& ranges, bool chosen) {
    for (const QItemSelectionRange& range : ranges) {
      for (int row = range.top(); row <= range.bottom(); ++row) {
        if (const auto item = model_->ItemAt(row)) editor->selection().Set(*item, chosen);
      }
    }
  };
  apply(deselected, false);
  apply(selected, true);
  canvas_->PointsChanged();
  if (const auto item = ChosenAlone()) canvas_->Show(*item);
  ShowDetails();
  UpdateStatus();
}

void MapWindow::PushSelection() {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  const std::vector<std::size_t> rows = editor->list().RowsOf(editor->selection());
  QItemSelection selection;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end] == rows[end - 1] + 1) ++end;
    selection.select(model_->index(static_cast<int>(rows[i]), 0),
                     model_->index(static_cast<int>(rows[end - 1]), PointListModel::kColumns - 1));
    i = end;
  }
  syncing_ = true;
  list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (!rows.empty()) {
    list_->selectionModel()->setCurrentIndex(model_->index(static_cast<int>(rows.front()), 0),
                                             QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

void MapWindow::ChoiceChanged() {
  PushSelection();
  if (const auto item = ChosenAlone()) {
    if (const auto row = model_->RowOf(*item)) list_->scrollTo(model_->index(*row, 0));
  }
  canvas_->PointsChanged();
  ShowDetails();
  UpdateStatus();
}

void MapWindow::ChooseItems(const std::vector<std::uint32_t>& items) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  editor->selection().Clear();
  for (const std::uint32_t item : items) editor->selection().Set(item, true);
  ChoiceChanged();
}

void MapWindow::ItemClicked(std::uint32_t item, Qt::KeyboardModifiers modifiers) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  if (modifiers & Qt::ControlModifier) {
    chosen.Set(item, !chosen.Has(item));
  } else if (modifiers & Qt::ShiftModifier) {
    chosen.Set(item, true);
  } else {
    chosen.Clear();
    chosen.Set(item, true);
  }
  ChoiceChanged();
}

void MapWindow::RectangleChosen(const std::vector<std::uint32_t>& items,
                                Qt::KeyboardModifiers modifiers) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  for (const std::uint32_t item : items) {
    chosen.Set(item, (modifiers & Qt::ControlModifier) ? !chosen.Has(item) : true);
  }
  ChoiceChanged();
}

std::optional<std::uint32_t> MapWindow::ChosenAlone() const {
  const PointEditor* editor = Editor();
  if (editor == nullptr || editor->selection().count() != 1) return std::nullopt;
  std::optional<std::uint32_t> alone;
  editor->selection().ForEach([&](std::uint32_t item) { alone = item; });
  return alone;
}

void MapWindow::ShowDetails() {
  const PointEditor* editor = Editor();
  const std::optional<std::uint32_t> item = ChosenAlone();
  if (editor == nullptr || !item) {
    details_->clear();
    return;
  }
  const EditedPoints& points = editor->points();
  if (!IsSkipped(points.Status(*item))) {
    details_->setText(texts_.PointText(points, *item));
    return;
  }
  QString text = texts_.SkipText(points, *item);
  if (points.IsReadSkip(*item)) {
    // In the encoding the reading chose for the file.
    const EditableMap& map = editor->map();
    const std::string line =
        ReadFileLine(files_, map.path, points.Line(*item), LineEncodingOf(map.read), kLineShown);
    text += QLatin1Char('\n') + QString::fromStdString(line).trimmed();
  }
  details_->setText(text);
}

void MapWindow::UpdateStatus() {
  const PointEditor* editor = Editor();
  const QLocale locale;
  if (editor != nullptr) {
    QString count =
        texts_.Message(kPointCountMessage) + QLatin1Char(' ') +
        locale.toString(static_cast<qulonglong>(editor->list().Total(ListGroup::kPoints)));
    if (editor->selection().count() > 0) {
      count += QStringLiteral("   ") + texts_.Message(kSelectedMessage) + QLatin1Char(' ') +
               locale.toString(static_cast<qulonglong>(editor->selection().count()));
    }
    count_->setText(count);
  } else {
    count_->clear();
  }
  const QString name = QFileInfo(path_).fileName();
  QString title = name.isEmpty()
                      ? texts_.Message(kMapCaptionMessage)
                      : texts_.Message(kMapCaptionMessage) + QStringLiteral(" - ") + name;
  // Edits not saved are marked as editors mark them.
  if (Unsaved()) title += QStringLiteral(" *");
  setWindowTitle(title);
  const bool shown = editor != nullptr;
  const std::size_t chosen = shown ? editor->selection().count() : 0;
  save_->setEnabled(shown);
  saveAs_->setEnabled(shown);
  undo_->setEnabled(shown && editor->points().edits().CanUndo());
  redo_->setEnabled(shown && editor->points().edits().CanRedo());
  delete_->setEnabled(chosen > 0);
  rename_->setEnabled(chosen == 1);
  moveTo_->setEnabled(chosen == 1);
  add_->setEnabled(shown);
  selectAll_->setEnabled(shown);
}

void MapWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) RememberPlace(*this, files_, settingsPath_);
  QWidget::hideEvent(event);
}

void MapWindow::closeEvent(QCloseEvent* event) {
  if (!MayLetEditsGo()) {
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
