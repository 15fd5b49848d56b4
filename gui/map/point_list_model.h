#pragma once
// The list beside the map as a table model over the editor's list: a row
// per heading (the points, the skipped ones and each reason, with their
// counts) and per item (its title, longitude, latitude and line; skipped
// ones greyed). Rows are made only when shown, so that a million cost
// nothing; an item's title is edited in place and handed to the window.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <cstdint>
#include <optional>

#include "gui/map/map_texts.h"
#include "map/point_editor.h"

namespace velorin {

class PointListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kTitleColumn, kLongitudeColumn, kLatitudeColumn, kLineColumn, kColumns };

  PointListModel(const MapTexts& texts, QObject* parent = nullptr);
  /// The list shown (null: none).
  void SetEditor(const PointEditor* editor);
  /// The list changed (an edit, its order, its filter): its rows are read
  /// anew.
  void Refresh();

  /// The item of a row; nothing for a heading.
  std::optional<std::uint32_t> ItemAt(int row) const;
  std::optional<int> RowOf(std::uint32_t item) const;
  /// A heading's row.
  bool IsHeading(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  /// A title typed in place (the window renames once the editor is closed).
  void RenameRequested(std::uint32_t item, const QString& title);

 private:
  QVariant HeadingData(const ListRow& row, int column, int role) const;
  QVariant ItemData(std::uint32_t item, int column, int role) const;

  const MapTexts& texts_;
  const PointEditor* editor_ = nullptr;
};

/// Edits a title in place and tells each text typed, for the window to
/// check it as the output will hold it.
class TitleDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

 signals:
  void TitleTyped(const QString& title) const;
  void EditingEnded() const;
};

}  // namespace velorin
