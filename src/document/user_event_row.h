#pragma once
// One user event as the "User Events" grid shows it: the texts of its cells,
// and the steps that fill a row from the image and store a row into it. The
// page only moves these texts between its grid and the row.
//
// List cells are compared with the list texts as the user sees them (through
// the language file), first match in list order.
#include <cstddef>
#include <string>

#include "document/config_image.h"
#include "document/list_table.h"

namespace wk {

struct UserEventRow {
  std::u16string workmode;     // column 1
  std::u16string sensor;       // column 2, "T1.01".."T2.16"
  std::u16string lo;           // column 3, degrees
  std::u16string hi;           // column 4, degrees
  std::u16string condition;    // column 5
  std::u16string multiaction;  // column 6

  bool operator==(const UserEventRow&) const = default;
};

// Image to row for user event 0..15. A workmode or multiaction that no list
// item carries shows as "(code)", which matches no item, so that storing the
// row leaves it as it was.
UserEventRow LoadUserEventRow(ConfigImage& image, std::size_t event);

// The row's background: the colour of the workmode the record holds.
Rgb UserEventRowColour(ConfigImage& image, std::size_t event);

// Row to image: workmode, sensor, Lo then Hi, condition, multiaction. A list
// text that matches no item, and a sensor text that does not read as
// "T%d.%d", leave their bits. A threshold is brought to the nearest
// hundredth and clamped to the field; one that does not read keeps its value.
// Both threshold texts of row become the stored values ("%.02f"). Returns how
// many threshold cells did not read (0, 1 or 2), each worth a message.
int StoreUserEventRow(UserEventRow& row, ConfigImage& image, std::size_t event);

}  // namespace wk
