// The "User Events" page driven as a user drives it, checked in the image
// bytes, the cells and the messages.
#include "editors/dlg_prop_insuser.h"

#include "editors/grid_page_fixture.h"

namespace wk {
namespace {

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kEvents = 61984;

const QString kHigher = "Higher then \"Hi\"";
const QString kLower = "Lower then \"Lo\"";
const std::string kInputError = "Ошибка при вооде";

using Page = CDlgPropInsuser;
using UserEventsPage = test::GridPageTest<Page>;

TEST_F(UserEventsPage, TheGridItsHeadersWidthsAndCells) {
  Grid& g = grid();
  EXPECT_EQ(g.property("controlId").toInt(), 103);
  EXPECT_EQ(g.rowCount(), 17);
  EXPECT_EQ(g.columnCount(), 7);
  EXPECT_EQ(g.rowHeight(0), 30);
  const QStringList headers{"User Event", "Workmode", "Sensor", "Lo", "Hi", "Generate Alarm if...", "Multiaction"};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(g.text(0, c), headers[c]) << c;
  const int widths[] = {120, 135, 50, 40, 40, -1, 100};
  for (int c = 0; c < 7; ++c) {
    if (widths[c] > 0) {
      EXPECT_EQ(g.columnWidth(c), widths[c]) << c;
    }
  }
  EXPECT_EQ(g.columnWidth(5), 1000 - 30 - 485);
  EXPECT_EQ(g.text(1, 0), "User Event 1");
  EXPECT_EQ(g.text(16, 0), "User Event 16");
  for (const int c : {1, 2, 5, 6}) EXPECT_EQ(g.cellKind(9, c), CGridCellCombo) << c;
  for (const int c : {3, 4}) EXPECT_EQ(g.cellKind(9, c), GridCellKind::Text) << c;
  EXPECT_EQ(g.items(9, 1).size(), 5);
  const QStringList sensors = g.items(9, 2);
  ASSERT_EQ(sensors.size(), 32);
  EXPECT_EQ(sensors[0], "T1.01");
  EXPECT_EQ(sensors[15], "T1.16");
  EXPECT_EQ(sensors[16], "T2.01");
  EXPECT_EQ(sensors[31], "T2.16");
  EXPECT_EQ(g.items(9, 5), (QStringList{kHigher, kLower}));
  EXPECT_EQ(g.items(9, 6), (QStringList{"Multi-zone", "Single-zone"}));
}

TEST_F(UserEventsPage, ANewDocumentShowsSixteenEventsOff) {
  for (int r = 1; r <= 16; ++r) {
    EXPECT_EQ(text(r, 1), "Channel off");
    EXPECT_EQ(text(r, 2), "T1.01");
    EXPECT_EQ(text(r, 3), "0.00");
    EXPECT_EQ(text(r, 4), "0.00");
    EXPECT_EQ(text(r, 5), kLower);
    EXPECT_EQ(text(r, 6), "Multi-zone");
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(colour(r, c), QColor(224, 224, 224));
  }
  EXPECT_FALSE(doc.isModified());
}

TEST_F(UserEventsPage, MinusFiveInLoStoresMinus500) {
  user->type(1, 3, "-5");
  EXPECT_EQ(bytes(kEvents, 6), "00 00 00 00 0C FE");
  EXPECT_EQ(text(1, 3), "-5.00");
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(messages().empty());
}

TEST_F(UserEventsPage, ATextThatIsNoNumberGivesTheMessageAndKeepsTheValue) {
  user->type(2, 4, "25.5");
  EXPECT_EQ(bytes(kEvents + 6 + 2, 2), "F6 09");
  user->type(2, 4, "warm");
  EXPECT_EQ(messages(), std::vector<std::string>{kInputError});
  EXPECT_EQ(seams.prompter.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(seams.prompter.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(text(2, 4), "25.50");
  EXPECT_EQ(bytes(kEvents + 6 + 2, 2), "F6 09");
}

TEST_F(UserEventsPage, TwoUnreadableThresholdsGiveTwoMessages) {
  // Only a row stored with both cells unreadable at once: a cell left with a
  // text by something else than an edit of its own.
  grid().setText(3, 3, "x");
  user->type(3, 4, "?");
  EXPECT_EQ(messages(), (std::vector<std::string>{kInputError, kInputError}));
  EXPECT_EQ(text(3, 3), "0.00");
  EXPECT_EQ(text(3, 4), "0.00");
}

TEST_F(UserEventsPage, ValuesRoundToHundredthsAndClamp) {
  user->type(4, 3, "0.69");
  EXPECT_EQ(bytes(kEvents + 18 + 4, 2), "45 00");
  EXPECT_EQ(text(4, 3), "0.69");
  user->type(4, 4, "400");
  EXPECT_EQ(bytes(kEvents + 18 + 2, 2), "FF 7F");
  EXPECT_EQ(text(4, 4), "327.67");
  user->type(4, 3, "-1e9");
  EXPECT_EQ(bytes(kEvents + 18 + 4, 2), "00 80");
  EXPECT_EQ(text(4, 3), "-327.68");
}

TEST_F(UserEventsPage, ChoosingT216KeepsBits5To7) {
  put(kEvents + 30, "A0");
  doc.refreshEditors();
  user->pick(6, 2, "T2.16");
  EXPECT_EQ(bytes(kEvents + 30, 1), "BF");
  EXPECT_EQ(text(6, 2), "T2.16");
  user->pick(6, 2, "T1.03");
  EXPECT_EQ(bytes(kEvents + 30, 1), "A4");
}

TEST_F(UserEventsPage, ChangingOnlyTheSensorStoresTheThresholdsAgain) {
  user->type(7, 3, "1.5");
  user->type(7, 4, "30");
  put(kEvents + 36 + 2, "00 00 00 00");  // changed behind the grid's back
  user->pick(7, 2, "T1.05");
  EXPECT_EQ(bytes(kEvents + 36, 6), "08 00 B8 0B 96 00");
}

TEST_F(UserEventsPage, ConditionWorkmodeAndMultiaction) {
  user->pick(8, 5, kHigher);
  user->pick(8, 1, "Perimeter mode line");
  user->pick(8, 6, "Single-zone");
  EXPECT_EQ(bytes(kEvents + 42, 2), "00 19");
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(colour(8, c), QColor(240, 240, 255)) << c;
  EXPECT_EQ(colour(9, 1), QColor(224, 224, 224));
  user->pick(8, 5, kLower);
  EXPECT_EQ(bytes(kEvents + 42, 2), "00 18");
}

TEST_F(UserEventsPage, RefreshShowsTheImage) {
  put(kEvents + 18, "FF 13 F6 09 E6 FB");
  doc.refreshEditors();
  EXPECT_EQ(text(4, 1), "24hr guard line");
  EXPECT_EQ(text(4, 2), "T2.16");
  EXPECT_EQ(text(4, 3), "-10.50");
  EXPECT_EQ(text(4, 4), "25.50");
  EXPECT_EQ(text(4, 5), kHigher);
  EXPECT_EQ(text(4, 6), "Single-zone");
  EXPECT_EQ(colour(4, 6), QColor(255, 240, 240));
}

TEST_F(UserEventsPage, OddCodesSurviveAnEditOfTheirRow) {
  put(kEvents, "E5 E6 01 02 03 04");  // workmode 3, multiaction 2, bits 6..7 set
  doc.refreshEditors();
  EXPECT_EQ(text(1, 1), "(3)");
  EXPECT_EQ(text(1, 6), "(2)");
  EXPECT_EQ(colour(1, 3), QColor(255, 255, 192));
  user->type(1, 4, "5.13");
  EXPECT_EQ(bytes(kEvents, 6), "E5 E6 01 02 03 04");
}

TEST_F(UserEventsPage, AnEditInProgressIsStoredWhenTheDocumentCollects) {
  user->type(16, 4, "-2.25", /*enter=*/false);
  doc.collectEditors();
  EXPECT_EQ(bytes(kEvents + 90 + 2, 2), "1F FF");
  EXPECT_FALSE(grid().isEditing());
}

TEST_F(UserEventsPage, TranslatedItemsAreComparedTranslated) {
  loadLanguage({{"User Event", "Событие"}, {"Higher then \"Hi\"", "Выше"}, {"Lower then \"Lo\"", "Ниже"}});
  EXPECT_EQ(text(0, 0), "Событие");
  EXPECT_EQ(text(2, 0), "Событие 2");
  EXPECT_EQ(text(2, 5), "Ниже");
  user->pick(2, 5, "Выше");
  EXPECT_EQ(bytes(kEvents + 6, 2), "00 01");
}

TEST_F(UserEventsPage, ClosingThePageInTheMiddleOfAnEditIsSafe) {
  // As when the document window is closed while a cell is being typed into.
  user->type(5, 3, "1.5", /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  const ConfigImage before = doc.image();
  page.reset();
  EXPECT_TRUE(doc.image() == before);
}

}  // namespace
}  // namespace wk
