#pragma once
// The skipped points of a map as a list model: one row per point the
// conversion would skip, its line and why; rows are made only when shown,
// so that half a million of them cost nothing.
#include <QAbstractListModel>
#include <memory>

#include "gui/map/map_data.h"
#include "gui/map/map_texts.h"

namespace velorin {

class SkipListModel : public QAbstractListModel {
 public:
  SkipListModel(const MapTexts& texts, QObject* parent = nullptr);
  void SetData(std::shared_ptr<const MapData> data);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const MapTexts& texts_;
  std::shared_ptr<const MapData> data_;
};

}  // namespace velorin
