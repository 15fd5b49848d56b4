#include "gui/map/map_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QSplitter>
#include <QVBoxLayout>

#include "gui/map/map_settings.h"
#include "gui/map/map_window_placement.h"
#include "gui/program_icon.h"
#include "map/file_line.h"
#include "text/cp932_decoder.h"
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

}  // namespace

MapWindow::MapWindow(const StartupTables& tables, const FileLocations& locations, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tables_(tables),
      texts_(tables_),
      dataFolder_(locations.dataFolder),
      settingsPath_(locations.mapSettingsPath),
      tiles_(new TileLoader(TileServerFromSettings(locations.mapSettingsPath),
                            QString::fromStdString(locations.tileCacheFolder), this)),
      loader_(new MapDataLoader(this)) {
  setObjectName(QStringLiteral("mapform"));
  setWindowIcon(VelorinIcon());
  CreateControls();
  ApplyTexts();
  connect(loader_, &MapDataLoader::Loaded, this, &MapWindow::Loaded);
  resize(900, 640);
}

MapWindow::~MapWindow() {
  // The program ends with the map open: its place is kept all the same.
  if (isVisible()) RememberPlace(*this, settingsPath_);
}

void MapWindow::CreateControls() {
  canvas_ = new MapCanvas(SharedLandMap(dataFolder_), tiles_, this);
  canvas_->SetPointText([this](std::uint32_t index) {
    return Data() ? texts_.PointText(*Data(), index) : QString();
  });
  canvas_->SetClusterText([this](std::uint32_t count) {
    return texts_.Message(kPointCountMessage) + QLatin1Char(' ') +
           QLocale().toString(static_cast<qlonglong>(count));
  });
  connect(canvas_, &MapCanvas::PointChosen, this, &MapWindow::ShowPoint);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(canvas_);
  splitter->addWidget(CreateSidePanel());
  splitter->setStretchFactor(0, 1);
  splitter->setSizes({660, 240});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(CreateToolbar());
  layout->addWidget(splitter, 1);
  setTabOrder(canvas_, zoomIn_);
  setTabOrder(zoomIn_, zoomOut_);
  setTabOrder(zoomOut_, fit_);
  setTabOrder(fit_, skipList_);
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
  skipCaption_ = new QLabel(panel);
  skips_ = new SkipListModel(texts_, this);
  skipList_ = new QListView(panel);
  skipList_->setObjectName(QStringLiteral("map_skipped"));
  skipList_->setModel(skips_);
  skipList_->setUniformItemSizes(true);
  skipList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  skipCaption_->setBuddy(skipList_);
  details_ = new QLabel(panel);
  details_->setObjectName(QStringLiteral("map_details"));
  details_->setWordWrap(true);
  details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details_->setMinimumHeight(120);
  column->addWidget(skipCaption_);
  column->addWidget(skipList_, 1);
  column->addWidget(details_);
  connect(skipList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { ShowSkip(current); });
  return panel;
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
  skipCaption_->setText(texts_.Message(kSkippedListMessage));
  canvas_->SetTilesFailedText(texts_.Message(kTilesFailedMessage));
}

void MapWindow::ShowFile(const QString& path) {
  path_ = path;
  const QString name = QFileInfo(path).fileName();
  setWindowTitle(name.isEmpty()
                     ? texts_.Message(kMapCaptionMessage)
                     : texts_.Message(kMapCaptionMessage) + QStringLiteral(" - ") + name);
  canvas_->SetNotice(texts_.Message(kReadingMessage));
  details_->clear();
  MapReadOptions options;
  // What Convert would write: NVI, with the settings' untitled rule; the
  // points in WGS 84, from the datum the settings give the input.
  const RunOptions run = RunOptionsFromSettings(tables_.systemSettings).run;
  options.output = PointFormat::kNvi;
  options.untitled = run.untitled;
  options.inputDatum = run.inputDatum;
  loader_->Load(path.toStdString(), options);
}

void MapWindow::SetInputDatum(Datum datum) {
  std::string& entry = tables_.systemSettings[kInputDatumEntry];
  if (DatumOfSetting(entry) == datum) return;
  entry = std::string(SettingOfDatum(datum));
  if (isVisible() && !path_.isEmpty()) ShowFile(path_);
}

void MapWindow::Loaded(std::shared_ptr<const MapData> data) {
  skips_->SetData(data);
  canvas_->SetData(data);
  const QLocale locale;
  count_->setText(texts_.Message(kPointCountMessage) + QLatin1Char(' ') +
                  locale.toString(static_cast<qlonglong>(data->read.points.size())));
  if (data->Failed() && data->read.points.size() == 0) {
    canvas_->SetNotice(texts_.Message(kCannotReadMessage));
  } else if (data->read.points.size() == 0) {
    canvas_->SetNotice(texts_.Message(kNoPointsMessage));
  } else {
    canvas_->SetNotice(QString());
  }
  if (data->Failed() && data->read.outcome.readFailure) {
    details_->setText(texts_.Message(kCannotReadMessage) + QLatin1Char('\n') +
                      QString::fromStdString(data->read.outcome.readFailure->message));
  }
  emit Shown();
}

void MapWindow::ShowSkip(const QModelIndex& index) {
  const MapData* data = Data();
  if (data == nullptr || !index.isValid()) return;
  const MapSkip& skip = data->read.points.skips()[static_cast<std::size_t>(index.row())];
  const std::string line = ReadFileLine(data->path, skip.line, kLineShown);
  // UTF-8 where the bytes are UTF-8 (XML, JSON, most CSV), else Shift-JIS.
  const QString lineText =
      IsValidUtf8(line) ? QString::fromUtf8(line) : QString::fromStdString(Cp932ToUtf8(line));
  QString text = texts_.SkipText(skip);
  const std::string_view reason = data->read.points.Reason(skip);
  if (!reason.empty()) text += QStringLiteral(" (") + QString::fromUtf8(reason) + QLatin1Char(')');
  details_->setText(text + QLatin1Char('\n') + lineText.trimmed());
}

void MapWindow::ShowPoint(std::uint32_t index) {
  if (Data() != nullptr) details_->setText(texts_.PointText(*Data(), index));
}

void MapWindow::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) RememberPlace(*this, settingsPath_);
  QWidget::hideEvent(event);
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace velorin
