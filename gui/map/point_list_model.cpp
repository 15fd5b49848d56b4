#include "gui/map/point_list_model.h"

#include <QBrush>
#include <QFont>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>

#include "gui/map/map_colours.h"

namespace velorin {
namespace {

QString Count(std::size_t count) { return QLocale().toString(static_cast<qulonglong>(count)); }

QString DegreesText(double degrees) { return QString::number(degrees, 'f', 5); }

}  // namespace

PointListModel::PointListModel(const MapTexts& texts, QObject* parent)
    : QAbstractTableModel(parent), texts_(texts) {}

void PointListModel::SetEditor(const PointEditor* editor) {
  beginResetModel();
  editor_ = editor;
  endResetModel();
}

void PointListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

std::optional<std::uint32_t> PointListModel::ItemAt(int row) const {
  if (editor_ == nullptr || row < 0 || row >= rowCount()) return std::nullopt;
  const ListRow shown = editor_->list().Row(static_cast<std::size_t>(row));
  if (shown.heading) return std::nullopt;
  return shown.item;
}

std::optional<int> PointListModel::RowOf(std::uint32_t item) const {
  if (editor_ == nullptr) return std::nullopt;
  const std::optional<std::size_t> row = editor_->list().RowOf(item);
  if (!row) return std::nullopt;
  return static_cast<int>(*row);
}

bool PointListModel::IsHeading(int row) const {
  return editor_ != nullptr && row >= 0 && row < rowCount() &&
         editor_->list().Row(static_cast<std::size_t>(row)).heading;
}

int PointListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || editor_ == nullptr) return 0;
  return static_cast<int>(editor_->list().RowCount());
}

int PointListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kTitleColumn:
      return texts_.Message(kTitleMessage);
    case kLongitudeColumn:
      return texts_.Message(kLongitudeMessage);
    case kLatitudeColumn:
      return texts_.Message(kLatitudeMessage);
    case kLineColumn:
      return texts_.Message(kLineMessage);
    default:
      return {};
  }
}

QVariant PointListModel::data(const QModelIndex& index, int role) const {
  if (editor_ == nullptr || !index.isValid() || index.row() >= rowCount()) return {};
  const ListRow row = editor_->list().Row(static_cast<std::size_t>(index.row()));
  return row.heading ? HeadingData(row, index.column(), role)
                     : ItemData(row.item, index.column(), role);
}

QVariant PointListModel::HeadingData(const ListRow& row, int column, int role) const {
  if (role == Qt::FontRole) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role == Qt::BackgroundRole) return QBrush(QPalette().color(QPalette::AlternateBase));
  if (role != Qt::DisplayRole || column != kTitleColumn) return {};
  const PointList& list = editor_->list();
  const std::size_t count = list.Count(row.group);
  switch (row.group) {
    case ListGroup::kPoints:
      return texts_.Message(kPointCountMessage) + QLatin1Char(' ') + Count(count);
    case ListGroup::kSkipped:
      return texts_.Message(kSkippedMessage) + QLatin1Char(' ') + Count(count);
    case ListGroup::kUntitled:
      return texts_.Message(kSkippedUntitledMessage) + QLatin1Char(' ') + Count(count);
    case ListGroup::kOutOfRange:
      return texts_.Message(kSkippedOutOfRangeMessage) + QLatin1Char(' ') + Count(count);
    case ListGroup::kUnreadable:
      return texts_.Message(kSkippedUnreadableMessage) + QLatin1Char(' ') + Count(count);
  }
  return {};
}

QVariant PointListModel::ItemData(std::uint32_t item, int column, int role) const {
  const EditedPoints& points = editor_->points();
  const bool skipped = IsSkipped(points.Status(item));
  if (role == Qt::ForegroundRole && skipped) return QBrush(kSkippedColour.darker(130));
  if (role == Qt::ToolTipRole) {
    return skipped ? texts_.SkipText(points, item) : texts_.PointText(points, item);
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const std::optional<LonLat> position = points.Position(item);
  switch (column) {
    case kTitleColumn:
      return QString::fromUtf8(points.Title(item));
    case kLongitudeColumn:
      return position ? DegreesText(position->longitude) : QString();
    case kLatitudeColumn:
      return position ? DegreesText(position->latitude) : QString();
    case kLineColumn:
      return points.Line(item) > 0 ? QString::number(points.Line(item)) : QString();
    default:
      return {};
  }
}

Qt::ItemFlags PointListModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || IsHeading(index.row())) return Qt::ItemIsEnabled;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kTitleColumn) flags |= Qt::ItemIsEditable;
  return flags;
}

bool PointListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != kTitleColumn) return false;
  const std::optional<std::uint32_t> item = ItemAt(index.row());
  if (!item) return false;
  emit RenameRequested(*item, value.toString());
  return true;
}

QWidget* TitleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setObjectName(QStringLiteral("map_title_editor"));
    connect(line, &QLineEdit::textEdited, this, &TitleDelegate::TitleTyped);
  }
  return editor;
}

void TitleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  QStyledItemDelegate::setEditorData(editor, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) emit TitleTyped(line->text());
}

void TitleDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
  emit EditingEnded();
  QStyledItemDelegate::destroyEditor(editor, index);
}

}  // namespace velorin
