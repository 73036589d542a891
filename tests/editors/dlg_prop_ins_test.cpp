// The "Main Channels" page driven as a user drives it, checked in the image
// bytes and in the cells.
#include "editors/dlg_prop_ins.h"

#include "editors/grid_page_fixture.h"

namespace wk {
namespace {

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kChannels = 61888;
constexpr std::size_t kAliases = 56832;
constexpr std::size_t kFollow = 62858;

const QColor kLightGrey(224, 224, 224);

using Page = CDlgPropIns;
using MainChannelsPage = test::GridPageTest<Page>;

TEST_F(MainChannelsPage, TheGridItsHeadersWidthsAndCells) {
  Grid& g = grid();
  EXPECT_EQ(g.property("controlId").toInt(), 102);
  EXPECT_EQ(g.rowCount(), 25);
  EXPECT_EQ(g.columnCount(), 10);
  EXPECT_EQ(g.rowHeight(0), 30);
  const QStringList headers{"Channel",  "Workmode",    "Input",          "Alarm On Timeout", "Alarm \u041Eff Timeout",
                            "Generate Alarm if...", "Multiaction", "Alias if ALARM", "Alias if OK", "Follow"};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(g.text(0, c), headers[c]) << c;
  const int widths[] = {120, 135, 50, 40, 40, -1, 100, 100, 100, 50};
  for (int c = 0; c < 10; ++c) {
    if (widths[c] > 0) {
      EXPECT_EQ(g.columnWidth(c), widths[c]) << c;
    }
  }
  // The rest of the width, less 30, goes to "Generate Alarm if...".
  EXPECT_EQ(g.width(), page->width());
  EXPECT_EQ(g.columnWidth(5), 1000 - 30 - 735);
  EXPECT_EQ(g.text(1, 0), "Channel 1");
  EXPECT_EQ(g.text(24, 0), "Channel 24");

  EXPECT_EQ(g.cellKind(7, 1), CGridCellCombo);
  EXPECT_EQ(g.cellKind(7, 2), CGridCellCombo);
  EXPECT_EQ(g.cellKind(7, 3), CGridCellNumeric);
  EXPECT_EQ(g.cellKind(7, 4), CGridCellNumeric);
  EXPECT_EQ(g.cellKind(7, 5), CGridCellCombo);
  EXPECT_EQ(g.cellKind(7, 6), CGridCellCombo);
  EXPECT_EQ(g.cellKind(7, 7), GridCellKind::Text);
  EXPECT_EQ(g.cellKind(7, 8), GridCellKind::Text);
  EXPECT_EQ(g.cellKind(7, 9), CGridCellCheck);
  EXPECT_EQ(g.items(3, 1), (QStringList{"Channel off", "24hr guard line", "Guard line", "Perimeter mode line",
                                        "Guard & Perimeter mode"}));
  EXPECT_EQ(g.items(3, 2), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
  ASSERT_EQ(g.items(3, 5).size(), 18);
  EXPECT_EQ(g.items(3, 5).front(), "R-change");
  EXPECT_EQ(g.items(3, 5)[3], "0 set | 1 set");
  EXPECT_EQ(g.items(3, 5).back(), "ATZ4 Line Error");
  EXPECT_EQ(g.items(3, 6), (QStringList{"Multi-zone", "Single-zone", "15 sec freeze", "30 sec freeze"}));
}

TEST_F(MainChannelsPage, ANewDocumentShowsTwentyFourChannelsOff) {
  EXPECT_FALSE(doc.isModified());
  for (int r = 1; r <= 24; ++r) {
    EXPECT_EQ(text(r, 1), "Channel off");
    EXPECT_EQ(text(r, 2), QString::number((r - 1) % 8 + 1));
    EXPECT_EQ(text(r, 3), "0");
    EXPECT_EQ(text(r, 4), "0");
    EXPECT_EQ(text(r, 5), "R-change");
    EXPECT_EQ(text(r, 6), "Multi-zone");
    EXPECT_EQ(text(r, 7), "");
    EXPECT_EQ(text(r, 8), "");
    EXPECT_FALSE(grid().isChecked(r, 9));
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(colour(r, c), kLightGrey) << r << "," << c;
  }
}

TEST_F(MainChannelsPage, TimeoutsAbove255Store255WhileTheCellStillShowsWhatWasTyped) {
  user->type(4, 3, "300");
  EXPECT_EQ(bytes(kChannels + 12, 4), "00 03 FF 00");
  EXPECT_EQ(text(4, 3), "300");
  EXPECT_TRUE(doc.isModified());
  doc.refreshEditors();
  EXPECT_EQ(text(4, 3), "255");
}

TEST_F(MainChannelsPage, PickingAWorkmodeStoresTheWholeRowAndRecolours) {
  user->type(6, 7, "Door");
  // The image is changed behind the grid's back: the row's other cells win.
  put(kChannels + 20, "11 C5 07 09");
  put(kAliases + 5 * 32, "03 61 62 63");
  user->pick(6, 1, "Guard line");
  // workmode 2, input 6 (index 5), condition "R-change", "Multi-zone", timeouts 0
  EXPECT_EQ(bytes(kChannels + 20, 4), "00 15 00 00");
  EXPECT_EQ(bytes(kAliases + 5 * 32, 5), "04 44 6F 6F 72");
  EXPECT_EQ(text(6, 1), "Guard line");
  for (int c = 1; c <= 9; ++c) EXPECT_EQ(colour(6, c), QColor(240, 255, 240)) << c;
  EXPECT_EQ(colour(5, 1), kLightGrey);
  EXPECT_FALSE(grid().isEditing());  // the pick was committed before the row was read
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(messages().empty());  // this page shows no messages
}

TEST_F(MainChannelsPage, EveryListStoresItsCode) {
  user->pick(2, 1, "Guard & Perimeter mode");
  user->pick(2, 2, "8");
  user->pick(2, 5, "ATZ3 0.82k ALARM");
  user->pick(2, 6, "30 sec freeze");
  user->type(2, 4, "17");
  EXPECT_EQ(bytes(kChannels + 4, 4), "0D F7 00 11");
  for (int c = 1; c <= 9; ++c) EXPECT_EQ(colour(2, c), QColor(255, 255, 255)) << c;
  user->pick(2, 1, "24hr guard line");
  EXPECT_EQ(colour(2, 9), QColor(255, 240, 240));
  user->pick(2, 1, "Perimeter mode line");
  EXPECT_EQ(colour(2, 1), QColor(240, 240, 255));
  EXPECT_EQ(bytes(kChannels + 4, 2), "0D E7");
}

TEST_F(MainChannelsPage, AliasesAreStoredAsTheControllerGetsThemAndShownSo) {
  user->type(1, 7, "Привет");
  EXPECT_EQ(bytes(kAliases, 7), "06 50 72 69 76 65 74");
  EXPECT_EQ(text(1, 7), "Privet");

  user->type(1, 8, "\u00E9\u20AC");
  EXPECT_EQ(bytes(kAliases + 24 * 32, 3), "02 E9 AC");
  EXPECT_EQ(text(1, 8), "\u00E9\u00AC");

  const QString forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  user->type(24, 8, forty);
  EXPECT_EQ(doc.image().at(kAliases + 47 * 32), 31);
  EXPECT_EQ(text(24, 8), forty.left(31));
}

TEST_F(MainChannelsPage, FollowFlagsReachTheImageOnlyWhenTheDocumentCollectsThem) {
  put(kFollow, "00 00 00 A5");
  doc.refreshEditors();
  doc.setModified(false);
  user->toggle(1, 9);
  user->toggle(24, 9);
  EXPECT_TRUE(grid().isChecked(1, 9));
  EXPECT_TRUE(doc.isModified());  // a toggled flag is an edit, to be saved
  user->type(3, 3, "5");          // a row stored meanwhile leaves the mask alone
  EXPECT_EQ(bytes(kFollow, 4), "00 00 00 A5");
  doc.collectEditors();
  EXPECT_EQ(bytes(kFollow, 4), "01 00 80 A5");
  user->toggle(1, 9);
  doc.collectEditors();
  EXPECT_EQ(bytes(kFollow, 4), "00 00 80 A5");
}

TEST_F(MainChannelsPage, RefreshShowsTheImage) {
  put(kChannels + 8, "A7 A2 1E FF");
  put(kAliases + 2 * 32, "04 44 6F 6F 72");
  put(kFollow, "04 00 00 00");
  doc.refreshEditors();
  EXPECT_EQ(text(3, 1), "Perimeter mode line");
  EXPECT_EQ(text(3, 2), "3");
  EXPECT_EQ(text(3, 3), "30");
  EXPECT_EQ(text(3, 4), "255");
  EXPECT_EQ(text(3, 5), "ATZ1 1k ALARM");
  EXPECT_EQ(text(3, 6), "15 sec freeze");
  EXPECT_EQ(text(3, 7), "Door");
  EXPECT_TRUE(grid().isChecked(3, 9));
  EXPECT_EQ(colour(3, 9), QColor(240, 240, 255));
  EXPECT_FALSE(doc.isModified());
}

TEST_F(MainChannelsPage, OddCodesSurviveAnEditOfTheirRow) {
  put(kChannels, "F2 DF 05 06");  // condition 18, workmode 3, bits 5..7 set
  doc.refreshEditors();
  EXPECT_EQ(text(1, 1), "(3)");
  EXPECT_EQ(text(1, 5), "(18)");
  EXPECT_EQ(colour(1, 1), QColor(255, 255, 192));
  user->type(1, 3, "9");
  EXPECT_EQ(bytes(kChannels, 4), "F2 DF 09 06");
  EXPECT_EQ(colour(1, 4), QColor(255, 255, 192));
}

TEST_F(MainChannelsPage, AnEditInProgressIsStoredWhenTheDocumentCollects) {
  user->type(5, 8, "Gate", /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  doc.collectEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(bytes(kAliases + 28 * 32, 5), "04 47 61 74 65");
}

// Read All Data refreshes the pages after the image took the controller's
// bytes: an edit still open then belongs to the document that was shown
// before, and must not be stored over the new bytes when it ends.
TEST_F(MainChannelsPage, ARefreshDropsAnEditStillOpen) {
  user->type(5, 8, "Gate", /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  put(kAliases + 4 * 32, "04 44 6F 6F 72");  // the controller's "Door"
  doc.refreshEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(text(5, 7), "Door");
  user->click(9, 1);
  EXPECT_EQ(bytes(kAliases + 4 * 32, 5), "04 44 6F 6F 72");
  EXPECT_EQ(bytes(kAliases + 28 * 32, 1), "00");
}

TEST_F(MainChannelsPage, LeavingACellStoresItsRow) {
  user->type(2, 3, "44", /*enter=*/false);
  user->click(9, 1);
  EXPECT_EQ(bytes(kChannels + 4, 4), "00 01 2C 00");
}

TEST_F(MainChannelsPage, TranslatedListsStoreTheFirstOfTwoAlikeItems) {
  loadLanguage({{"Channel", "Канал"},
                {"Alarm \u041Eff Timeout", "Отбой"},
                {"24hr guard line", "Охрана"},
                {"Guard line", "Охрана"},
                {"Multi-zone", "Мульти"}});
  EXPECT_EQ(text(0, 0), "Канал");
  EXPECT_EQ(text(0, 4), "Отбой");
  EXPECT_EQ(text(1, 0), "Канал 1");
  EXPECT_EQ(text(1, 6), "Мульти");
  EXPECT_EQ(grid().items(1, 1), (QStringList{"Channel off", "Охрана", "Охрана", "Perimeter mode line",
                                             "Guard & Perimeter mode"}));
  // The third item (Guard line, code 2) shows the same text as the second
  // (24hr guard line, code 1): the first is stored.
  user->pickAt(1, 1, 2);
  EXPECT_EQ(text(1, 1), "Охрана");
  EXPECT_EQ(bytes(kChannels, 2), "00 08");
  EXPECT_EQ(colour(1, 1), QColor(255, 240, 240));
}

TEST_F(MainChannelsPage, ALatinOInTheHeaderIsNotTheStoredText) {
  loadLanguage({{"Alarm Off Timeout", "Latin"}});
  EXPECT_EQ(text(0, 4), "Alarm \u041Eff Timeout");
}

TEST_F(MainChannelsPage, ClosingThePageInTheMiddleOfAnEditIsSafe) {
  // As when the document window is closed while a cell is being typed into.
  user->type(5, 7, "1.5", /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  const ConfigImage before = doc.image();
  page.reset();
  EXPECT_TRUE(doc.image() == before);
}

}  // namespace
}  // namespace wk
