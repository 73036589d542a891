#include "editors/grid_page_support.h"

#include "document/sensor_ref.h"
#include "language/ui/translate_menu.h"

namespace wk {

void buildGrid(Grid& grid, int rows, std::span<const GridColumn> columns, int headerHeight) {
  grid.setColumnCount(static_cast<int>(columns.size()));
  grid.setRowCount(rows);
  grid.setRowHeight(0, headerHeight);
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const GridColumn& column = columns[static_cast<std::size_t>(c)];
    grid.setText(0, c, qtr(column.header));
    if (column.width > 0) grid.setColumnWidth(c, column.width);
    if (c == 0) continue;
    for (int r = 1; r < rows; ++r) grid.setCellKind(r, c, column.kind);
  }
}

void fitRestColumn(Grid& grid, std::span<const GridColumn> columns, int slack) {
  int others = 0;
  int rest = -1;
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    if (columns[static_cast<std::size_t>(c)].width > 0) others += columns[static_cast<std::size_t>(c)].width;
    else rest = c;
  }
  const int width = grid.width() - slack - others;
  if (rest > 0 && width > 0) grid.setColumnWidth(rest, width);
}

void endEditOfTopLeftCell(Grid& grid) {
  const CellRange selected = grid.selectedRange();
  if (selected.isValid() && grid.editingCell() == CellId{selected.minRow, selected.minCol}) grid.endEditing();
}

QStringList listItems(const ListTable& list) {
  QStringList items;
  for (const std::u16string& text : list.texts()) items << qstr(text);
  return items;
}

QStringList sensorItems() {
  QStringList items;
  for (const std::string& text : SensorRef::listTexts()) items << qstr(text);
  return items;
}

void colourCells(Grid& grid, int row, int first, int last, Rgb colour) {
  for (int c = first; c <= last; ++c) {
    grid.setBackground(row, c, qcolour(colour));
    grid.redrawCell(row, c);
  }
}

}  // namespace wk
