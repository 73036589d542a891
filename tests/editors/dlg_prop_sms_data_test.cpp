// The "SMS Data" page driven as a user drives it: clicks, keys and list picks
// on the real grid, then the records the page stores, byte for byte.
#include "editors/dlg_prop_sms_data.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <memory>
#include <vector>

#include "document/c4410_doc.h"
#include "language/translate.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/seams.h"
#include "seams/settings.h"
#include "support/gui/screenshot.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "widgets/grid.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;
using Page = CDlgPropSMSData;

constexpr std::size_t kComments = 40448;

std::string zeros(std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += i ? " 00" : "00";
  return out;
}

struct QuietSeams {
  test::ScriptedPrompter prompter;
  MemorySettings settings;
  SystemClock clock;
  link::TermiosTransport transport{clock};
  Seams seams{prompter, settings, clock, transport};
};

class SmsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    makePage();
    doc.makeNew();
  }
  void TearDown() override { ClearTranslations(); }

  void makePage() {
    page.reset();
    page = std::make_unique<Page>(PageContext{doc, quiet.seams, {}}, nullptr);
    page->resize(1500, 640);
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
  }

  Grid& grid() { return *page->grid(); }
  QAbstractItemView* view() { return grid().view(); }

  QRect cell(int row, int col) {
    view()->scrollTo(view()->model()->index(row - 1, col - 1));
    return grid().cellRect(row, col);
  }
  void click(int row, int col) { QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell(row, col).center()); }
  void key(int k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : view();
    QTest::keyClick(target, static_cast<Qt::Key>(k), modifiers);
  }
  // Opens the cell's editor with F2 and replaces its text.
  void type(int row, int col, const QString& text, bool enter = true) {
    click(row, col);
    key(Qt::Key_F2);
    ASSERT_TRUE(grid().isEditing());
    auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(line, nullptr);
    line->selectAll();
    key(Qt::Key_Delete);
    bool latin = true;
    for (const QChar c : text) latin = latin && c.unicode() < 0x80;
    if (latin) {
      QTest::keyClicks(line, text);
    } else {
      // What an input method delivers for letters the keyboard has no key for.
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(line, &commit);
    }
    if (enter) key(Qt::Key_Return);
  }
  // Opens the cell's list with F2 and clicks the item.
  void pick(int row, int col, const QString& item) {
    click(row, col);
    key(Qt::Key_F2);
    QComboBox* combo = nullptr;
    for (auto* c : view()->viewport()->findChildren<QComboBox*>())
      if (c->isVisible()) combo = c;
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
    const int at = combo->findText(item);
    ASSERT_GE(at, 0) << item.toStdString();
    QAbstractItemView* list = combo->view();
    const QModelIndex index = list->model()->index(at, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    EXPECT_FALSE(grid().isEditing());
    EXPECT_EQ(grid().text(row, col), item);
  }
  void setTime(int row, const QTime& time) {
    click(row, Page::kColSoundLength);
    key(Qt::Key_F2);
    auto* edit = qobject_cast<QTimeEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    for (const auto& [section, value] : {std::pair{QDateTimeEdit::HourSection, time.hour()},
                                         std::pair{QDateTimeEdit::MinuteSection, time.minute()},
                                         std::pair{QDateTimeEdit::SecondSection, time.second()}}) {
      edit->setSelectedSection(section);
      QTest::keyClicks(edit, QString::number(value).rightJustified(2, u'0'));
    }
    key(Qt::Key_Return);
  }

  std::string record(std::size_t k, std::size_t size = 158) {
    const auto b = doc.image().slice(158 * k, size);
    return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
  }
  std::string comment(std::size_t k, std::size_t size = 64) {
    const auto b = doc.image().slice(kComments + 64 * k, size);
    return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
  }
  void put(std::size_t at, std::string_view bytes) {
    const auto b = hex(bytes);
    std::copy(b.begin(), b.end(), doc.image().all().begin() + static_cast<std::ptrdiff_t>(at));
  }
  bool white(int row, int col) { return grid().background(row, col) == Page::white(); }
  bool grey(int row, int col) { return grid().background(row, col) == Page::grey(); }

  C4410Doc doc;
  QuietSeams quiet;
  std::unique_ptr<Page> page;
};

TEST_F(SmsPageTest, GridLayout) {
  EXPECT_EQ(grid().rowCount(), 257);
  EXPECT_EQ(grid().columnCount(), 17);
  EXPECT_EQ(grid().rowHeight(0), 30);
  const int widths[] = {25, 30, 90, 130, 150, 180, 90, 200, 70, 30, 30, 30, 30, 30, 30, 100, 200};
  const char* titles[] = {"#",     "En",  "Phone number", "Source Category", "Source", "Condition",
                          "SMS or CALL", "Text Message (SMS)", "Sound", "CH1", "CH2", "CH3", "CH4",
                          "CH5",   "CH6", "Sound Length", "Comments"};
  for (int c = 0; c < 17; ++c) {
    EXPECT_EQ(grid().columnWidth(c), widths[c]) << c;
    EXPECT_EQ(grid().text(0, c), QString::fromLatin1(titles[c])) << c;
  }
  const GridCellKind kinds[] = {GridCellKind::Text,  GridCellKind::Check, GridCellKind::Digits, GridCellKind::Combo,
                                GridCellKind::Combo, GridCellKind::Combo, GridCellKind::Combo,  GridCellKind::Text,
                                GridCellKind::Combo, GridCellKind::Check, GridCellKind::Check,  GridCellKind::Check,
                                GridCellKind::Check, GridCellKind::Check, GridCellKind::Check,  GridCellKind::Time,
                                GridCellKind::Text};
  for (const int r : {1, 128, 256}) {
    EXPECT_EQ(grid().text(r, 0), QString::number(r));
    for (int c = 1; c < 17; ++c) EXPECT_EQ(grid().cellKind(r, c), kinds[c]) << r << "," << c;
  }
  EXPECT_EQ(grid().items(5, Page::kColCategory),
            (QStringList{"System Event", "Main Channel", "User Event", "Thermosensor error", "IButton detect"}));
  EXPECT_EQ(grid().items(5, Page::kColCondition), (QStringList{"if ALARM ON", "if ALARM OFF", "if ON or OFF"}));
  EXPECT_EQ(grid().items(5, Page::kColKind), (QStringList{"SMS", "CALL", "SMS & CALL"}));
  EXPECT_EQ(grid().items(5, Page::kColSound),
            (QStringList{"-", "HORN", "YELP", "WAIL", "SIN500", "SIN1000", "SIN1500", "CONST"}));
}

TEST_F(SmsPageTest, InitialContentsBeforeAnyRefresh) {
  C4410Doc other;
  Page fresh(PageContext{other, quiet.seams, {}}, nullptr);
  Grid& g = *fresh.grid();
  for (const int r : {1, 256}) {
    EXPECT_FALSE(g.isChecked(r, Page::kColEnabled));
    EXPECT_EQ(g.text(r, Page::kColPhone), QString());
    EXPECT_EQ(g.text(r, Page::kColCategory), QString());
    EXPECT_EQ(g.text(r, Page::kColSource), QString());
    EXPECT_EQ(g.text(r, Page::kColCondition), QStringLiteral("if ALARM ON"));
    EXPECT_EQ(g.text(r, Page::kColKind), QStringLiteral("SMS"));
    EXPECT_EQ(g.text(r, Page::kColText), QString());
    EXPECT_EQ(g.text(r, Page::kColSound), QString());
    EXPECT_TRUE(g.time(r, Page::kColSoundLength).isValid());  // the time of day
    EXPECT_EQ(g.text(r, Page::kColComments), QString());
  }
  EXPECT_EQ(other.editor(EditorSlot::SmsData), &fresh);
}

TEST_F(SmsPageTest, ANewDocumentRowAndItsStoredBytes) {
  for (const int r : {1, 100, 256}) {
    EXPECT_FALSE(grid().isChecked(r, Page::kColEnabled));
    EXPECT_EQ(grid().text(r, Page::kColPhone), QString());
    EXPECT_EQ(grid().text(r, Page::kColCategory), QStringLiteral("Main Channel"));
    EXPECT_EQ(grid().text(r, Page::kColSource), QStringLiteral("Main Channel 1"));
    EXPECT_EQ(grid().items(r, Page::kColSource).size(), 24);
    EXPECT_EQ(grid().text(r, Page::kColCondition), QStringLiteral("if ALARM ON"));
    EXPECT_EQ(grid().text(r, Page::kColKind), QStringLiteral("SMS"));
    EXPECT_EQ(grid().text(r, Page::kColText), QString());
    EXPECT_EQ(grid().text(r, Page::kColSound), QStringLiteral("-"));
    for (int c = Page::kColCh1; c <= Page::kColCh6; ++c) EXPECT_FALSE(grid().isChecked(r, c));
    EXPECT_EQ(grid().text(r, Page::kColSoundLength), QStringLiteral("0:00:10"));
    EXPECT_EQ(grid().text(r, Page::kColComments), QString());
    for (int c = 1; c < 17; ++c) EXPECT_TRUE(grey(r, c)) << r << "," << c;
  }
  EXPECT_FALSE(doc.isModified());

  doc.collectEditors();
  for (std::size_t k = 0; k < 256; ++k) {
    ASSERT_EQ(record(k), "02 00 0A 00 01 01 00 81 " + zeros(150)) << k;
    ASSERT_EQ(comment(k), zeros(64)) << k;
  }
}

TEST_F(SmsPageTest, EditsChangeTheGridAndTheFlagButNotTheImage) {
  const ConfigImage before = doc.image();
  click(3, Page::kColText);
  EXPECT_TRUE(doc.isModified()) << "every notification of the grid marks the document, a focus move too";
  doc.setModified(false);
  click(4, Page::kColComments);
  EXPECT_TRUE(doc.isModified());
  doc.setModified(false);
  type(3, Page::kColText, QStringLiteral("Door open"));
  EXPECT_TRUE(doc.isModified());
  click(3, Page::kColEnabled);
  pick(3, Page::kColSound, QStringLiteral("HORN"));
  EXPECT_EQ(grid().text(3, Page::kColText), QStringLiteral("Door open"));
  EXPECT_TRUE(doc.image() == before);
  doc.collectEditors();
  EXPECT_EQ(record(2, 2), "0B 00");  // enabled, SMS, HORN
}

TEST_F(SmsPageTest, PhoneNumbers) {
  type(1, Page::kColPhone, QStringLiteral("0012345"));
  type(2, Page::kColPhone, QStringLiteral("12345"));
  type(3, Page::kColPhone, QStringLiteral("777"));
  type(3, Page::kColPhone, QString());
  // At most 16 digits, plus the "00" of an international number.
  type(4, Page::kColPhone, QStringLiteral("12345678901234567890"));
  type(5, Page::kColPhone, QStringLiteral("0012345678901234567890"));
  type(6, Page::kColPhone, QStringLiteral("+38 (050) 12"));
  EXPECT_EQ(grid().text(4, Page::kColPhone), QStringLiteral("1234567890123456"));
  EXPECT_EQ(grid().text(5, Page::kColPhone), QStringLiteral("001234567890123456"));
  EXPECT_EQ(grid().text(6, Page::kColPhone), QStringLiteral("3805012"));
  doc.collectEditors();
  EXPECT_EQ(record(0, 17).substr(18), "05 91 21 43 F5 00 00 00 00 00 00");
  EXPECT_EQ(record(1, 17).substr(18), "05 81 21 43 F5 00 00 00 00 00 00");
  EXPECT_EQ(record(2, 17).substr(18), "00 81 00 00 00 00 00 00 00 00 00");  // only the grid ever held 777
  EXPECT_EQ(record(3, 17).substr(18), "10 81 21 43 65 87 09 21 43 65 00");
  EXPECT_EQ(record(4, 17).substr(18), "10 91 21 43 65 87 09 21 43 65 00");
  doc.refreshEditors();
  EXPECT_EQ(grid().text(1, Page::kColPhone), QStringLiteral("0012345"));
  EXPECT_EQ(grid().text(2, Page::kColPhone), QStringLiteral("12345"));
  EXPECT_EQ(grid().text(3, Page::kColPhone), QString());
}

TEST_F(SmsPageTest, MessageTexts) {
  type(1, Page::kColText, QStringLiteral("abc"));
  type(2, Page::kColText, QStringLiteral("Пожар"));
  type(3, Page::kColText, QString(200, u'x'));
  type(4, Page::kColText, QString(99, u'y') + QStringLiteral("Ж"));
  doc.collectEditors();
  EXPECT_EQ(record(0, 21).substr(48), "03 00 61 F1 18");
  EXPECT_EQ(record(1, 28).substr(48), "05 08 04 1F 04 3E 04 36 04 30 04 40");
  EXPECT_EQ(record(2, 18).substr(48), "A0 00");
  EXPECT_EQ(record(3, 18).substr(48), "46 08");
  // The grid keeps the whole text until the next refresh.
  EXPECT_EQ(grid().text(3, Page::kColText).size(), 200);
  doc.refreshEditors();
  EXPECT_EQ(grid().text(3, Page::kColText), QString(160, u'x'));
  EXPECT_EQ(grid().text(4, Page::kColText), QString(70, u'y'));
  EXPECT_EQ(grid().text(2, Page::kColText), QStringLiteral("Пожар"));
}

TEST_F(SmsPageTest, CollectingEndsAnEditInProgress) {
  type(7, Page::kColText, QStringLiteral("typed"), /*enter=*/false);
  ASSERT_TRUE(grid().isEditing());
  doc.collectEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(record(6, 23).substr(48), "05 00 F4 3C BC 4C 06");
}

TEST_F(SmsPageTest, ChoosingACategoryRebuildsTheSourceList) {
  grid().setText(2, Page::kColCondition, QStringLiteral("if ON or OFF"));
  pick(2, Page::kColCategory, QStringLiteral("User Event"));
  EXPECT_EQ(grid().text(2, Page::kColSource), QStringLiteral("User Event 1"));
  QStringList users;
  for (int n = 1; n <= 16; ++n) users << QStringLiteral("User Event %1").arg(n);
  EXPECT_EQ(grid().items(2, Page::kColSource), users);
  EXPECT_EQ(grid().text(2, Page::kColCondition), QStringLiteral("if ON or OFF"));  // not touched
  EXPECT_TRUE(doc.isModified());

  pick(2, Page::kColCategory, QStringLiteral("System Event"));
  EXPECT_EQ(grid().text(2, Page::kColSource), QStringLiteral("Net Lost"));
  EXPECT_EQ(grid().items(2, Page::kColSource).size(), 50);
  pick(2, Page::kColCategory, QStringLiteral("Thermosensor error"));
  EXPECT_EQ(grid().text(2, Page::kColSource), QStringLiteral("Thermosensor error T1.01"));
  EXPECT_EQ(grid().items(2, Page::kColSource).size(), 32);
  pick(2, Page::kColCategory, QStringLiteral("IButton detect"));
  EXPECT_EQ(grid().text(2, Page::kColSource), QStringLiteral("IButton detect 1"));
}

TEST_F(SmsPageTest, SourcesAreStoredPackedPerCategory) {
  struct Case {
    const char* category;
    const char* source;
    const char* byte45;
  };
  const Case cases[] = {
      {"Thermosensor error", "Thermosensor error T2.05", "4B 01"},
      {"Main Channel", "Main Channel 24", "B9 01"},
      {"IButton detect", "IButton detect 16", "F4 01"},
      {"System Event", "Remote Turn On", "00 0B"},
      {"System Event", "Setup canceled by channel 1", "00 0F"},
      {"System Event", "Number changing", "00 31"},
  };
  int row = 1;
  for (const Case& c : cases) {
    if (grid().text(row, Page::kColCategory) != QLatin1String(c.category))
      pick(row, Page::kColCategory, QString::fromLatin1(c.category));
    pick(row, Page::kColSource, QString::fromLatin1(c.source));
    ++row;
  }
  doc.collectEditors();
  for (std::size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(record(k, 6).substr(12), cases[k].byte45) << k;
  doc.refreshEditors();
  for (std::size_t k = 0; k < std::size(cases); ++k)
    EXPECT_EQ(grid().text(static_cast<int>(k) + 1, Page::kColSource), QString::fromLatin1(cases[k].source));
}

TEST_F(SmsPageTest, ConditionKindAndSound) {
  pick(1, Page::kColCondition, QStringLiteral("if ALARM OFF"));
  pick(1, Page::kColKind, QStringLiteral("SMS & CALL"));
  pick(1, Page::kColSound, QStringLiteral("CONST"));
  pick(2, Page::kColCondition, QStringLiteral("if ON or OFF"));
  pick(2, Page::kColKind, QStringLiteral("CALL"));
  doc.collectEditors();
  EXPECT_EQ(record(0, 6), "3E 00 0A 00 01 02");
  EXPECT_EQ(record(1, 6), "04 00 0A 00 01 03");
}

TEST_F(SmsPageTest, SoundLengthAndItsLimit) {
  setTime(1, QTime(0, 1, 40));
  EXPECT_EQ(grid().text(1, Page::kColSoundLength), QStringLiteral("0:01:40"));
  setTime(2, QTime(23, 59, 59));
  EXPECT_EQ(grid().text(2, Page::kColSoundLength), QStringLiteral("18:12:15"));
  setTime(3, QTime(18, 12, 16));
  EXPECT_EQ(grid().text(3, Page::kColSoundLength), QStringLiteral("18:12:15"));
  setTime(4, QTime(18, 12, 15));
  EXPECT_EQ(grid().text(4, Page::kColSoundLength), QStringLiteral("18:12:15"));
  doc.collectEditors();
  EXPECT_EQ(record(0, 4).substr(6), "64 00");
  EXPECT_EQ(record(1, 4).substr(6), "FF FF");
  EXPECT_EQ(record(2, 4).substr(6), "FF FF");
  EXPECT_EQ(record(3, 4).substr(6), "FF FF");
}

TEST_F(SmsPageTest, ChannelsAndTheSoundLengthShade) {
  click(1, Page::kColEnabled);
  pick(1, Page::kColSound, QStringLiteral("YELP"));
  EXPECT_TRUE(white(1, Page::kColSoundLength));
  click(1, Page::kColCh1 + 1);  // CH2
  EXPECT_TRUE(grey(1, Page::kColSoundLength));
  click(1, Page::kColCh6);
  click(1, Page::kColCh1 + 1);
  EXPECT_TRUE(grey(1, Page::kColSoundLength));  // CH6 still set
  click(1, Page::kColCh1 + 1);
  click(1, Page::kColCh1 + 3);
  click(1, Page::kColCh1 + 3);
  EXPECT_TRUE(grey(1, Page::kColSoundLength));
  doc.collectEditors();
  EXPECT_EQ(record(0, 2), "13 22");  // enabled, SMS, YELP; CH2 and CH6
  click(1, Page::kColCh1 + 1);
  click(1, Page::kColCh6);
  EXPECT_TRUE(white(1, Page::kColSoundLength));
  pick(1, Page::kColSound, QStringLiteral("-"));
  EXPECT_TRUE(grey(1, Page::kColSoundLength));
}

TEST_F(SmsPageTest, EnabledAndKindShadeTheRow) {
  pick(1, Page::kColKind, QStringLiteral("CALL"));
  pick(1, Page::kColSound, QStringLiteral("WAIL"));
  click(1, Page::kColEnabled);
  for (int c = 2; c < 17; ++c) {
    if (c != Page::kColText) {
      EXPECT_TRUE(white(1, c)) << c;
    }
  }
  EXPECT_TRUE(grey(1, Page::kColText));  // a call sends no text
  pick(1, Page::kColKind, QStringLiteral("SMS & CALL"));
  EXPECT_TRUE(white(1, Page::kColText));
  pick(1, Page::kColKind, QStringLiteral("CALL"));
  EXPECT_TRUE(grey(1, Page::kColText));
  pick(1, Page::kColKind, QStringLiteral("SMS"));
  EXPECT_TRUE(white(1, Page::kColText));
  click(1, Page::kColEnabled);
  for (int c = 2; c < 17; ++c) EXPECT_TRUE(grey(1, c)) << c;
  // Disabled, a kind choice leaves the shade alone; greyed cells stay editable.
  pick(1, Page::kColKind, QStringLiteral("SMS & CALL"));
  EXPECT_TRUE(grey(1, Page::kColText));
  type(1, Page::kColText, QStringLiteral("still editable"));
  EXPECT_EQ(grid().text(1, Page::kColText), QStringLiteral("still editable"));
}

TEST_F(SmsPageTest, CommentsStoreThirtyOneCharacters) {
  QString forty;
  for (int i = 0; i < 40; ++i) forty += QChar(u'a' + i % 26);
  type(1, Page::kColComments, forty);
  type(2, Page::kColComments, QStringLiteral("Склад"));
  doc.collectEditors();
  EXPECT_EQ(comment(0, 4), "1F 00 61 00");
  EXPECT_EQ(comment(0).substr(3 * 62), "65 00");
  EXPECT_EQ(comment(1, 12), "05 00 21 04 3A 04 3B 04 30 04 34 04");
  doc.refreshEditors();
  EXPECT_EQ(grid().text(1, Page::kColComments), forty.left(31));
}

TEST_F(SmsPageTest, RowHeightsFollowTheFocus) {
  const int normal = page->defaultRowHeight();
  ASSERT_NE(normal, Page::kSoundLengthRowHeight);
  click(3, Page::kColSoundLength);
  EXPECT_EQ(grid().rowHeight(3), Page::kSoundLengthRowHeight);
  EXPECT_EQ(grid().rowHeight(2), normal);
  click(5, Page::kColSoundLength);
  EXPECT_EQ(grid().rowHeight(3), normal);
  EXPECT_EQ(grid().rowHeight(5), Page::kSoundLengthRowHeight);
  key(Qt::Key_Left);
  EXPECT_EQ(grid().rowHeight(5), normal);
  key(Qt::Key_Right);
  EXPECT_EQ(grid().rowHeight(5), Page::kSoundLengthRowHeight);
  // Rows keep their heights while the button that moves the focus is down,
  // so that the press and the release fall on the same cell.
  const QPoint aim = cell(9, Page::kColSoundLength).center();
  ASSERT_EQ(grid().rowHeight(5), Page::kSoundLengthRowHeight);
  QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, aim);
  EXPECT_EQ(grid().focusCell(), (CellId{9, Page::kColSoundLength}));
  EXPECT_EQ(grid().rowHeight(5), Page::kSoundLengthRowHeight);
  EXPECT_EQ(grid().rowHeight(9), normal);
  QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, aim);
  EXPECT_EQ(grid().rowHeight(5), normal);
  EXPECT_EQ(grid().rowHeight(9), Page::kSoundLengthRowHeight);
  // The last row too.
  click(256, Page::kColSoundLength);
  EXPECT_EQ(grid().rowHeight(256), Page::kSoundLengthRowHeight);
}

TEST_F(SmsPageTest, ARefreshShowsOnlyTheNewDocument) {
  // A first document with everything filled in.
  pick(1, Page::kColCategory, QStringLiteral("System Event"));
  pick(1, Page::kColSource, QStringLiteral("System Ready"));
  pick(1, Page::kColKind, QStringLiteral("CALL"));
  pick(2, Page::kColCondition, QStringLiteral("if ALARM OFF"));
  type(2, Page::kColComments, QStringLiteral("old comment"));
  type(2, Page::kColText, QStringLiteral("old text"));

  // Then one whose values have no meaning for the grid.
  put(0, "01 00 0A 00 06 30");  // category 6, kind 0
  put(158, "01 00 0A 00 01 00");  // main channel 1, condition 0, kind 0
  put(158 * 2, "01 00 0A 00 00 C8");  // system event code 200
  put(158 * 2 + 16, "03 05 41 42 43");  // an encoding the controller does not define
  doc.refreshEditors();
  EXPECT_EQ(grid().text(1, Page::kColCategory), QString());
  EXPECT_EQ(grid().text(1, Page::kColSource), QString());
  EXPECT_TRUE(grid().items(1, Page::kColSource).isEmpty());
  EXPECT_EQ(grid().text(1, Page::kColKind), QStringLiteral("SMS"));
  EXPECT_EQ(grid().text(2, Page::kColCondition), QStringLiteral("if ALARM ON"));
  EXPECT_EQ(grid().text(2, Page::kColComments), QString());
  EXPECT_EQ(grid().text(2, Page::kColText), QString());
  EXPECT_EQ(grid().text(3, Page::kColCategory), QStringLiteral("System Event"));
  EXPECT_EQ(grid().text(3, Page::kColSource), QString());
  EXPECT_EQ(grid().text(3, Page::kColText), QString());
  // ... and the rows after the odd one are filled in all the same.
  EXPECT_EQ(grid().text(4, Page::kColSource), QStringLiteral("Main Channel 1"));
}

TEST_F(SmsPageTest, OddRecordsAreShownAndStoredBackUnchanged) {
  put(0, "C3 3F 34 12 06 C1 14 A1 21 43 65 87 09 21 43 65 05 01 41 80 E9 FF 7A");
  put(158, "03 00 0A 00 09 01 03 81 21 93 00 00 00 00 00 00 C8 00 61 F1 F8");
  put(158 * 2, "05 00 0A 00 F8 63 00 81 00 00 00 00 00 00 00 00 5A 08 04 1F D8 3D");
  put(kComments, "28 07 41 00 00 00 42 00");
  doc.refreshEditors();
  EXPECT_EQ(grid().text(1, Page::kColPhone), QStringLiteral("1234567890123456"));
  EXPECT_EQ(grid().text(1, Page::kColText), QStringLiteral("A\u0080\u00E9\u00FFz"));
  EXPECT_EQ(grid().text(1, Page::kColComments).size(), 31);
  EXPECT_EQ(grid().text(2, Page::kColPhone), QStringLiteral("123"));
  EXPECT_EQ(grid().text(2, Page::kColText).size(), 160);
  EXPECT_EQ(grid().text(3, Page::kColText).size(), 70);
  const ConfigImage loaded = doc.image();
  doc.collectEditors();
  EXPECT_EQ(record(0), [&] {
    const auto b = loaded.slice(0, 158);
    return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
  }());
  for (std::size_t k = 1; k < 3; ++k) {
    const auto b = loaded.slice(158 * k, 158);
    EXPECT_EQ(record(k), hexOf(std::vector<std::uint8_t>(b.begin(), b.end()))) << k;
  }
  const auto c = loaded.slice(kComments, 64);
  EXPECT_EQ(comment(0), hexOf(std::vector<std::uint8_t>(c.begin(), c.end())));
}

TEST_F(SmsPageTest, TranslatedListsAreShownAndStored) {
  test::TempDir dir;
  test::writeLanguageFile(dir.file("ru.lng"), {{"Main Channel", "Канал"},
                                               {"SMS", "СМС"},
                                               {"SMS & CALL", "СМС и звонок"},
                                               {"Source", "Источник"},
                                               {"CH%d", "К%d"},
                                               {"if ALARM OFF", "при снятии"}});
  LoadTranslations(dir.file("ru.lng"));
  makePage();
  doc.refreshEditors();
  EXPECT_EQ(grid().text(0, Page::kColSource), QStringLiteral("Источник"));
  EXPECT_EQ(grid().text(0, Page::kColCh1 + 2), QStringLiteral("К3"));
  EXPECT_EQ(grid().text(1, Page::kColCategory), QStringLiteral("Канал"));
  EXPECT_EQ(grid().text(1, Page::kColSource), QStringLiteral("Канал 1"));
  EXPECT_EQ(grid().text(1, Page::kColKind), QStringLiteral("СМС"));
  pick(1, Page::kColSource, QStringLiteral("Канал 12"));
  pick(1, Page::kColKind, QStringLiteral("СМС и звонок"));
  pick(1, Page::kColCondition, QStringLiteral("при снятии"));
  click(1, Page::kColEnabled);
  EXPECT_TRUE(white(1, Page::kColText));
  doc.collectEditors();
  EXPECT_EQ(record(0, 6), "07 00 0A 00 59 02");
}

TEST_F(SmsPageTest, Screenshot) {
  const char* rules[] = {
      // En, SMS, HORN; main channel 3, if ALARM ON; 0012345678901
      "0B 00 3C 00 11 01 0D 91 21 43 65 87 09 21 F3 00 00 00",
      // En, CALL, no sound, CH1 and CH3; user event 2, if ON or OFF
      "05 05 0A 00 0A 03 0A 81 83 50 10 32 54 00 00 00 00 00",
      // En, SMS & CALL, SIN1000; thermosensor error T2.05, if ALARM OFF
      "2F 00 78 00 4B 02 0C 81 83 50 10 32 54 76 00 00 00 00",
      // En, SMS, CONST; system event "Remote Turn On"
      "3B 00 05 00 00 0B 0C 91 83 50 10 32 54 76 00 00 00 00",
      // disabled, SMS; iButton detect 16
      "02 00 0A 00 F4 01 00 81 00 00 00 00 00 00 00 00 00 00",
  };
  for (std::size_t k = 0; k < std::size(rules); ++k) put(158 * k, rules[k]);
  doc.refreshEditors();
  type(1, Page::kColText, QStringLiteral("Alarm: front door"));
  type(3, Page::kColText, QStringLiteral("Датчик T2.05: ошибка"));
  type(4, Page::kColText, QStringLiteral("Controller switched on remotely"));
  type(1, Page::kColComments, QStringLiteral("Owner's mobile"));
  type(2, Page::kColComments, QStringLiteral("Guard post"));
  type(3, Page::kColComments, QStringLiteral("Склад, холодильник"));
  click(3, Page::kColSoundLength);
  view()->scrollToTop();
  page->resize(1380, 420);
  test::screenshot(page.get(), QStringLiteral("sms_data_page"));
  EXPECT_EQ(grid().rowHeight(3), Page::kSoundLengthRowHeight);
}

}  // namespace
}  // namespace wk
