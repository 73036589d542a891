// The thermosensor channel pages and the iButton key page, driven as a user
// drives them: buttons, clicks, lists and typing on the real widgets, with a
// scripted controller behind them; what reaches the image is checked byte
// for byte.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "document/onewire_records.h"
#include "link/device_operation.h"
#include "onewire/ui/dlg_prop_thermo_channel.h"
#include "onewire/ui/dlg_prop_thermo_ibutton.h"
#include "onewire/ui/dlg_prop_thermo_selector.h"
#include "onewire_ui_rig.h"
#include "support/gui/screenshot.h"

namespace wk {
namespace {

using test::hexOf;
using test::ScriptedPeer;
using test::scriptSearch;
using test::whenModal;

constexpr std::size_t kSlots1 = 62116;
constexpr std::size_t kSlots2 = 62276;
constexpr std::size_t kKeys = 62436;
constexpr std::size_t kAliases1 = 59776;
constexpr std::size_t kComments = 60800;

const std::string kA = "28 10 A2 5C 0B 00 00 FE";
const std::string kB = "28 11 A2 5C 0B 00 00 C9";
const std::string kC = "28 12 A2 5C 0B 00 00 90";
const std::string kKey = "01 63 B9 21 0C 00 00 5F";

class ThermoPages : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.host.get()));
  }
  CDlgPropThermoChannel& channel(int c) { return rig.host->channel(c); }
  CDlgPropThermoIButton& keys() { return rig.host->keys(); }
  void showTab(int index) { rig.host->tabBar()->setCurrentIndex(index); }
  QPushButton* button(OneWirePage& page, const char* text) {
    for (QPushButton* b : page.buttons())
      if (b->text() == QString::fromUtf8(text)) return b;
    ADD_FAILURE() << "no button " << text;
    return nullptr;
  }
  void click(OneWirePage& page, const char* text) { QTest::mouseClick(button(page, text), Qt::LeftButton); }
  void clickCell(Grid* grid, int row, int col, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, modifiers, grid->cellRect(row, col).center());
  }
  // Opens the list of a cell and picks an item in it, as the mouse does.
  void pick(Grid* grid, int row, int col, int item) {
    ASSERT_TRUE(grid->editCell(row, col));
    QComboBox* combo = nullptr;
    for (auto* c : grid->view()->viewport()->findChildren<QComboBox*>())
      if (c->isVisible()) combo = c;
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
    QAbstractItemView* list = combo->view();
    list->scrollTo(list->model()->index(item, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(item, 0)).center());
  }
  void type(Grid* grid, int row, int col, const QString& text) {
    ASSERT_TRUE(grid->editCell(row, col));
    auto* edit = dynamic_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    // Key by key, each carrying its character, Cyrillic ones too.
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  // The selector, once the search found something: picks entry and says OK.
  void chooseInSelector(int entry) {
    whenModal<CDlgPropThermoSelector>([entry](CDlgPropThermoSelector& s) {
      s.list()->setCurrentIndex(entry);
      QTest::mouseClick(s.okButton(), Qt::LeftButton);
    });
  }

  test::ThermoPagesRig rig;
};

TEST_F(ThermoPages, TheHostHasThreeTabsAndSizesItsPages) {
  QTabBar* tabs = rig.host->tabBar();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "1Wire channel 1");
  EXPECT_EQ(tabs->tabText(1), "1Wire channel 2");
  EXPECT_EQ(tabs->tabText(2), "1Wire channel 3 (ext.key)");
  EXPECT_EQ(rig.host->tabControl()->property("controlId").toInt(), 1028);
  rig.host->resize(900, 600);
  QTest::qWait(0);
  EXPECT_EQ(rig.host->tabControl()->geometry(), QRect(0, 0, 900, 600));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.host->page(i)->geometry(), QRect(2, 22, 894, 574)) << i;
  EXPECT_TRUE(channel(0).isVisible());
  EXPECT_FALSE(channel(1).isVisible());
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
  EXPECT_TRUE(keys().isVisible());
  EXPECT_FALSE(channel(0).isVisible());
  EXPECT_EQ(channel(0).bus(), 0);
  EXPECT_EQ(channel(1).bus(), 1);
  EXPECT_EQ(keys().bus(), 2);
}

TEST_F(ThermoPages, TheGridsColumnsAndSize) {
  Grid* grid = channel(0).grid();
  ASSERT_EQ(grid->rowCount(), 17);
  ASSERT_EQ(grid->columnCount(), 6);
  EXPECT_EQ(grid->width(), 800);
  const int widths[] = {30, 120, 100, 800 - 30 - 120 - 100 - 120 - 120 - 22, 120, 120};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
  QStringList headers;
  for (int c = 1; c < 6; ++c) headers << grid->text(0, c);
  EXPECT_EQ(headers, (QStringList{"sensor's SN", "Type", "Description", "Errors Sensitivity", "Thermosensor Alias"}));
  EXPECT_EQ(keys().grid()->text(0, 4), "Key Type");
  EXPECT_EQ(keys().grid()->text(0, 5), "IButton comment");
  EXPECT_EQ(grid->text(1, 0), "1");
  EXPECT_EQ(grid->text(16, 0), "16");
  EXPECT_TRUE(grid->isReadOnly(1, 1) && grid->isReadOnly(1, 2) && grid->isReadOnly(16, 3));
  EXPECT_FALSE(grid->isReadOnly(1, 5));
  EXPECT_EQ(grid->cellKind(3, 4), GridCellKind::Combo);
  const QStringList items = grid->items(3, 4);
  ASSERT_EQ(items.size(), 65);
  EXPECT_EQ(items[0], "Do not react");
  EXPECT_EQ(items[1], "0 thermo-requests");
  EXPECT_EQ(items[64], "63 thermo-requests");
  EXPECT_EQ(keys().grid()->items(1, 4),
            (QStringList{"Common Key", "Perimeter Key", "Common Key Plus", "Perimeter Key Plus", "Common Key ARM",
                         "Perimeter Key ARM", "Common Key DISARM", "Perimeter Key DISARM"}));
  // As tall as its rows when they fit, else the page's height less 22.
  int rows = 2 * grid->view()->frameWidth();
  for (int r = 0; r < 17; ++r) rows += grid->rowHeight(r);
  EXPECT_EQ(grid->height(), rows);
  rig.host->resize(820, 300);
  QTest::qWait(0);
  EXPECT_EQ(grid->height(), channel(0).height() - 22);
  // The buttons below it.
  for (QPushButton* b : channel(0).buttons()) EXPECT_EQ(b->y(), grid->height());
  QStringList texts;
  for (QPushButton* b : channel(0).buttons()) texts << b->text();
  EXPECT_EQ(texts, (QStringList{"Find All", "Add Device", "Remove Device", "Thermo Monitor"}));
  texts.clear();
  for (QPushButton* b : keys().buttons()) texts << b->text();
  EXPECT_EQ(texts, (QStringList{"Add Device", "Remove Device"}));
}

TEST_F(ThermoPages, ANewDocumentShowsSixteenGreyEmptyRows) {
  for (OneWirePage* page : {static_cast<OneWirePage*>(&channel(0)), static_cast<OneWirePage*>(&channel(1)),
                            static_cast<OneWirePage*>(&keys())}) {
    Grid* grid = page->grid();
    for (int r = 1; r <= 16; ++r) {
      EXPECT_EQ(grid->text(r, 1), "0000000000000000");
      EXPECT_EQ(grid->textColor(r, 1), QColor(128, 128, 128));
      EXPECT_EQ(grid->text(r, 2), "");
      EXPECT_EQ(grid->text(r, 3), "");
      EXPECT_EQ(grid->text(r, 4), page == &keys() ? "Common Key" : "Do not react");
      EXPECT_EQ(grid->text(r, 5), "");
    }
  }
  EXPECT_FALSE(rig.doc.isModified());
}

TEST_F(ThermoPages, FindAllWithThreeSensors) {
  // Whatever was in the slots goes; the error reactions stay.
  for (std::size_t s = 0; s < 16; ++s) rig.put(kSlots2 + 10 * s, "28 AA AA AA AA AA AA AA 07 0B");
  rig.doc.refreshEditors();
  scriptSearch(rig.peer, 1, {kA, kB, kC});
  showTab(1);
  click(channel(1), "Find All");
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.bytes(kSlots2, 30),
            "28 10 A2 5C 0B 00 00 FE 00 0B 28 11 A2 5C 0B 00 00 C9 01 0B 28 12 A2 5C 0B 00 00 90 02 0B");
  for (std::size_t s = 3; s < 16; ++s)
    EXPECT_EQ(rig.bytes(kSlots2 + 10 * s, 10), "00 00 00 00 00 00 00 00 " + hexOf({std::uint8_t(s)}) + " 0B") << s;
  Grid* grid = channel(1).grid();
  EXPECT_EQ(grid->text(1, 1), "2810A25C0B0000FE");
  EXPECT_EQ(grid->textColor(1, 1), QColor(0, 0, 255));
  EXPECT_EQ(grid->text(3, 2), "DS18B20");
  EXPECT_EQ(grid->text(3, 3), "programmable resolution digital thermometer");
  EXPECT_EQ(grid->text(3, 4), "5 thermo-requests");
  EXPECT_EQ(grid->text(4, 1), "0000000000000000");
  EXPECT_EQ(grid->textColor(4, 1), QColor(128, 128, 128));
  EXPECT_EQ(grid->text(4, 2), "");
  EXPECT_TRUE(rig.doc.isModified());
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_FALSE(rig.peer.isOpen());
}

TEST_F(ThermoPages, FindAllWithThePortMissingChangesNothing) {
  rig.put(kSlots1, "28 10 A2 5C 0B 00 00 FE 00 00");
  rig.doc.refreshEditors();
  const ConfigImage before = rig.doc.image();
  rig.peer.openResult = {link::OpenStatus::Kind::NotFound, "No such file or directory"};
  click(channel(0), "Find All");
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_TRUE(rig.doc.image() == before);
  EXPECT_EQ(channel(0).grid()->text(1, 1), "2810A25C0B0000FE");
}

TEST_F(ThermoPages, AddDevicePutsTheChoiceIntoTheFirstEmptySlot) {
  rig.put(kSlots1, "28 AA AA AA AA AA AA AA 00 03");
  rig.put(kSlots1 + 19, "0B");
  rig.doc.refreshEditors();
  scriptSearch(rig.peer, 0, {kA, kB});
  chooseInSelector(1);
  click(channel(0), "Add Device");
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.bytes(kSlots1 + 10, 10), "28 11 A2 5C 0B 00 00 C9 01 0B");
  EXPECT_EQ(channel(0).grid()->text(2, 1), "2811A25C0B0000C9");
  EXPECT_TRUE(rig.doc.isModified());
}

TEST_F(ThermoPages, AddDeviceWithEverySlotFullStoresNothing) {
  for (std::size_t s = 0; s < 16; ++s) rig.put(kSlots1 + 10 * s, "28 AA AA AA AA AA AA AA " + hexOf({std::uint8_t(s)}) + " 00");
  rig.doc.refreshEditors();
  const ConfigImage before = rig.doc.image();
  scriptSearch(rig.peer, 0, {kA});
  chooseInSelector(0);
  click(channel(0), "Add Device");
  EXPECT_TRUE(rig.peer.done());
  EXPECT_TRUE(rig.doc.image() == before);
  EXPECT_TRUE(rig.prompter.messages.empty());
}

TEST_F(ThermoPages, AddDeviceCancelledOrWithNothingFoundStoresNothing) {
  const ConfigImage before = rig.doc.image();
  scriptSearch(rig.peer, 0, {kA});
  whenModal<CDlgPropThermoSelector>([](CDlgPropThermoSelector& s) { QTest::mouseClick(s.cancelButton(), Qt::LeftButton); });
  click(channel(0), "Add Device");
  scriptSearch(rig.peer, 0, {});
  click(channel(0), "Add Device");  // no selector: nothing found
  EXPECT_TRUE(rig.peer.done());
  EXPECT_TRUE(rig.doc.image() == before);
}

TEST_F(ThermoPages, ErrorSensitivityPicksStore0BThen0A) {
  Grid* grid = channel(0).grid();
  pick(grid, 1, 4, 6);  // "5 thermo-requests"
  EXPECT_FALSE(grid->isEditing());
  EXPECT_EQ(grid->text(1, 4), "5 thermo-requests");
  EXPECT_EQ(rig.bytes(kSlots1 + 9, 1), "0B");
  EXPECT_TRUE(rig.doc.isModified());
  pick(grid, 1, 4, 0);  // "Do not react"
  EXPECT_EQ(rig.bytes(kSlots1 + 9, 1), "0A");
  // The collect step agrees.
  rig.doc.collectEditors();
  EXPECT_EQ(rig.bytes(kSlots1 + 9, 1), "0A");
}

TEST_F(ThermoPages, ACyrillicAliasIsStoredAndShownLatin) {
  Grid* grid = channel(0).grid();
  type(grid, 3, 5, QString::fromUtf8("Склад"));
  EXPECT_EQ(rig.bytes(kAliases1 + 64, 6), "05 53 6B 6C 61 64");
  EXPECT_EQ(grid->text(3, 5), "Sklad");
  EXPECT_TRUE(rig.doc.isModified());
  type(grid, 3, 5, QString(40, QChar('x')));
  EXPECT_EQ(grid->text(3, 5), QString(31, QChar('x')));
  EXPECT_EQ(rig.bytes(kAliases1 + 64, 1), "1F");
}

// Saving while an alias or a comment is still being typed stores it; a
// refresh (after Read All Data) drops it instead of storing it over the new
// bytes later.
TEST_F(ThermoPages, AnOpenEditCountsOnACollectAndIsDroppedOnARefresh) {
  for (const bool collect : {true, false}) {
    for (Grid* grid : {channel(0).grid(), keys().grid()}) {
      const std::size_t at = grid == keys().grid() ? kComments + 64 * 2 : kAliases1 + 32 * 2;
      ASSERT_TRUE(grid->editCell(3, 5));
      QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Gate"));
      if (collect) {
        rig.doc.collectEditors();
        EXPECT_FALSE(grid->isEditing());
        EXPECT_EQ(rig.bytes(at, 1), "04");
      } else {
        rig.doc.image().all()[at] = 0;  // what the controller holds
        rig.doc.refreshEditors();
        EXPECT_FALSE(grid->isEditing());
        EXPECT_EQ(grid->text(3, 5), QString());
        grid->endEditing();
        EXPECT_EQ(rig.bytes(at, 1), "00");
      }
    }
  }
}

TEST_F(ThermoPages, RemovingRowsTwoToFourKeepsTheirSettingsAndAliases) {
  for (std::size_t s = 0; s < 5; ++s) {
    rig.put(kSlots1 + 10 * s, kA + " " + hexOf({std::uint8_t(s)}) + " 8B");
    SensorAlias(rig.doc.image(), 0, s).store(u"Hall");
  }
  rig.doc.refreshEditors();
  Grid* grid = channel(0).grid();
  clickCell(grid, 2, 1);
  clickCell(grid, 4, 5, Qt::ShiftModifier);
  ASSERT_EQ(grid->selectedRange(), (CellRange{2, 1, 4, 5}));
  rig.prompter.answer(Answer::Yes);
  click(channel(0), "Remove Device");
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<test::RecordedMessage>{
                {"Remove sensor's SN from list?", MessageIcon::Question, MessageButtons::YesNo}}));
  EXPECT_EQ(rig.bytes(kSlots1, 10), kA + " 00 8B");
  for (std::size_t s = 1; s <= 3; ++s) EXPECT_EQ(rig.bytes(kSlots1 + 10 * s, 10), "00 00 00 00 00 00 00 00 00 8B") << s;
  EXPECT_EQ(rig.bytes(kSlots1 + 40, 10), kA + " 04 8B");
  for (std::size_t s = 0; s < 5; ++s) EXPECT_EQ(rig.bytes(kAliases1 + 32 * s, 5), "04 48 61 6C 6C");
  EXPECT_EQ(grid->text(3, 1), "0000000000000000");
  EXPECT_EQ(grid->text(3, 5), "Hall");
  EXPECT_TRUE(grid->view()->hasFocus());
  EXPECT_TRUE(rig.doc.isModified());
}

TEST_F(ThermoPages, RemoveAnsweredNoChangesNothing) {
  rig.put(kSlots1, kA + " 00 00");
  rig.doc.refreshEditors();
  clickCell(channel(0).grid(), 1, 2);
  rig.prompter.answer(Answer::No);
  click(channel(0), "Remove Device");
  EXPECT_EQ(rig.bytes(kSlots1, 10), kA + " 00 00");
  EXPECT_FALSE(rig.doc.isModified());
}

TEST_F(ThermoPages, DoubleClickReplacesASensorAfterTheQuestion) {
  rig.put(kSlots1 + 50, kA + " 05 0B");
  rig.doc.refreshEditors();
  Grid* grid = channel(0).grid();
  clickCell(grid, 6, 2);
  // No: nothing is asked of the controller.
  rig.prompter.answer(Answer::No);
  QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton, {}, grid->cellRect(6, 2).center());
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Replace this cell with New Sensor/Key SN?"}));
  EXPECT_TRUE(rig.peer.events.empty());
  // Yes: the search, the choice, the slot.
  rig.prompter.answer(Answer::Yes);
  scriptSearch(rig.peer, 0, {kB, kC});
  chooseInSelector(1);
  QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton, {}, grid->cellRect(6, 2).center());
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.bytes(kSlots1 + 50, 10), kC + " 05 0B");
  EXPECT_EQ(grid->text(6, 1), "2812A25C0B000090");
}

TEST_F(ThermoPages, DoubleClickOnAnEmptySlotAsksNothing) {
  Grid* grid = channel(1).grid();
  showTab(1);
  clickCell(grid, 9, 1);
  scriptSearch(rig.peer, 1, {kB});
  chooseInSelector(0);
  QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton, {}, grid->cellRect(9, 1).center());
  EXPECT_TRUE(rig.prompter.messages.empty());
  EXPECT_EQ(rig.bytes(kSlots2 + 80, 10), kB + " 08 00");
}

// A type the list does not know (a newer firmware's, or a damaged file) is
// kept: the cell shows its number, which stores nothing back.
TEST_F(ThermoPages, AKeyTypeOf9IsShownAsItsNumberAndKept) {
  showTab(2);
  Grid* grid = keys().grid();
  EXPECT_EQ(grid->text(1, 4), "Common Key");
  rig.put(kKeys, kKey + " 09 00");
  rig.doc.refreshEditors();
  EXPECT_EQ(grid->text(1, 4), "9");
  rig.doc.collectEditors();
  EXPECT_EQ(rig.bytes(kKeys + 8, 1), "09");
  // Until the user picks a type of the list.
  pick(grid, 1, 4, 1);
  rig.doc.collectEditors();
  EXPECT_EQ(rig.bytes(kKeys + 8, 1), "01");
}

TEST_F(ThermoPages, AKeyAddedToASlotOfType5ShowsPerimeterKeyArm) {
  rig.put(kKeys, kKey + " 00 00");
  rig.put(kKeys + 18, "05 77");
  rig.doc.refreshEditors();
  showTab(2);
  scriptSearch(rig.peer, 2, {kKey, "02 1C B8 01 00 00 00 A2"});
  chooseInSelector(1);
  click(keys(), "Add Device");
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.bytes(kKeys + 10, 10), "02 1C B8 01 00 00 00 A2 05 77");
  EXPECT_EQ(keys().grid()->text(2, 4), "Perimeter Key ARM");
  EXPECT_EQ(keys().grid()->text(2, 2), "DS1425/DS1991");
}

TEST_F(ThermoPages, KeyTypeAndCommentEdits) {
  showTab(2);
  Grid* grid = keys().grid();
  pick(grid, 4, 4, 7);
  EXPECT_EQ(grid->text(4, 4), "Perimeter Key DISARM");
  // A type reaches the image when the page is collected.
  EXPECT_EQ(rig.bytes(kKeys + 38, 1), "00");
  EXPECT_TRUE(rig.doc.isModified());
  rig.doc.collectEditors();
  EXPECT_EQ(rig.bytes(kKeys + 38, 1), "07");
  type(grid, 4, 5, QString::fromUtf8("Дверь A"));
  EXPECT_EQ(rig.bytes(kComments + 3 * 64, 16), "07 00 14 04 32 04 35 04 40 04 4C 04 20 00 41 00");
  EXPECT_EQ(grid->text(4, 5), QString::fromUtf8("Дверь A"));
}

TEST_F(ThermoPages, RemovingKeysKeepsTypeAndComment) {
  rig.put(kKeys + 10, kKey + " 03 55");
  IButtonCommentRecord::at(rig.doc.image(), 1).store(u"Gate");
  rig.doc.refreshEditors();
  showTab(2);
  clickCell(keys().grid(), 2, 3);
  rig.prompter.answer(Answer::Yes);
  click(keys(), "Remove Device");
  EXPECT_EQ(rig.bytes(kKeys + 10, 10), "00 00 00 00 00 00 00 00 03 55");
  EXPECT_EQ(keys().grid()->text(2, 5), "Gate");
  EXPECT_EQ(keys().grid()->text(2, 4), "Perimeter Key Plus");
}

TEST_F(ThermoPages, ThermoMonitorOnlyMarksTheDocument) {
  const ConfigImage before = rig.doc.image();
  click(channel(0), "Thermo Monitor");
  EXPECT_TRUE(rig.doc.isModified());
  EXPECT_TRUE(rig.doc.image() == before);
  EXPECT_TRUE(rig.peer.events.empty());
}

}  // namespace
}  // namespace wk
