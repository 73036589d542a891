#pragma once
// What the two thermosensor channel pages and the iButton key page share: a
// grid of 16 device slots (number, ROM code, part names, description, a list
// column and a text column), a row of buttons below it, and the way a device
// is picked: the bus is searched, then the user chooses in the selector.
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "document/rom_code.h"
#include "widgets/grid.h"
#include "widgets/section_page.h"

class QPushButton;

namespace wk {

class OneWirePage : public SectionPage {
 public:
  static constexpr int kRows = 17;  // the header and 16 slots
  static constexpr int kCols = 6;
  static constexpr int kGridWidth = 800;
  // Below the grid when the page is too short for all its rows.
  static constexpr int kBelowGrid = 22;
  static constexpr int kButtonHeight = 22;
  enum Column { kNumberCol = 0, kRomCol = 1, kTypeCol = 2, kDescriptionCol = 3, kListCol = 4, kTextCol = 5 };

  Grid* grid() const { return grid_; }
  int bus() const { return bus_; }
  // The buttons in their order on the page.
  const std::vector<QPushButton*>& buttons() const { return buttons_; }

 protected:
  OneWirePage(const PageContext& context, EditorSlot slot, int bus, QWidget* parent);

  // The headers of the list and text columns and the list's items.
  void setUpGrid(const char* listHeader, const char* textHeader, const QStringList& listItems);
  QPushButton* addButton(const char* text, const std::function<void()>& onClick);

  // Columns 1 to 3 of a row: the code, blue, or sixteen grey zeros; the
  // part names and the translated description.
  void showDevice(int row, const RomCode& rom);
  // The selection when it lies within the slots' rows and columns 1..5.
  std::optional<CellRange> slotSelection() const;
  // The row of the one selected cell when it is in columns 1..3.
  std::optional<int> singleDeviceCell() const;
  // Searches the bus and lets the user choose; nothing when the search
  // failed or found nothing, or the user cancelled.
  std::optional<RomCode> pickDevice();
  bool ask(const char* question);

  void resizeEvent(QResizeEvent* event) override;

 private:
  void layOut();

  int bus_;
  Grid* grid_;
  std::vector<QPushButton*> buttons_;
};

}  // namespace wk
