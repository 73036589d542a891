#include "widgets/grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOption>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/grid_parts.h"

namespace wk {
namespace {

constexpr const char* kLastPickProperty = "wkLastPick";

void updateHeaderSection(QHeaderView* header, int section) {
  const int at = header->sectionViewportPosition(section);
  const int size = header->sectionSize(section);
  const QRect r = header->orientation() == Qt::Horizontal ? QRect(at, 0, size, header->height())
                                                          : QRect(0, at, header->width(), size);
  header->viewport()->update(r);
}

bool isEditable(const GridCell& cell) { return !cell.readOnly && cell.kind != GridCellKind::Check; }

}  // namespace

// ---------------------------------------------------------------- GridModel

QString GridModel::timeText(const QTime& time) {
  return time.isValid() ? time.toString(QStringLiteral("H:mm:ss")) : QString();
}

void GridModel::changed(int row, int col) {
  if (row == 0 && col == 0) {
    grid_.redrawCell(0, 0);
  } else if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
  } else if (col == 0) {
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
  } else {
    const QModelIndex at = index(row - 1, col - 1);
    emit dataChanged(at, at);
  }
}

void GridModel::changedAll() {
  if (rows_ > 1 && cols_ > 1) emit dataChanged(index(0, 0), index(rows_ - 2, cols_ - 2));
  if (cols_ > 1) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 2);
  if (rows_ > 1) emit headerDataChanged(Qt::Vertical, 0, rows_ - 2);
  grid_.redrawCell(0, 0);
}

void GridModel::resize(int rows, int cols) {
  rows = std::max(rows, 1);
  cols = std::max(cols, 1);
  if (cols != cols_) {
    // Rebuild row by row, keeping the cells that stay.
    std::vector<GridCell> cells(static_cast<std::size_t>(rows_ * cols));
    for (int r = 0; r < rows_; ++r)
      for (int c = 0; c < std::min(cols, cols_); ++c)
        cells[static_cast<std::size_t>(r * cols + c)] = std::move(cell(r, c));
    if (cols > cols_) {
      beginInsertColumns({}, cols_ - 1, cols - 2);
      cells_ = std::move(cells);
      cols_ = cols;
      endInsertColumns();
    } else {
      beginRemoveColumns({}, cols - 1, cols_ - 2);
      cells_ = std::move(cells);
      cols_ = cols;
      endRemoveColumns();
    }
  }
  if (rows > rows_) {
    beginInsertRows({}, rows_ - 1, rows - 2);
    cells_.resize(static_cast<std::size_t>(rows * cols_));
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows({}, rows - 1, rows_ - 2);
    cells_.resize(static_cast<std::size_t>(rows * cols_));
    rows_ = rows;
    endRemoveRows();
  }
}

void GridModel::insertGridRow(int row) {
  beginInsertRows({}, row - 1, row - 1);
  cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(row * cols_), static_cast<std::size_t>(cols_), GridCell{});
  ++rows_;
  endInsertRows();
}

void GridModel::removeGridRows(int first, int last) {
  beginRemoveRows({}, first - 1, last - 1);
  cells_.erase(cells_.begin() + static_cast<std::ptrdiff_t>(first * cols_),
               cells_.begin() + static_cast<std::ptrdiff_t>((last + 1) * cols_));
  rows_ -= last - first + 1;
  endRemoveRows();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_ - 1; }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_ - 1; }

QVariant GridModel::cellData(const GridCell& c, int role) const {
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return c.kind == GridCellKind::Time ? timeText(c.time) : c.text;
    case Qt::BackgroundRole:
      return c.background.isValid() ? QVariant(QBrush(c.background)) : QVariant();
    case Qt::ForegroundRole:
      return c.textColor.isValid() ? QVariant(QBrush(c.textColor)) : QVariant();
    case Qt::CheckStateRole:
      return c.kind == GridCellKind::Check ? QVariant(c.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::TextAlignmentRole:
      return c.kind == GridCellKind::Numeric ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
      return {};
  }
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  return cellData(cell(index.row() + 1, index.column() + 1), role);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const int row = orientation == Qt::Horizontal ? 0 : section + 1;
  const int col = orientation == Qt::Horizontal ? section + 1 : 0;
  if (!contains(row, col)) return {};
  if (role == Qt::CheckStateRole || role == Qt::TextAlignmentRole) return {};
  return cellData(cell(row, col), role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const GridCell& c = cell(index.row() + 1, index.column() + 1);
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (c.kind == GridCellKind::Check && !c.readOnly) f |= Qt::ItemIsUserCheckable;
  if (isEditable(c)) f |= Qt::ItemIsEditable;
  return f;
}

// Only the view's own check-box toggles arrive here; edits go through the
// delegate to Grid::commitEditor.
bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole) return false;
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  GridCell& c = cell(row, col);
  if (c.kind != GridCellKind::Check || c.readOnly) return false;
  const bool checked = value.toInt() == Qt::Checked;
  if (checked == c.checked) return true;
  c.checked = checked;
  changed(row, col);
  emit grid_.checkToggled(row, col);
  return true;
}

// ------------------------------------------------------------- GridDelegate

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  const GridCell& c = model_.cell(row, col);
  QWidget* editor = nullptr;
  switch (c.kind) {
    case GridCellKind::Check:
      return nullptr;
    case GridCellKind::Text:
    case GridCellKind::Digits:
    case GridCellKind::Numeric: {
      auto* line = new QLineEdit(parent);
      line->setFrame(false);
      if (!c.pattern.isEmpty()) {
        line->setValidator(new QRegularExpressionValidator(QRegularExpression(c.pattern), line));
      } else if (c.kind != GridCellKind::Text) {
        static const QRegularExpression digits(QStringLiteral("[0-9]*"));
        line->setValidator(new QRegularExpressionValidator(digits, line));
      }
      if (c.kind == GridCellKind::Numeric) line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      editor = line;
      break;
    }
    case GridCellKind::Combo: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(false);
      combo->addItems(c.items);
      Grid* grid = &grid_;
      QObject::connect(combo, &QComboBox::activated, combo,
                       [grid, combo](int picked) { grid->listItemPicked(combo, picked); });
      // The list opens as soon as the edit starts, once the editor is placed.
      QTimer::singleShot(0, combo, [combo] {
        if (combo->isVisible()) combo->showPopup();
      });
      editor = combo;
      break;
    }
    case GridCellKind::Time: {
      auto* edit = new QTimeEdit(parent);
      edit->setDisplayFormat(QStringLiteral("H:mm:ss"));
      edit->setFrame(false);
      edit->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
      editor = edit;
      break;
    }
  }
  grid_.editorOpened(editor, row, col);
  return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const GridCell& c = model_.cell(index.row() + 1, index.column() + 1);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setText(c.text);
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    const int at = combo->findText(c.text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(at);
    combo->setProperty(kLastPickProperty, at);
  } else if (auto* edit = qobject_cast<QTimeEdit*>(editor)) {
    edit->setTime(c.time.isValid() ? c.time : QTime(0, 0));
  }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    grid_.commitEditor(row, col, line->text());
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    // No item chosen (a text the list does not hold): the cell keeps its text.
    if (combo->currentIndex() >= 0) grid_.commitEditor(row, col, combo->currentText());
  } else if (auto* edit = qobject_cast<QTimeEdit*>(editor)) {
    grid_.commitEditor(row, col, edit->time());
  }
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const {
  editor->setGeometry(option.rect);
}

bool GridDelegate::isCentredCheck(const QModelIndex& index) const {
  const GridCell& c = model_.cell(index.row() + 1, index.column() + 1);
  return c.kind == GridCellKind::Check && c.text.isEmpty();
}

QRect GridDelegate::centredCheckRect(const QStyleOptionViewItem& option) const {
  const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
  const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
  const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
  return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!isCentredCheck(index)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const bool checked = cell.checkState == Qt::Checked;
  cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
  QStyleOptionViewItem box = cell;
  box.rect = centredCheckRect(option);
  box.state = (box.state & ~QStyle::State_HasFocus) | (checked ? QStyle::State_On : QStyle::State_Off);
  style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, cell.widget);
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
  const bool mouse = event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick ||
                     event->type() == QEvent::MouseButtonPress;
  if (!mouse || !isCentredCheck(index) || !(index.flags() & Qt::ItemIsUserCheckable))
    return QStyledItemDelegate::editorEvent(event, model, option, index);
  auto* click = static_cast<QMouseEvent*>(event);
  if (click->button() != Qt::LeftButton || !centredCheckRect(option).contains(click->position().toPoint()))
    return false;
  if (event->type() != QEvent::MouseButtonRelease) return event->type() == QEvent::MouseButtonDblClick;
  const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
  return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

// Enter commits at once (Qt's own handling waits for the event loop), so a
// page that ends an edit and reads the cell sees one order of events.
bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (editor && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (auto* spin = qobject_cast<QAbstractSpinBox*>(editor)) spin->interpretText();
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
  grid_.editorDestroyed(editor);
  QStyledItemDelegate::destroyEditor(editor, index);
}

// ----------------------------------------------------------------- GridView

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // Tab and Shift+Tab: the edit ends and is reported before the focus moves
  // on, and the focus moves without opening the next cell's editor.
  const bool next = hint == QAbstractItemDelegate::EditNextItem;
  const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
  QTableView::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
  grid_.editorClosed();
  if (next || previous) {
    const QModelIndex to = moveCursor(next ? MoveNext : MovePrevious, Qt::NoModifier);
    if (to.isValid()) setCurrentIndex(to);
  }
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex to = QTableView::moveCursor(action, modifiers);
  if (to.isValid() && to != currentIndex()) grid_.aboutToMoveTo(to.row() + 1, to.column() + 1);
  return to;
}

void GridView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid()) grid_.aboutToMoveTo(at.row() + 1, at.column() + 1);
  mouseDown_ = true;
  QTableView::mousePressEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  mouseDown_ = false;
  if (!focusMovedByMouse_) return;
  focusMovedByMouse_ = false;
  const QModelIndex at = currentIndex();
  if (at.isValid()) emit grid_.focusMoved(at.row() + 1, at.column() + 1);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!current.isValid() || current == previous) return;
  if (mouseDown_) {
    focusMovedByMouse_ = true;
    return;
  }
  emit grid_.focusMoved(current.row() + 1, current.column() + 1);
}

void GridView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      // Keys an editor leaves alone end its edit before the cursor moves.
      grid_.endEditing();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (state() != EditingState && currentIndex().isValid() && edit(currentIndex(), EditKeyPressed, event))
        return;
      break;
    default:
      break;
  }
  QTableView::keyPressEvent(event);
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // A click on the selected cell opens its editor only after the double-click
  // time, and the view drops the keys typed meanwhile. A key that would start
  // an edit starts it at once instead, and the delayed edit is called off.
  if (trigger == AnyKeyPressed && delayedEdit_) {
    QTableView::edit(index, CurrentChanged, nullptr);  // stops the delayed edit
    delayedEdit_ = false;
  }
  const bool started = QTableView::edit(index, trigger, event);
  if (trigger == SelectedClicked) delayedEdit_ = started && state() != EditingState;
  else if (trigger != AnyKeyPressed && trigger != EditKeyPressed) delayedEdit_ = false;
  return started;
}

// --------------------------------------------------------------------- Grid

Grid::Grid(QWidget* parent)
    : QWidget(parent),
      model_(new GridModel(*this)),
      view_(new GridView(*this)),
      delegate_(new GridDelegate(*this, *model_)) {
  model_->setParent(this);
  delegate_->setParent(this);
  view_->setModel(model_);
  view_->setItemDelegate(delegate_);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setSelectionBehavior(QAbstractItemView::SelectItems);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  view_->setWordWrap(false);
  view_->horizontalHeader()->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
  view_->horizontalHeader()->setHighlightSections(false);
  view_->verticalHeader()->setHighlightSections(false);
  view_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  view_->verticalHeader()->setMinimumSectionSize(4);
  view_->horizontalHeader()->setMinimumSectionSize(4);
  view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  // Header clicks select a whole row or column; they count as a focus move.
  view_->horizontalHeader()->viewport()->installEventFilter(this);
  view_->verticalHeader()->viewport()->installEventFilter(this);
  // The corner button shows the text of cell (0, 0).
  corner_ = view_->findChild<QAbstractButton*>();
  if (corner_) corner_->installEventFilter(this);

  connect(view_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& at) { emit cellDoubleClicked(at.row() + 1, at.column() + 1); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setFocusProxy(view_);
}

Grid::~Grid() {
  // Editors must not call back into a half-destroyed grid.
  view_->setItemDelegate(nullptr);
}

QTableView* Grid::view() const { return view_; }

void Grid::setRowCount(int rows) {
  endEditing();
  model_->resize(rows, model_->gridCols());
}

void Grid::setColumnCount(int cols) {
  endEditing();
  model_->resize(model_->gridRows(), cols);
}

int Grid::rowCount() const { return model_->gridRows(); }
int Grid::columnCount() const { return model_->gridCols(); }

void Grid::insertRow(int row) {
  if (row < 1 || row > rowCount()) return;
  endEditing();
  model_->insertGridRow(row);
}

void Grid::deleteRows(int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, rowCount() - 1);
  if (first > last) return;
  endEditing();
  model_->removeGridRows(first, last);
}

void Grid::setColumnWidth(int col, int width) {
  if (col == 0) {
    view_->verticalHeader()->setFixedWidth(width);
  } else if (col > 0 && col < columnCount()) {
    view_->setColumnWidth(col - 1, width);
  }
}

int Grid::columnWidth(int col) const {
  if (col == 0) return view_->verticalHeader()->width();
  return col > 0 && col < columnCount() ? view_->columnWidth(col - 1) : 0;
}

void Grid::setColumnStretch(int col, bool stretch) {
  if (col < 1 || col >= columnCount()) return;
  view_->horizontalHeader()->setSectionResizeMode(col - 1, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
}

void Grid::setRowHeight(int row, int height) {
  if (row == 0) {
    view_->horizontalHeader()->setFixedHeight(height);
  } else if (row > 0 && row < rowCount()) {
    view_->setRowHeight(row - 1, height);
  }
}

int Grid::rowHeight(int row) const {
  if (row == 0) return view_->horizontalHeader()->height();
  return row > 0 && row < rowCount() ? view_->rowHeight(row - 1) : 0;
}

int Grid::defaultRowHeight() const { return view_->verticalHeader()->defaultSectionSize(); }

int Grid::clientWidth() const {
  // The fixed column is part of it, as are the other columns; scroll bars are not.
  int client = width() - 2 * view_->frameWidth();
  if (view_->verticalScrollBar()->isVisible()) client -= view_->verticalScrollBar()->width();
  return std::max(0, client);
}

void Grid::setCellKind(int row, int col, GridCellKind kind) { model_->set(row, col, &GridCell::kind, kind); }
GridCellKind Grid::cellKind(int row, int col) const { return model_->get(row, col, &GridCell::kind); }

void Grid::setItems(int row, int col, const QStringList& items) { model_->set(row, col, &GridCell::items, items); }
QStringList Grid::items(int row, int col) const { return model_->get(row, col, &GridCell::items); }

void Grid::setText(int row, int col, const QString& text) { model_->set(row, col, &GridCell::text, text); }
QString Grid::text(int row, int col) const {
  if (!model_->contains(row, col)) return {};
  const GridCell& c = model_->cell(row, col);
  return c.kind == GridCellKind::Time ? GridModel::timeText(c.time) : c.text;
}

void Grid::setBackground(int row, int col, const QColor& color) {
  model_->set(row, col, &GridCell::background, color);
}
QColor Grid::background(int row, int col) const { return model_->get(row, col, &GridCell::background); }

void Grid::setTextColor(int row, int col, const QColor& color) { model_->set(row, col, &GridCell::textColor, color); }
QColor Grid::textColor(int row, int col) const { return model_->get(row, col, &GridCell::textColor); }

void Grid::setChecked(int row, int col, bool checked) { model_->set(row, col, &GridCell::checked, checked); }
bool Grid::isChecked(int row, int col) const { return model_->get(row, col, &GridCell::checked); }

void Grid::setTime(int row, int col, const QTime& time) { model_->set(row, col, &GridCell::time, time); }
QTime Grid::time(int row, int col) const { return model_->get(row, col, &GridCell::time); }

void Grid::setInputPattern(int row, int col, const QString& pattern) {
  model_->set(row, col, &GridCell::pattern, pattern);
}
QString Grid::inputPattern(int row, int col) const { return model_->get(row, col, &GridCell::pattern); }

void Grid::setReadOnly(int row, int col, bool readOnly) { model_->set(row, col, &GridCell::readOnly, readOnly); }
bool Grid::isReadOnly(int row, int col) const { return model_->get(row, col, &GridCell::readOnly); }

void Grid::redrawCell(int row, int col) {
  if (row == 0 && col == 0) {
    if (corner_) corner_->update();
  } else if (row == 0) {
    updateHeaderSection(view_->horizontalHeader(), col - 1);
  } else if (col == 0) {
    updateHeaderSection(view_->verticalHeader(), row - 1);
  } else if (model_->contains(row, col)) {
    view_->viewport()->update(view_->visualRect(model_->index(row - 1, col - 1)));
  }
}

void Grid::redrawAll() {
  view_->viewport()->update();
  view_->horizontalHeader()->viewport()->update();
  view_->verticalHeader()->viewport()->update();
  if (corner_) corner_->update();
}

CellRange Grid::selectedRange() const {
  CellRange range;
  if (!view_->selectionModel()) return range;
  for (const QItemSelectionRange& r : view_->selectionModel()->selection()) {
    if (!r.isValid()) continue;
    if (!range.isValid()) {
      range = {r.top() + 1, r.left() + 1, r.bottom() + 1, r.right() + 1};
      continue;
    }
    range.minRow = std::min(range.minRow, r.top() + 1);
    range.minCol = std::min(range.minCol, r.left() + 1);
    range.maxRow = std::max(range.maxRow, r.bottom() + 1);
    range.maxCol = std::max(range.maxCol, r.right() + 1);
  }
  return range;
}

void Grid::setSelectedRange(const CellRange& range) {
  const int lastRow = rowCount() - 1;
  const int lastCol = columnCount() - 1;
  if (!range.isValid() || range.minRow < 1 || range.minCol < 1 || range.maxRow > lastRow || range.maxCol > lastCol) {
    view_->selectionModel()->clearSelection();
    return;
  }
  const QModelIndex topLeft = model_->index(range.minRow - 1, range.minCol - 1);
  const QItemSelection selection(topLeft, model_->index(range.maxRow - 1, range.maxCol - 1));
  view_->selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
  view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  view_->scrollTo(topLeft);
}

CellId Grid::focusCell() const {
  const QModelIndex at = view_->currentIndex();
  return at.isValid() ? CellId{at.row() + 1, at.column() + 1} : CellId{};
}

void Grid::setFocusCell(int row, int col) {
  if (row < 1 || col < 1 || !model_->contains(row, col)) return;
  view_->setCurrentIndex(model_->index(row - 1, col - 1));
}

bool Grid::isEditing() const { return editor_ != nullptr; }

CellId Grid::editingCell() const { return editor_ ? editing_ : CellId{}; }

bool Grid::editCell(int row, int col) {
  if (row < 1 || col < 1 || !model_->contains(row, col) || !isEditable(model_->cell(row, col))) return false;
  const QModelIndex at = model_->index(row - 1, col - 1);
  view_->setCurrentIndex(at);
  view_->edit(at);
  return isEditing();
}

bool Grid::endEditing() {
  if (!editor_) return false;
  view_->commitAndClose(editor_);
  return true;
}

bool Grid::cancelEditing() {
  if (!editor_) return false;
  pendingEndEdit_ = {};
  view_->closeWithoutCommit(editor_);
  return true;
}

QRect Grid::cellRect(int row, int col) const {
  if (row < 1 || col < 1 || !model_->contains(row, col)) return {};
  return view_->visualRect(model_->index(row - 1, col - 1));
}

void Grid::editorOpened(QWidget* editor, int row, int col) {
  editor_ = editor;
  editing_ = {row, col};
  pendingEndEdit_ = {};
}

void Grid::editorDestroyed(QWidget* editor) {
  if (editor_ == editor) editor_ = nullptr;
}

void Grid::commitEditor(int row, int col, const QVariant& value) {
  if (!model_->contains(row, col)) return;
  GridCell& c = model_->cell(row, col);
  if (c.kind == GridCellKind::Time) {
    const QTime t = value.toTime();
    if (t == c.time) return;
    c.time = t;
  } else {
    const QString t = value.toString();
    if (t == c.text) return;
    c.text = t;
  }
  model_->changed(row, col);
  pendingEndEdit_ = {row, col};
}

void Grid::editorClosed() {
  const CellId ended = pendingEndEdit_;
  pendingEndEdit_ = {};
  if (ended.isValid()) emit cellEditEnded(ended.row, ended.col);
}

void Grid::listItemPicked(QWidget* combo, int index) {
  if (combo != editor_ || combo->property(kLastPickProperty).toInt() == index) return;
  combo->setProperty(kLastPickProperty, index);
  const CellId cell = editing_;
  const QModelIndex at = model_->index(cell.row - 1, cell.col - 1);
  view_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
  view_->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
  emit cellEditEnded(cell.row, cell.col);
  emit listSelectionChanged(cell.row, cell.col);
}

void Grid::aboutToMoveTo(int row, int col) { emit selectionAboutToChange(row, col); }

bool Grid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    paintCorner(corner_);
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    const QPoint at = press->position().toPoint();
    if (watched == view_->horizontalHeader()->viewport()) {
      const int col = view_->horizontalHeader()->logicalIndexAt(at);
      const int row = view_->verticalHeader()->logicalIndexAt(0);
      if (col >= 0 && row >= 0) aboutToMoveTo(row + 1, col + 1);
    } else if (watched == view_->verticalHeader()->viewport()) {
      const int row = view_->verticalHeader()->logicalIndexAt(at);
      const int col = view_->horizontalHeader()->logicalIndexAt(0);
      if (col >= 0 && row >= 0) aboutToMoveTo(row + 1, col + 1);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Grid::paintCorner(QWidget* corner) {
  QPainter painter(corner);
  QStyleOptionHeader option;
  option.initFrom(corner);
  option.state |= QStyle::State_Raised;
  option.rect = corner->rect();
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.text = model_->cell(0, 0).text;
  option.textAlignment = Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap);
  if (model_->cell(0, 0).background.isValid()) {
    option.palette.setColor(QPalette::Button, model_->cell(0, 0).background);
    option.palette.setColor(QPalette::Window, model_->cell(0, 0).background);
  }
  corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}

}  // namespace wk
