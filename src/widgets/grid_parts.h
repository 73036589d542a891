#pragma once
// The pieces inside Grid: the cell store (a table model), the in-place
// editors (a delegate) and the table view. Only grid.cpp uses them.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

#include "widgets/grid.h"

namespace wk {

struct GridCell {
  QString text;
  QColor background;
  QColor textColor;
  QStringList items;
  QString pattern;  // when set, a text editor takes only texts that match it whole
  QTime time;
  GridCellKind kind = GridCellKind::Text;
  bool checked = false;
  bool readOnly = false;
};

// Holds every cell in grid coordinates; the fixed row and column appear to
// the view as its header data, the data cells as its items.
class GridModel : public QAbstractTableModel {
 public:
  explicit GridModel(Grid& grid) : grid_(grid) {}

  int gridRows() const { return rows_; }
  int gridCols() const { return cols_; }
  bool contains(int row, int col) const { return row >= 0 && col >= 0 && row < rows_ && col < cols_; }
  GridCell& cell(int row, int col) { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }
  const GridCell& cell(int row, int col) const { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }
  // Sets one field of a cell and tells the view when it changed.
  template <typename T>
  void set(int row, int col, T GridCell::*field, const T& value) {
    if (!contains(row, col)) return;
    T& current = cell(row, col).*field;
    if (current == value) return;
    current = value;
    changed(row, col);
  }
  // One field of a cell; the field's empty value outside the grid.
  template <typename T>
  T get(int row, int col, T GridCell::*field) const {
    return contains(row, col) ? cell(row, col).*field : T{};
  }
  // Tells the view that the cell changed.
  void changed(int row, int col);
  void changedAll();

  void resize(int rows, int cols);
  void insertGridRow(int row);
  void removeGridRows(int first, int last);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  static QString timeText(const QTime& time);
  QVariant cellData(const GridCell& cell, int role) const;

 private:
  Grid& grid_;
  int rows_ = 1;
  int cols_ = 1;
  std::vector<GridCell> cells_ = std::vector<GridCell>(1);
};

class GridDelegate : public QStyledItemDelegate {
 public:
  GridDelegate(Grid& grid, GridModel& model) : grid_(grid), model_(model) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
  // A check box without text sits in the middle of its cell.
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  bool isCentredCheck(const QModelIndex& index) const;
  QRect centredCheckRect(const QStyleOptionViewItem& option) const;

  Grid& grid_;
  GridModel& model_;
};

class GridView : public QTableView {
 public:
  explicit GridView(Grid& grid) : QTableView(&grid), grid_(grid) {}
  using QTableView::edit;

  // The view's own commit and close, for Grid::endEditing().
  void commitAndClose(QWidget* editor) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  // Closes without taking the editor's text, for Grid::cancelEditing().
  void closeWithoutCommit(QWidget* editor) { closeEditor(editor, QAbstractItemDelegate::RevertModelCache); }

 protected:
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  Grid& grid_;
  bool delayedEdit_ = false;  // a click on the selected cell will open its editor
  bool mouseDown_ = false;
  bool focusMovedByMouse_ = false;
};

}  // namespace wk
