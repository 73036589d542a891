// The grid driven as a user drives it: mouse clicks and keys on the real
// widget, with every notification recorded in order with its cell and what
// the cell held at that moment.
#include "widgets/grid.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <string>
#include <vector>

#include "support/gui/screenshot.h"

namespace wk {
namespace {

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.setColumnCount(5);
    grid.setRowCount(6);
    for (int c = 1; c < 5; ++c) grid.setText(0, c, QStringLiteral("Col %1").arg(c));
    for (int r = 1; r < 6; ++r) grid.setText(r, 0, QString::number(r));
    grid.resize(600, 300);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    record("end", &Grid::cellEditEnded);
    record("list", &Grid::listSelectionChanged);
    record("about", &Grid::selectionAboutToChange);
    record("check", &Grid::checkToggled);
    record("double", &Grid::cellDoubleClicked);
  }

  void record(const char* name, void (Grid::*signal)(int, int)) {
    QObject::connect(&grid, signal, &grid, [this, name](int row, int col) {
      events.push_back(std::string(name) + " " + std::to_string(row) + "," + std::to_string(col) + " '" +
                       grid.text(row, col).toStdString() + "'");
      if (onEvent) onEvent(name);
    });
  }

  void clickCell(int row, int col) {
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(row, col).center());
  }
  void key(int k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid.view();
    QTest::keyClick(target, static_cast<Qt::Key>(k), modifiers);
  }
  // The open editor (a closed one lingers, hidden, until it is deleted).
  template <typename Editor>
  Editor* editor() {
    for (Editor* e : grid.view()->viewport()->findChildren<Editor*>(Qt::FindDirectChildrenOnly))
      if (e->isVisible()) return e;
    return nullptr;
  }
  QComboBox* openList(int row, int col) {
    EXPECT_TRUE(grid.editCell(row, col));
    auto* combo = editor<QComboBox>();
    EXPECT_NE(combo, nullptr);
    if (!combo) return nullptr;
    EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
    return combo;
  }
  void pickInOpenList(QComboBox* combo, int item) {
    QAbstractItemView* list = combo->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(item, 0)).center());
  }

  Grid grid;
  std::vector<std::string> events;
  std::function<void(const std::string&)> onEvent;
};

TEST_F(GridTest, FixedRowAndColumnAreTheHeaders) {
  QAbstractItemModel* model = grid.view()->model();
  EXPECT_EQ(model->rowCount(), 5);
  EXPECT_EQ(model->columnCount(), 4);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Col 1"));
  EXPECT_EQ(model->headerData(4, Qt::Vertical).toString(), QStringLiteral("5"));

  grid.setColumnWidth(0, 40);
  grid.setRowHeight(0, 30);
  grid.setColumnWidth(2, 77);
  grid.setRowHeight(3, 27);
  QTest::qWait(0);
  EXPECT_EQ(grid.columnWidth(0), 40);
  EXPECT_EQ(grid.view()->verticalHeader()->width(), 40);
  EXPECT_EQ(grid.rowHeight(0), 30);
  EXPECT_EQ(grid.columnWidth(2), 77);
  EXPECT_EQ(grid.rowHeight(3), 27);
  EXPECT_EQ(grid.rowHeight(2), grid.defaultRowHeight());
  EXPECT_EQ(grid.rowHeight(1), grid.defaultRowHeight());
}

TEST_F(GridTest, CellsReadBackWhatWasSet) {
  grid.setCellKind(1, 1, CGridCellCombo);
  grid.setItems(1, 1, {QStringLiteral("A"), QStringLiteral("B")});
  grid.setCellKind(1, 2, CGridCellCheck);
  grid.setChecked(1, 2, true);
  grid.setCellKind(1, 3, CGridCellNumeric);
  grid.setCellKind(1, 4, GridCellKind::Time);
  grid.setTime(1, 4, QTime(0, 0, 10));
  grid.setText(2, 1, QStringLiteral("Привет"));
  grid.setBackground(2, 1, QColor(224, 224, 224));
  grid.setTextColor(2, 1, QColor(0, 0, 255));
  grid.setReadOnly(2, 2, true);

  EXPECT_EQ(grid.cellKind(1, 1), GridCellKind::Combo);
  EXPECT_EQ(grid.items(1, 1), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
  EXPECT_TRUE(grid.isChecked(1, 2));
  EXPECT_FALSE(grid.isChecked(1, 3));
  EXPECT_EQ(grid.cellKind(1, 3), GridCellKind::Numeric);
  EXPECT_EQ(grid.time(1, 4), QTime(0, 0, 10));
  EXPECT_EQ(grid.text(1, 4), QStringLiteral("0:00:10"));
  EXPECT_EQ(grid.text(2, 1), QStringLiteral("Привет"));
  EXPECT_EQ(grid.background(2, 1), QColor(224, 224, 224));
  EXPECT_EQ(grid.textColor(2, 1), QColor(0, 0, 255));
  EXPECT_TRUE(grid.isReadOnly(2, 2));
  EXPECT_EQ(grid.view()->model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignRight | Qt::AlignVCenter));

  // Outside the grid: ignored, read as empty.
  grid.setText(9, 9, QStringLiteral("x"));
  grid.setText(-1, 0, QStringLiteral("x"));
  EXPECT_EQ(grid.text(9, 9), QString());
  EXPECT_FALSE(grid.isChecked(-1, 2));
  EXPECT_TRUE(events.empty());  // nothing set from code is reported
}

TEST_F(GridTest, BackgroundColourIsPainted) {
  grid.setBackground(2, 3, QColor(255, 240, 240));
  grid.setBackground(3, 3, QColor(160, 160, 160));
  const QImage shot = grid.view()->viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(grid.cellRect(2, 3).center()), QColor(255, 240, 240));
  EXPECT_EQ(shot.pixelColor(grid.cellRect(3, 3).center()), QColor(160, 160, 160));
}

TEST_F(GridTest, RowsInsertedAndDeletedKeepTheirCells) {
  grid.setText(2, 1, QStringLiteral("two"));
  grid.setText(3, 1, QStringLiteral("three"));
  grid.insertRow(3);
  EXPECT_EQ(grid.rowCount(), 7);
  EXPECT_EQ(grid.text(2, 1), QStringLiteral("two"));
  EXPECT_EQ(grid.text(3, 1), QString());
  EXPECT_EQ(grid.text(4, 1), QStringLiteral("three"));
  grid.insertRow(7);  // appends
  EXPECT_EQ(grid.rowCount(), 8);
  grid.deleteRows(2, 3);
  EXPECT_EQ(grid.rowCount(), 6);
  EXPECT_EQ(grid.text(2, 1), QStringLiteral("three"));
  grid.deleteRows(0, 100);  // clamped to the data rows
  EXPECT_EQ(grid.rowCount(), 1);
  grid.setRowCount(3);
  EXPECT_EQ(grid.text(2, 1), QString());
}

TEST_F(GridTest, TextEditCommitsWithEnterAndReportsOnlyAChange) {
  grid.setText(1, 1, QStringLiteral("old"));
  grid.setFocusCell(1, 1);
  key(Qt::Key_F2);
  ASSERT_TRUE(grid.isEditing());
  EXPECT_EQ(grid.editingCell(), (CellId{1, 1}));
  key(Qt::Key_End);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("er"));
  key(Qt::Key_Return);
  EXPECT_FALSE(grid.isEditing());
  EXPECT_EQ(grid.text(1, 1), QStringLiteral("older"));
  EXPECT_EQ(events, (std::vector<std::string>{"end 1,1 'older'"}));

  // Enter opens the editor too; Enter with the text unchanged reports nothing.
  events.clear();
  key(Qt::Key_Return);
  ASSERT_TRUE(grid.isEditing());
  key(Qt::Key_Return);
  EXPECT_FALSE(grid.isEditing());
  EXPECT_TRUE(events.empty());

  // Esc throws the typed text away.
  key(Qt::Key_F2);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zzz"));
  key(Qt::Key_Escape);
  EXPECT_FALSE(grid.isEditing());
  EXPECT_EQ(grid.text(1, 1), QStringLiteral("older"));
  EXPECT_TRUE(events.empty());
}

TEST_F(GridTest, TypingStartsAnEditThatReplacesTheText) {
  grid.setText(2, 2, QStringLiteral("old"));
  grid.setFocusCell(2, 2);
  QTest::keyClick(grid.view(), 'n');
  ASSERT_TRUE(grid.isEditing());
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ew"));
  key(Qt::Key_Return);
  EXPECT_EQ(grid.text(2, 2), QStringLiteral("new"));
  EXPECT_EQ(events, (std::vector<std::string>{"end 2,2 'new'"}));
}

// Counts the deliveries of one of a widget's timers.
class TimerWatch : public QObject {
 public:
  TimerWatch(QObject* target, int timerId) : timerId_(timerId) { target->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer && static_cast<QTimerEvent*>(event)->timerId() == timerId_) ++fired;
    return false;
  }
  int fired = 0;

 private:
  int timerId_;
};

// A click on the selected cell starts a delayed edit, so that a double click
// can still come; typing at once must not lose what the delayed edit finds
// typed, in any cell kind that takes text.
TEST_F(GridTest, TypingRightAfterAClickOnTheSelectedCellKeepsEveryCharacter) {
  const int interval = QApplication::doubleClickInterval();
  QApplication::setDoubleClickInterval(157);
  grid.setCellKind(1, 2, GridCellKind::Digits);
  grid.setCellKind(1, 3, CGridCellNumeric);
  for (const int col : {1, 2, 3}) {
    const bool text = col == 1;
    grid.setText(1, col, QStringLiteral("old"));
    clickCell(1, col);  // selects it
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(1, col).center(), 500);
    // The delayed edit's timer is the view's one that runs for the double-click interval.
    int delayedEdit = -1;
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(grid.view()))
      if (timer.interval == 157) delayedEdit = timer.timerId;
    ASSERT_NE(delayedEdit, -1) << "a click on the selected cell starts its delayed edit";
    TimerWatch watch(grid.view(), delayedEdit);
    // Each key goes where the keyboard focus is when it is typed.
    const auto type = [](const QString& keys) {
      for (const QChar c : keys) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    };
    type(text ? QStringLiteral("Main ") : QStringLiteral("12"));
    // Until the delayed edit has run, or was called off.
    const auto pending = [&] {
      for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(grid.view()))
        if (timer.timerId == delayedEdit) return watch.fired == 0;
      return false;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pending(); }, 5000));
    type(text ? QStringLiteral("Channels") : QStringLiteral("34"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid.text(1, col), text ? QStringLiteral("Main Channels") : QStringLiteral("1234")) << col;
  }
  QApplication::setDoubleClickInterval(interval);
}

TEST_F(GridTest, DigitsOnlyAndNumericCellsRefuseOtherCharacters) {
  grid.setCellKind(1, 2, GridCellKind::Digits);
  grid.setCellKind(1, 3, CGridCellNumeric);
  for (const int col : {2, 3}) {
    ASSERT_TRUE(grid.editCell(1, col));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("00a1-2 3+"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid.text(1, col), QStringLiteral("00123")) << col;
  }
  EXPECT_EQ(events, (std::vector<std::string>{"end 1,2 '00123'", "end 1,3 '00123'"}));
}

TEST_F(GridTest, EditEndsBeforeTheFocusMoves) {
  // Types into the cell, leaves it, and returns what was reported.
  const auto typeAndLeave = [this](int row, int col, const char* typed, const std::function<void()>& leave) {
    events.clear();
    EXPECT_TRUE(grid.editCell(row, col));
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
    leave();
    EXPECT_FALSE(grid.isEditing());
    return events;
  };
  EXPECT_EQ(typeAndLeave(1, 1, "a", [this] { clickCell(3, 2); }),
            (std::vector<std::string>{"end 1,1 'a'", "about 3,2 ''"}));
  EXPECT_EQ(grid.focusCell(), (CellId{3, 2}));
  // Tab commits and moves one cell on, without opening the next editor.
  EXPECT_EQ(typeAndLeave(3, 2, "b", [this] { key(Qt::Key_Tab); }),
            (std::vector<std::string>{"end 3,2 'b'", "about 3,3 ''"}));
  EXPECT_EQ(grid.focusCell(), (CellId{3, 3}));
  EXPECT_EQ(typeAndLeave(3, 3, "c", [this] { key(Qt::Key_Down); }),
            (std::vector<std::string>{"end 3,3 'c'", "about 4,3 ''"}));
  EXPECT_EQ(grid.focusCell(), (CellId{4, 3}));
}

TEST_F(GridTest, SelectionAboutToChangeComesBeforeTheMoveWithTheNewCell) {
  grid.setFocusCell(2, 2);
  CellId focusAtSignal;
  onEvent = [&](const std::string&) { focusAtSignal = grid.focusCell(); };
  clickCell(4, 3);
  EXPECT_EQ(events, (std::vector<std::string>{"about 4,3 ''"}));
  EXPECT_EQ(focusAtSignal, (CellId{2, 2}));
  EXPECT_EQ(grid.focusCell(), (CellId{4, 3}));

  events.clear();
  key(Qt::Key_Right);
  key(Qt::Key_Up);
  key(Qt::Key_Tab);
  key(Qt::Key_Left);  // at the first column: no move, no notification
  EXPECT_EQ(events, (std::vector<std::string>{"about 4,4 ''", "about 3,4 ''", "about 4,1 ''"}));

  // A click on a row header selects the row.
  events.clear();
  QHeaderView* rows = grid.view()->verticalHeader();
  QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                    QPoint(rows->width() / 2, rows->sectionViewportPosition(1) + rows->sectionSize(1) / 2));
  EXPECT_EQ(events, (std::vector<std::string>{"about 2,1 ''"}));
  EXPECT_EQ(grid.selectedRange(), (CellRange{2, 1, 2, 4}));
}

TEST_F(GridTest, SelectedRangeIsTheBoundingRectangle) {
  EXPECT_FALSE(grid.selectedRange().isValid());
  clickCell(2, 2);
  EXPECT_EQ(grid.selectedRange(), (CellRange{2, 2, 2, 2}));
  QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, grid.cellRect(4, 3).center());
  EXPECT_EQ(grid.selectedRange(), (CellRange{2, 2, 4, 3}));
  grid.setSelectedRange({3, 1, 3, 4});
  EXPECT_EQ(grid.selectedRange(), (CellRange{3, 1, 3, 4}));
  EXPECT_EQ(grid.focusCell(), (CellId{3, 1}));
}

class GridListTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    grid.setCellKind(2, 3, CGridCellCombo);
    grid.setItems(2, 3, {QStringLiteral("Not in use"), QStringLiteral("GSM"), QStringLiteral("Thermostat")});
    grid.setText(2, 3, QStringLiteral("Not in use"));
  }
};

TEST_F(GridListTest, ListOpensAtOnceAndOffersOnlyItsItems) {
  clickCell(2, 3);
  events.clear();
  QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(2, 3).center());
  auto* combo = editor<QComboBox>();
  ASSERT_NE(combo, nullptr);
  EXPECT_FALSE(combo->isEditable());
  EXPECT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->currentText(), QStringLiteral("Not in use"));
  EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
}

TEST_F(GridListTest, PickingReportsEndOfEditWithTheOldTextThenListSelection) {
  auto* combo = openList(2, 3);
  ASSERT_NE(combo, nullptr);
  // A wider selection: the pick narrows it to the edited cell.
  grid.view()->selectionModel()->select(
      QItemSelection(grid.view()->model()->index(0, 0), grid.view()->model()->index(3, 3)), QItemSelectionModel::Select);
  CellRange selectionAtEnd;
  onEvent = [&](const std::string& name) {
    if (name == "end") selectionAtEnd = grid.selectedRange();
  };
  pickInOpenList(combo, 2);
  EXPECT_EQ(events, (std::vector<std::string>{"end 2,3 'Not in use'", "list 2,3 'Not in use'"}));
  EXPECT_EQ(selectionAtEnd, (CellRange{2, 3, 2, 3}));
  EXPECT_TRUE(grid.isEditing());

  // The pick is committed when the edit ends.
  events.clear();
  EXPECT_TRUE(grid.endEditing());
  EXPECT_EQ(grid.text(2, 3), QStringLiteral("Thermostat"));
  EXPECT_EQ(events, (std::vector<std::string>{"end 2,3 'Thermostat'"}));
  EXPECT_FALSE(grid.endEditing());
}

TEST_F(GridListTest, EndingTheEditInTheHandlerGivesANestedEndOfEdit) {
  // The way the section pages store a row: end the edit at once.
  bool nested = false;
  onEvent = [&](const std::string& name) {
    if (name == "end" && !nested) {
      nested = true;
      EXPECT_TRUE(grid.endEditing());
    }
  };
  auto* combo = openList(2, 3);
  ASSERT_NE(combo, nullptr);
  pickInOpenList(combo, 1);
  EXPECT_EQ(events,
            (std::vector<std::string>{"end 2,3 'Not in use'", "end 2,3 'GSM'", "list 2,3 'GSM'"}));
  EXPECT_FALSE(grid.isEditing());
  EXPECT_EQ(grid.text(2, 3), QStringLiteral("GSM"));
}

TEST_F(GridListTest, PickingTheSameItemOrLeavingATextOutsideTheListChangesNothing) {
  auto* combo = openList(2, 3);
  ASSERT_NE(combo, nullptr);
  pickInOpenList(combo, 0);
  EXPECT_TRUE(events.empty());
  grid.endEditing();
  EXPECT_TRUE(events.empty());

  grid.setText(2, 3, QStringLiteral("code 7"));
  ASSERT_NE(openList(2, 3), nullptr);
  key(Qt::Key_Escape);  // closes the list
  grid.endEditing();
  EXPECT_EQ(grid.text(2, 3), QStringLiteral("code 7"));
  EXPECT_TRUE(events.empty());
}

TEST_F(GridTest, CheckBoxesToggleByClickAndSpaceWithoutEndOfEdit) {
  grid.setCellKind(1, 2, CGridCellCheck);
  grid.setCellKind(2, 2, CGridCellCheck);
  grid.setReadOnly(2, 2, true);
  clickCell(1, 2);
  EXPECT_TRUE(grid.isChecked(1, 2));
  EXPECT_FALSE(grid.editCell(1, 2));
  key(Qt::Key_Space);
  EXPECT_FALSE(grid.isChecked(1, 2));
  EXPECT_EQ(events, (std::vector<std::string>{"about 1,2 ''", "check 1,2 ''", "check 1,2 ''"}));

  events.clear();
  clickCell(2, 2);
  key(Qt::Key_Space);
  EXPECT_FALSE(grid.isChecked(2, 2));
  EXPECT_EQ(events, (std::vector<std::string>{"about 2,2 ''"}));
}

TEST_F(GridTest, TimeCellsEditWithSpinArrows) {
  grid.setCellKind(3, 4, GridCellKind::Time);
  grid.setTime(3, 4, QTime(0, 0, 10));
  ASSERT_TRUE(grid.editCell(3, 4));
  auto* edit = editor<QTimeEdit>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->time(), QTime(0, 0, 10));
  edit->setCurrentSection(QDateTimeEdit::MinuteSection);
  QTest::keyClick(edit, Qt::Key_Up);
  QTest::keyClick(edit, Qt::Key_Up);
  key(Qt::Key_Return);
  EXPECT_EQ(grid.time(3, 4), QTime(0, 2, 10));
  EXPECT_EQ(events, (std::vector<std::string>{"end 3,4 '0:02:10'"}));
}

TEST_F(GridTest, AnInputPatternLimitsWhatCanBeTyped) {
  grid.setCellKind(1, 2, GridCellKind::Digits);
  grid.setInputPattern(1, 2, QStringLiteral("(00)?[0-9]{0,4}"));
  EXPECT_EQ(grid.inputPattern(1, 2), QStringLiteral("(00)?[0-9]{0,4}"));
  const auto typed = [this](const char* keys) {
    EXPECT_TRUE(grid.editCell(1, 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(keys));
    key(Qt::Key_Return);
    return grid.text(1, 2);
  };
  EXPECT_EQ(typed("1234567"), QStringLiteral("1234"));
  EXPECT_EQ(typed("00123456"), QStringLiteral("001234"));
  EXPECT_EQ(typed("0a1x"), QStringLiteral("01"));
  // A text set from code is shown as it is and can still be shortened.
  grid.setText(1, 2, QStringLiteral("123456789"));
  ASSERT_TRUE(grid.editCell(1, 2));
  key(Qt::Key_End);
  key(Qt::Key_Backspace);
  key(Qt::Key_Return);
  EXPECT_EQ(grid.text(1, 2), QStringLiteral("12345678"));
  // Without a pattern a digits cell takes any number of digits.
  grid.setInputPattern(1, 2, QString());
  EXPECT_EQ(typed("1234567"), QStringLiteral("1234567"));
}

TEST_F(GridTest, FocusMovedComesAfterTheMoveAndAfterTheButtonIsReleased) {
  std::vector<std::string> moved;
  QObject::connect(&grid, &Grid::focusMoved, &grid, [&](int row, int col) {
    moved.push_back(std::to_string(row) + "," + std::to_string(col) + (grid.focusCell() == CellId{row, col} ? "" : " early"));
  });
  grid.setFocusCell(2, 2);
  EXPECT_EQ(moved, (std::vector<std::string>{"2,2"}));
  key(Qt::Key_Down);
  key(Qt::Key_Tab);
  EXPECT_EQ(moved, (std::vector<std::string>{"2,2", "3,2", "3,3"}));

  moved.clear();
  QTest::mousePress(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(5, 4).center());
  EXPECT_EQ(grid.focusCell(), (CellId{5, 4}));
  EXPECT_TRUE(moved.empty());
  QTest::mouseRelease(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(5, 4).center());
  EXPECT_EQ(moved, (std::vector<std::string>{"5,4"}));
  // A click on the cell that has the focus moves nothing.
  clickCell(5, 4);
  EXPECT_EQ(moved.size(), 1u);
}

TEST_F(GridTest, EndEditingFromCodeCommitsTheTypedText) {
  EXPECT_FALSE(grid.endEditing());
  ASSERT_TRUE(grid.editCell(4, 1));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
  EXPECT_TRUE(grid.endEditing());
  EXPECT_EQ(events, (std::vector<std::string>{"end 4,1 'typed'"}));
  EXPECT_FALSE(grid.isEditing());
  EXPECT_EQ(grid.editingCell(), CellId{});
}

TEST_F(GridTest, ReadOnlyAndFixedCellsAreNotEdited) {
  grid.setText(1, 1, QStringLiteral("0123456789ABCDEF"));
  grid.setReadOnly(1, 1, true);
  EXPECT_FALSE(grid.editCell(1, 1));
  EXPECT_FALSE(grid.editCell(0, 1));
  EXPECT_FALSE(grid.editCell(1, 0));
  // QTest's double click is the second click only.
  clickCell(1, 1);
  QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {}, grid.cellRect(1, 1).center());
  EXPECT_FALSE(grid.isEditing());
  EXPECT_EQ(events.back(), "double 1,1 '0123456789ABCDEF'");
}

}  // namespace
}  // namespace wk

namespace wk {
namespace {

// Every cell kind, as the SMS page shows its rows, with colours and an open list.
TEST(GridScreenshot, CellKindsAndColours) {
  Grid grid;
  grid.setColumnCount(8);
  grid.setRowCount(7);
  grid.setRowHeight(0, 30);
  const char* titles[] = {"#", "En", "Phone number", "Source Category", "Alarm On Timeout", "CH1", "Sound Length", "Comments"};
  const int widths[] = {25, 30, 90, 130, 60, 30, 100, 160};
  for (int c = 0; c < 8; ++c) {
    grid.setText(0, c, QString::fromLatin1(titles[c]));
    grid.setColumnWidth(c, widths[c]);
  }
  for (int r = 1; r < 7; ++r) {
    grid.setText(r, 0, QString::number(r));
    const QColor shade = r % 2 ? QColor(255, 255, 255) : QColor(224, 224, 224);
    for (int c = 1; c < 8; ++c) grid.setBackground(r, c, shade);
    grid.setCellKind(r, 1, CGridCellCheck);
    grid.setChecked(r, 1, r % 2);
    grid.setCellKind(r, 2, GridCellKind::Digits);
    grid.setText(r, 2, QStringLiteral("0012345%1").arg(r));
    grid.setCellKind(r, 3, CGridCellCombo);
    grid.setItems(r, 3, {QStringLiteral("System Event"), QStringLiteral("Main Channel"), QStringLiteral("User Event")});
    grid.setText(r, 3, QStringLiteral("Main Channel"));
    grid.setCellKind(r, 4, CGridCellNumeric);
    grid.setText(r, 4, QString::number(r * 40));
    grid.setCellKind(r, 5, CGridCellCheck);
    grid.setChecked(r, 5, r == 2);
    grid.setCellKind(r, 6, GridCellKind::Time);
    grid.setTime(r, 6, QTime(0, 0).addSecs(10 * r));
    grid.setText(r, 7, QStringLiteral("Склад %1").arg(r));
    grid.setTextColor(r, 7, r == 3 ? QColor(0, 0, 255) : QColor());
  }
  grid.resize(660, 260);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  ASSERT_TRUE(grid.editCell(3, 3));
  auto* combo = grid.view()->viewport()->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
  test::screenshot(&grid, QStringLiteral("grid_cell_kinds"));
  combo->hidePopup();
  grid.endEditing();
}

}  // namespace
}  // namespace wk
