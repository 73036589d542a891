#pragma once
// What the grid pages of the main channels, user events and outputs share:
// building their grid from a column table, moving texts and colours between
// the core and the cells, and the grid steps their store routines start with.
#include <QColor>
#include <QString>
#include <QStringList>
#include <span>
#include <string>

#include "document/list_table.h"
#include "widgets/grid.h"

namespace wk {

struct GridColumn {
  const char* header;  // translated when shown
  int width;           // 0: the rest of the grid's width
  GridCellKind kind;
};

// Sets the grid's shape, row 0's height, the headers (translated) and widths
// of columns, and the kind of every data cell by its column.
void buildGrid(Grid& grid, int rows, std::span<const GridColumn> columns, int headerHeight);

// The column of width 0 gets the grid's width less slack and the other
// widths, when that is more than 0; otherwise it keeps its width.
void fitRestColumn(Grid& grid, std::span<const GridColumn> columns, int slack);

// Ends the edit of the top-left selected cell, if that cell is being edited,
// committing its text first.
void endEditOfTopLeftCell(Grid& grid);

inline QString qstr(const std::u16string& text) { return QString::fromStdU16String(text); }
inline QString qstr(const std::string& ascii) { return QString::fromStdString(ascii); }
inline std::u16string cellText(const Grid& grid, int row, int col) { return grid.text(row, col).toStdU16String(); }
inline QColor qcolour(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// A list's translated texts, in list order.
QStringList listItems(const ListTable& list);
// The thermosensor slots T1.01 .. T2.16.
QStringList sensorItems();

// Sets the background of cells first..last of row and redraws each.
void colourCells(Grid& grid, int row, int first, int last, Rgb colour);

}  // namespace wk
