#include "gui/map/skip_list_model.h"

namespace velorin {

SkipListModel::SkipListModel(const MapTexts& texts, QObject* parent)
    : QAbstractListModel(parent), texts_(texts) {}

void SkipListModel::SetData(std::shared_ptr<const MapData> data) {
  beginResetModel();
  data_ = std::move(data);
  endResetModel();
}

int SkipListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !data_) return 0;
  return static_cast<int>(data_->read.points.skips().size());
}

QVariant SkipListModel::data(const QModelIndex& index, int role) const {
  if (!data_ || !index.isValid() || index.row() >= rowCount()) return QVariant();
  if (role != Qt::DisplayRole) return QVariant();
  return texts_.SkipText(data_->read.points.skips()[static_cast<std::size_t>(index.row())]);
}

}  // namespace velorin
