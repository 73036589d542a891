#pragma once
// One main channel as the "Main Channels" grid shows it: the texts of its
// cells, and the steps that fill a row from the image and store a row into
// it. The page only moves these texts between its grid and the row; every
// decision about bytes, codes and list texts is taken here.
//
// List cells are compared with the list texts as the user sees them (through
// the language file), first match in list order.
#include <cstddef>
#include <string>

#include "document/config_image.h"
#include "document/list_table.h"

namespace wk {

struct MainChannelRow {
  std::u16string workmode;         // column 1
  std::u16string input;            // column 2, "1".."8"
  std::u16string alarmOnTimeout;   // column 3
  std::u16string alarmOffTimeout;  // column 4
  std::u16string alarmCondition;   // column 5
  std::u16string multiaction;      // column 6
  std::u16string aliasIfAlarm;     // column 7
  std::u16string aliasIfOk;        // column 8
  bool follow = false;             // column 9

  bool operator==(const MainChannelRow&) const = default;
};

// Image to row for channel 0..23. A workmode or alarm condition that no list
// item carries shows as "(code)", which matches no item, so that storing the
// row leaves it as it was.
MainChannelRow LoadMainChannelRow(ConfigImage& image, std::size_t channel);

// The row's background: the colour of the workmode the record holds.
Rgb MainChannelRowColour(ConfigImage& image, std::size_t channel);

// Row to image, every field but the follow flag (which only the page's
// collect step stores): workmode, input, timeouts, alarm condition,
// multiaction, then the two aliases. A list text that matches no item leaves
// its bits; an input or timeout that does not read stores 0, a timeout above
// 255 stores 255. The alias texts of row become what was stored (Latin
// look-alikes, at most 31 characters); the other texts stay as they are.
void StoreMainChannelRow(MainChannelRow& row, ConfigImage& image, std::size_t channel);

}  // namespace wk
