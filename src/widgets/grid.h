#pragma once
// The editable grid on which every section page and the language editor are
// built: a table with one fixed header row and one fixed first column, per-cell
// kinds (text, digits-only text, numeric, drop-down list, check box, time),
// per-cell colours and in-place editing, reporting to its page through three
// notifications.
//
// Coordinates are grid coordinates throughout: row 0 is the fixed header row,
// column 0 the fixed column, data cells start at (1, 1). The fixed cells hold
// texts and colours only (column titles, row titles); (0, 0) is the corner.
//
// Notifications, each with the row and column of the cell concerned:
//   cellEditEnded          an in-place edit ended with a changed text; the cell
//                          already holds the new text. Also sent at once when
//                          the user picks another item in an open drop-down
//                          list: the grid first makes that cell the only
//                          selected one, and the cell still holds its old text.
//                          Ending the edit from the handler (endEditing())
//                          commits the picked item and sends a second, nested
//                          cellEditEnded for the same cell.
//   listSelectionChanged   right after that second kind of cellEditEnded.
//   selectionAboutToChange a click on a cell or a header, or a cursor move to
//                          another cell, before the focus moves; the row and
//                          column are those of the cell the focus moves to.
// and three more for pages that need them: checkToggled after the user toggled
// a check box (by click or Space), cellDoubleClicked after a double click, and
// focusMoved once the focus has moved to another cell (by keys, a click or
// code); after a click only when the button is released, so that a page may
// change row heights without moving cells under the pointer.
//
// Setters change what the grid shows at once; redrawCell() and redrawAll()
// are there for pages that want to repaint explicitly after a batch.
//
// Keys: arrows, Tab/Shift+Tab, Home/End, PgUp/PgDn move; Enter or F2 starts an
// edit (typing starts one too); Enter commits, Esc cancels, Tab commits and
// moves on; Space toggles a check box. A drop-down list opens its list as soon
// as its edit starts and accepts only its items.
#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QTime>
#include <QWidget>

class QTableView;

namespace wk {

enum class GridCellKind {
  Text,     // free text
  Digits,   // text of the digits 0-9 only (phone numbers)
  Numeric,  // an unsigned decimal number, digits only, right-aligned
  Combo,    // drop-down list: a choice among the cell's items, no typed text
  Check,    // check box (with an optional text beside it)
  Time,     // time of day, hours:minutes:seconds, edited with spin arrows
};

// The names the section pages use for the kinds.
inline constexpr GridCellKind CGridCellNumeric = GridCellKind::Numeric;
inline constexpr GridCellKind CGridCellCombo = GridCellKind::Combo;
inline constexpr GridCellKind CGridCellCheck = GridCellKind::Check;

// A rectangle of cells, inclusive; invalid (all -1) when nothing is selected.
struct CellRange {
  int minRow = -1;
  int minCol = -1;
  int maxRow = -1;
  int maxCol = -1;
  bool isValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol; }
  bool operator==(const CellRange&) const = default;
};

struct CellId {
  int row = -1;
  int col = -1;
  bool isValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CellId&) const = default;
};

class GridModel;
class GridView;
class GridDelegate;

class Grid : public QWidget {
  Q_OBJECT

 public:
  explicit Grid(QWidget* parent = nullptr);
  ~Grid() override;

  // Shape. Counts include the fixed row and column; at least 1 each. New cells
  // are empty text cells; an edit in progress is ended (committed) first.
  void setRowCount(int rows);
  void setColumnCount(int cols);
  int rowCount() const;
  int columnCount() const;
  // Inserts an empty data row before row (1..rowCount(); rowCount() appends).
  void insertRow(int row);
  // Deletes data rows first..last (within 1..rowCount()-1).
  void deleteRows(int first, int last);

  // Sizes in pixels. Column 0 is the fixed column, row 0 the header row.
  void setColumnWidth(int col, int width);
  int columnWidth(int col) const;
  // A stretched column (1..) shares the width left over by the others.
  void setColumnStretch(int col, bool stretch);
  void setRowHeight(int row, int height);
  int rowHeight(int row) const;
  // The height of a data row that was never given its own.
  int defaultRowHeight() const;
  // The width the columns can fill without a horizontal scroll bar.
  int clientWidth() const;

  // Cells. Out-of-range coordinates are ignored by setters and read as empty.
  void setCellKind(int row, int col, GridCellKind kind);
  GridCellKind cellKind(int row, int col) const;
  // The items of a drop-down list, in list order.
  void setItems(int row, int col, const QStringList& items);
  QStringList items(int row, int col) const;
  // The text of a time cell is its time as H:mm:ss and cannot be set.
  void setText(int row, int col, const QString& text);
  QString text(int row, int col) const;
  // An invalid colour gives the grid's default.
  void setBackground(int row, int col, const QColor& color);
  QColor background(int row, int col) const;
  void setTextColor(int row, int col, const QColor& color);
  QColor textColor(int row, int col) const;
  void setChecked(int row, int col, bool checked);
  bool isChecked(int row, int col) const;
  void setTime(int row, int col, const QTime& time);
  QTime time(int row, int col) const;
  // Texts typed into a text, digits or numeric cell must match pattern (a
  // regular expression) as a whole, or be on the way to one: the editor
  // refuses any other keystroke. An empty pattern lifts the rule.
  void setInputPattern(int row, int col, const QString& pattern);
  QString inputPattern(int row, int col) const;
  // A read-only cell can be selected but not edited.
  void setReadOnly(int row, int col, bool readOnly);
  bool isReadOnly(int row, int col) const;

  void redrawCell(int row, int col);
  void redrawAll();

  // Selection and focus (data cells only).
  CellRange selectedRange() const;
  void setSelectedRange(const CellRange& range);  // the focus goes to its top-left cell
  CellId focusCell() const;
  void setFocusCell(int row, int col);

  // In-place editing.
  bool isEditing() const;
  CellId editingCell() const;
  // Starts an edit of the cell as the user would (a drop-down opens its list);
  // false for fixed, read-only and check cells.
  bool editCell(int row, int col);
  // Ends the edit in progress, committing its text (a changed text sends
  // cellEditEnded before this returns); false when nothing was being edited.
  bool endEditing();
  // Ends the edit in progress without taking its text and without a
  // notification: for a page that shows its document anew. False when
  // nothing was being edited.
  bool cancelEditing();

  // The table inside, for tests that drive it with mouse and key events, and
  // the on-screen rectangle of a data cell in its viewport's coordinates.
  QTableView* view() const;
  QRect cellRect(int row, int col) const;

 signals:
  void cellEditEnded(int row, int col);
  void listSelectionChanged(int row, int col);
  void selectionAboutToChange(int row, int col);
  void checkToggled(int row, int col);
  void cellDoubleClicked(int row, int col);
  void focusMoved(int row, int col);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class GridView;
  friend class GridDelegate;
  friend class GridModel;

  // Called by the view and the delegate.
  void editorOpened(QWidget* editor, int row, int col);
  void editorDestroyed(QWidget* editor);
  void commitEditor(int row, int col, const QVariant& value);
  void editorClosed();
  void listItemPicked(QWidget* combo, int index);
  void aboutToMoveTo(int row, int col);

  void paintCorner(QWidget* corner);

  GridModel* model_;
  GridView* view_;
  GridDelegate* delegate_;
  QPointer<QWidget> editor_;
  CellId editing_;
  CellId pendingEndEdit_;
  QWidget* corner_ = nullptr;
};

}  // namespace wk
