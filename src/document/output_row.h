#pragma once
// One output as the "Outputs" grid shows it: the texts of its cells, and the
// steps that fill a row from the image and store a row into it. The page only
// moves these texts between its grid and the row.
//
// List cells are compared with the list texts as the user sees them (through
// the language file), first match in list order.
#include <cstddef>
#include <string>
#include <string_view>

#include "document/config_image.h"
#include "document/list_table.h"

namespace wk {

struct OutputRow {
  std::u16string use;             // column 1
  std::u16string sensor;          // column 2, "T1.01".."T2.16"
  std::u16string hysteresisLow;   // column 3, degrees
  std::u16string hysteresisHigh;  // column 4, degrees
  std::u16string type;            // column 5
  bool inverse = false;           // column 6
  std::u16string aliasIfOff;      // column 7
  std::u16string aliasIfOn;       // column 8

  bool operator==(const OutputRow&) const = default;
};

// Image to row for output 0..5. A use or type that no list item carries shows
// as "(code)", which matches no item, so that storing leaves it as it was.
OutputRow LoadOutputRow(ConfigImage& image, std::size_t output);

// The background of cells 2..8: the colour of the use the record holds, the
// same whether the grid was refreshed or the use just picked.
Rgb OutputRowColour(ConfigImage& image, std::size_t output);

// Row to image as every end of edit stores each output: sensor, hysteresis
// low then high, type, then the two aliases; never the use nor the inverse
// flag. A type text that matches no item, and a sensor text that does not
// read as "T%d.%d", leave their bits. Hysteresis is brought to the nearest
// hundredth and clamped to the field; one that does not read keeps its value.
// Both hysteresis texts and both alias texts of row become what is stored.
// Returns how many hysteresis cells did not read (0, 1 or 2).
int StoreOutputRow(OutputRow& row, ConfigImage& image, std::size_t output);

// The use picked in the list: the code of the first item whose text equals
// text; nothing changes when none does.
void StoreOutputUseText(std::u16string_view text, ConfigImage& image, std::size_t output);

// The inverse flag, which only the page's collect step stores.
void StoreOutputInverse(bool inverse, ConfigImage& image, std::size_t output);

}  // namespace wk
