// The "Outputs" page driven as a user drives it, checked in the image bytes,
// the cells and the messages.
#include "editors/dlg_prop_outs.h"

#include "editors/grid_page_fixture.h"

namespace wk {
namespace {

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kOutputs = 62080;
constexpr std::size_t kAliases = 59392;

const QColor kDarkGrey(160, 160, 160);
const QColor kLightGrey(224, 224, 224);
const QColor kWhite(255, 255, 255);

using Page = CDlgPropOuts;
using OutputsPage = test::GridPageTest<Page>;

TEST_F(OutputsPage, TheGridItsHeadersWidthsAndCells) {
  Grid& g = grid();
  EXPECT_EQ(g.property("controlId").toInt(), 104);
  EXPECT_EQ(g.rowCount(), 7);
  EXPECT_EQ(g.columnCount(), 9);
  EXPECT_EQ(g.rowHeight(0), 30);
  const QStringList headers{"Output", "In use by...", "Sensor",      "Histeresis Low", "Histeresis High",
                            "Type",   "Inverse channel", "Alias if off", "Alias if on"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(g.text(0, c), headers[c]) << c;
  const int widths[] = {80, -1, 60, 50, 50, 100, 30, 200, 200};
  for (int c = 0; c < 9; ++c) {
    if (widths[c] > 0) {
      EXPECT_EQ(g.columnWidth(c), widths[c]) << c;
    }
  }
  EXPECT_EQ(g.columnWidth(1), 1000 - 782);
  EXPECT_EQ(g.text(1, 0), "Output 1");
  EXPECT_EQ(g.text(6, 0), "Output 6");
  for (const int c : {1, 2, 5}) EXPECT_EQ(g.cellKind(3, c), CGridCellCombo) << c;
  for (const int c : {3, 4, 7, 8}) EXPECT_EQ(g.cellKind(3, c), GridCellKind::Text) << c;
  EXPECT_EQ(g.cellKind(3, 6), CGridCellCheck);
  EXPECT_EQ(g.items(3, 1), (QStringList{"Not in use", "GSM", "Thermostat", "Sirena", "Lock", "Power Sensors",
                                        "External Beeper"}));
  EXPECT_EQ(g.items(3, 2).size(), 32);
  EXPECT_EQ(g.items(3, 5), (QStringList{"Heater", "Cooler"}));
}

TEST_F(OutputsPage, ANewDocumentShowsSixDarkGreyOutputsNotInUse) {
  for (int r = 1; r <= 6; ++r) {
    EXPECT_EQ(text(r, 1), "Not in use");
    EXPECT_EQ(text(r, 2), "T1.01");
    EXPECT_EQ(text(r, 3), "0.00");
    EXPECT_EQ(text(r, 4), "0.00");
    EXPECT_EQ(text(r, 5), "Heater");
    EXPECT_FALSE(grid().isChecked(r, 6));
    EXPECT_EQ(text(r, 7), "");
    EXPECT_EQ(text(r, 8), "");
    for (int c = 2; c <= 8; ++c) EXPECT_EQ(colour(r, c), kDarkGrey) << r << "," << c;
    EXPECT_NE(colour(r, 1), kDarkGrey);  // the use cell keeps the grid's own colour
  }
  EXPECT_FALSE(doc.isModified());
}

TEST_F(OutputsPage, PickingThermostatStoresCodeOneAndWhitensTheRow) {
  user->pick(2, 1, "Thermostat");
  EXPECT_EQ(bytes(kOutputs + 6, 2), "00 02");
  for (int c = 2; c <= 8; ++c) EXPECT_EQ(colour(2, c), kWhite) << c;
  EXPECT_EQ(colour(1, 2), kDarkGrey);
  user->pick(2, 1, "GSM");
  EXPECT_EQ(bytes(kOutputs + 6, 2), "00 04");
  for (int c = 2; c <= 8; ++c) EXPECT_EQ(colour(2, c), kLightGrey) << c;
  user->pick(2, 1, "Lock");  // the colour follows the use, picked or refreshed
  EXPECT_EQ(bytes(kOutputs + 6, 2), "00 08");
  EXPECT_EQ(colour(2, 5), kLightGrey);
  user->pick(2, 1, "Not in use");
  EXPECT_EQ(bytes(kOutputs + 6, 2), "00 00");
  EXPECT_EQ(colour(2, 8), kDarkGrey);
}

TEST_F(OutputsPage, MerelyClickingOrMovingTheCursorMarksTheDocumentModified) {
  const ConfigImage before = doc.image();
  user->click(3, 3);
  EXPECT_TRUE(doc.isModified());
  doc.setModified(false);
  user->key(Qt::Key_Down);
  EXPECT_EQ(grid().focusCell(), (CellId{4, 3}));
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(doc.image() == before);  // and nothing else
}

TEST_F(OutputsPage, HysteresisIsStoredInHundredths) {
  user->type(1, 4, "1.5");
  EXPECT_EQ(bytes(kOutputs, 6), "00 00 96 00 00 00");
  EXPECT_EQ(text(1, 4), "1.50");
  user->type(1, 3, "-0.5");
  EXPECT_EQ(bytes(kOutputs + 4, 2), "CE FF");
  EXPECT_EQ(text(1, 3), "-0.50");
}

TEST_F(OutputsPage, EditingOneAliasStoresEveryOutput) {
  // Changed behind the grid's back in all six records: the cells win.
  for (std::size_t k = 0; k < 6; ++k) put(kOutputs + 6 * k, "1F 10 11 11 22 22");
  user->type(6, 8, "Склад");
  for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(bytes(kOutputs + 6 * k, 6), "00 00 00 00 00 00") << k;
  EXPECT_EQ(bytes(kAliases + 11 * 32, 6), "05 53 6B 6C 61 64");
  EXPECT_EQ(text(6, 8), "Sklad");
}

TEST_F(OutputsPage, TypeSensorAndAliases) {
  user->pick(3, 5, "Cooler");
  user->pick(3, 2, "T2.02");
  user->type(3, 7, "Off");
  EXPECT_EQ(bytes(kOutputs + 12, 2), "03 10");
  EXPECT_EQ(bytes(kAliases + 2 * 32, 4), "03 4F 66 66");
  user->pick(3, 5, "Heater");
  EXPECT_EQ(bytes(kOutputs + 12, 2), "03 00");
}

TEST_F(OutputsPage, TheInverseFlagReachesTheImageOnlyWhenTheDocumentCollects) {
  put(kOutputs + 6 * 4 + 1, "F4");
  doc.refreshEditors();
  user->toggle(5, 6);
  EXPECT_TRUE(grid().isChecked(5, 6));
  user->type(5, 7, "x");  // a store of every output leaves the flag alone
  EXPECT_EQ(bytes(kOutputs + 25, 1), "F4");
  doc.collectEditors();
  EXPECT_EQ(bytes(kOutputs + 25, 1), "F5");
  QTest::keyClick(grid().view(), Qt::Key_Left);
  doc.setModified(false);
  QTest::keyClick(grid().view(), Qt::Key_Space);  // toggled without moving: still an edit
  EXPECT_FALSE(grid().isChecked(5, 6));
  EXPECT_TRUE(doc.isModified());
  doc.collectEditors();
  EXPECT_EQ(bytes(kOutputs + 25, 1), "F4");
}

TEST_F(OutputsPage, InputErrorOncePerUnreadableCellAtTheNextEndOfEdit) {
  user->type(2, 3, "abc");
  EXPECT_EQ(messages(), std::vector<std::string>{"Input Error"});
  EXPECT_EQ(seams.prompter.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(seams.prompter.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(text(2, 3), "0.00");
  // Cells that no edit of their own left unreadable are found by any end of edit.
  grid().setText(1, 4, "?");
  grid().setText(6, 3, "-");
  grid().setText(6, 4, "");
  user->type(4, 7, "a");
  EXPECT_EQ(messages().size(), 4u);
  EXPECT_EQ(text(6, 4), "0.00");
}

TEST_F(OutputsPage, RefreshColoursByTheStoredUse) {
  put(kOutputs, "03 13 96 00 E6 FB");       // T2.02, inverse, thermostat, cooler
  put(kOutputs + 6, "00 0A 00 00 00 00");   // power sensors
  put(kOutputs + 12, "00 5E 00 00 00 00");  // use 7, type 5: no item carries them
  put(kAliases, "03 4F 66 66");
  put(kAliases + 6 * 32, "02 4F 6E");
  doc.refreshEditors();
  EXPECT_EQ(text(1, 1), "Thermostat");
  EXPECT_EQ(text(1, 2), "T2.02");
  EXPECT_EQ(text(1, 3), "-10.50");
  EXPECT_EQ(text(1, 4), "1.50");
  EXPECT_EQ(text(1, 5), "Cooler");
  EXPECT_TRUE(grid().isChecked(1, 6));
  EXPECT_EQ(text(1, 7), "Off");
  EXPECT_EQ(text(1, 8), "On");
  EXPECT_EQ(colour(1, 2), kWhite);
  EXPECT_EQ(text(2, 1), "Power Sensors");
  EXPECT_EQ(colour(2, 8), kLightGrey);
  EXPECT_EQ(text(3, 1), "(7)");
  EXPECT_EQ(text(3, 5), "(5)");
  EXPECT_EQ(colour(3, 2), QColor(255, 255, 192));
  user->type(3, 4, "2");  // every output is stored: the odd codes stay
  EXPECT_EQ(bytes(kOutputs + 12, 6), "00 5E C8 00 00 00");
  EXPECT_EQ(bytes(kOutputs, 6), "03 13 96 00 E6 FB");
}

TEST_F(OutputsPage, TranslatedUseListStoresTheFirstOfTwoAlikeItems) {
  loadLanguage({{"Output", "Выход"}, {"GSM", "Внешний"}, {"Sirena", "Внешний"}});
  EXPECT_EQ(text(0, 0), "Выход");
  EXPECT_EQ(text(3, 0), "Выход 3");
  user->pickAt(1, 1, 3);  // Sirena, shown as GSM is
  EXPECT_EQ(bytes(kOutputs + 1, 1), "04");  // GSM comes first in the list
}

TEST_F(OutputsPage, ClosingThePageInTheMiddleOfAnEditIsSafe) {
  // As when the document window is closed while a cell is being typed into.
  user->type(5, 7, "1.5", /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  const ConfigImage before = doc.image();
  page.reset();
  EXPECT_TRUE(doc.image() == before);
}

}  // namespace
}  // namespace wk
