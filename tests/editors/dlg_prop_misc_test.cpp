// The "Miscellaneous" page and its password dialog driven as a user drives
// them: clicks, typed text and list picks, checked in the image bytes, the
// controls and the messages.
#include "editors/dlg_prop_misc.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>

#include "editors/dlg_password.h"
#include "editors/grid_page_fixture.h"
#include "support/gui/screenshot.h"
#include "support/gui/when_modal.h"

namespace wk {
namespace {

// Image offsets, as the controller's memory map gives them.
constexpr std::size_t kCommon = 62596;
constexpr std::size_t kGsmManaged = 62852;

using Page = CDlgPropMisc;

using test::whenModal;

// Types any characters, as a keyboard layout delivers them.
void typeText(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
  }
}

// Types text into the password dialog and closes it with OK (or Cancel).
void answerPassword(CDlgPassword& dialog, const QString& text, bool ok = true) {
  typeText(dialog.field(), text);
  QTest::mouseClick(ok ? dialog.okButton() : dialog.cancelButton(), Qt::LeftButton);
}

class MiscPage : public test::GridPageTest<Page> {
 protected:
  void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }
  // Opens the list from the keyboard and clicks the item. (A list opened by
  // a click takes no second click within the double-click time.)
  void pick(QComboBox* combo, const QString& item) {
    const int at = combo->findText(item);
    ASSERT_GE(at, 0) << item.toStdString();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_F4);
    ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
    QAbstractItemView* list = combo->view();
    const QModelIndex index = list->model()->index(at, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    ASSERT_TRUE(QTest::qWaitFor([combo] { return !combo->view()->isVisible(); }, 5000));
  }
  // Selects the field's text and types over it.
  void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Backspace);
    else typeText(field, text);
  }
  // Both entries of the password, then the button's own run.
  void setPassword(const QString& first, const QString& second) {
    whenModal<CDlgPassword>([first, second](CDlgPassword& input) {
      whenModal<CDlgPassword>([second](CDlgPassword& repeat) { answerPassword(repeat, second); });
      answerPassword(input, first);
    });
    click(page->passwordButton());
  }
  std::string common(std::size_t offset, std::size_t size) { return bytes(kCommon + offset, size); }
  QCheckBox* box(MiscCheck which) { return page->checkBox(which); }
};

TEST_F(MiscPage, TheControlsAndTheirTexts) {
  const std::map<MiscCheck, QString> texts{
      {MiscCheck::NetLedEnable, "Net LED Enable"},
      {MiscCheck::EnterArmedAnyway, "Enter Armed state anyway"},
      {MiscCheck::ReEnterAlarmMonitor, "re-Enter alarm-monitor mode"},
      {MiscCheck::MicrophoneEnable, "Microphon Enable"},
      {MiscCheck::RestoreGsmOutputs, "Restore GSM Outputs"},
      {MiscCheck::TouchMemoryOnExternalKey, "TouchMemory on external key"},
      {MiscCheck::BalanceInStandardRequest, "Get Balance in standart request"},
      {MiscCheck::SaveOutputsMode, "Save outputs mode"},
      {MiscCheck::ReportTurnedOffChannels, "Report turned off channels state"},
      {MiscCheck::RestartInputBlocking, "Restart input blocking in repeated alarm"},
  };
  for (const auto& [which, text] : texts) EXPECT_EQ(box(which)->text(), text);
  const auto parentTitle = [](QWidget* w) { return qobject_cast<QGroupBox*>(w->parentWidget())->title(); };
  EXPECT_EQ(parentTitle(box(MiscCheck::BalanceInStandardRequest)), "For Incoming Call");
  EXPECT_EQ(parentTitle(page->incomingCallList()), "For Incoming Call");
  for (const MiscCheck c : {MiscCheck::RestoreGsmOutputs, MiscCheck::ReEnterAlarmMonitor, MiscCheck::SaveOutputsMode})
    EXPECT_EQ(parentTitle(box(c)), "If Power lost");
  EXPECT_EQ(parentTitle(box(MiscCheck::RestartInputBlocking)), "Zones control options");
  EXPECT_EQ(parentTitle(page->analogOutputButton(0)), "Analog output options");
  EXPECT_EQ(page->analogOutputButton(0)->text(), "Use PWM analog autput as SIRENA");
  EXPECT_EQ(page->analogOutputButton(1)->text(), "Use PWM analog autput as BEEPER");
  EXPECT_EQ(page->numbersGroup()->title(), "My numbers:");
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas");
  QStringList labels;
  for (QLabel* label : page->findChildren<QLabel*>()) labels << label->text();
  for (const char* label : {"Start Timeout, sec", "Balance request USSD", "Themperature presentation format",
                            "Password", "Mic gain", "Speaker volume"})
    EXPECT_TRUE(labels.contains(label)) << label;

  const auto items = [](QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
  };
  EXPECT_EQ(items(page->incomingCallList()),
            (QStringList{"Standart Request '?'", "Request '?0'", "Request '?1'", "Request '?2'", "Request '?3'",
                         "Request '?4'", "Request '?5'", "Request '?6'", "Request '?7'", "Request '?8'",
                         "Request '?9'", "Activate microphone", "Busy on incoming call"}));
  EXPECT_EQ(items(page->temperatureFormatList()),
            (QStringList{"T1.1=0.00C", "T1.1=0.0C", "T1.1=0C", "T1.1=0.00", "T1.1=0.0", "T1.1=0"}));
  EXPECT_EQ(items(page->micGainList()).size(), 16);
  EXPECT_EQ(items(page->micGainList()).first(), "0 0dB");
  EXPECT_EQ(items(page->micGainList())[1], "+1.5dB");
  EXPECT_EQ(items(page->micGainList()).last(), "+22.5 dB");
  EXPECT_EQ(items(page->speakerVolumeList()), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  for (QComboBox* c : {page->incomingCallList(), page->temperatureFormatList(), page->micGainList(),
                       page->speakerVolumeList()})
    EXPECT_FALSE(c->isEditable());
  EXPECT_EQ(page->balanceRequestField()->maxLength(), 7);
}

TEST_F(MiscPage, TheNumbersGridAndItsPlace) {
  Grid& g = grid();
  EXPECT_EQ(g.rowCount(), 9);
  EXPECT_EQ(g.columnCount(), 2);
  EXPECT_EQ(g.rowHeight(0), 30);
  EXPECT_EQ(g.columnWidth(0), 30);
  EXPECT_EQ(g.columnWidth(1), 140 - 30 - 6);
  EXPECT_EQ(g.text(0, 0), "");
  EXPECT_EQ(g.text(0, 1), "Phone number");
  for (int r = 1; r <= 8; ++r) {
    EXPECT_EQ(g.text(r, 0), QString::number(r));
    EXPECT_EQ(g.cellKind(r, 1), GridCellKind::Digits);
  }
  int rows = 0;
  for (int r = 0; r < 9; ++r) rows += g.rowHeight(r);
  EXPECT_EQ(g.geometry(), QRect(20, 30, 140, rows + 8));
  EXPECT_TRUE(page->numbersGroup()->geometry().contains(g.geometry()));
  // A page shorter than the grid cuts it at its bottom.
  page->resize(1000, 150);
  ASSERT_TRUE(QTest::qWaitFor([this] { return page->height() == 150; }, 5000));
  EXPECT_EQ(g.geometry(), QRect(20, 30, 140, 120));
  page->resize(1000, 560);
  ASSERT_TRUE(QTest::qWaitFor([this] { return page->height() == 560; }, 5000));
  EXPECT_EQ(g.geometry(), QRect(20, 30, 140, rows + 8));
}

TEST_F(MiscPage, ANewDocumentShowsItsDefaultsAndStoresThemBackButTheNumbersType) {
  for (const MiscCheck c : kMiscChecks) EXPECT_EQ(box(c)->checkState(), Qt::Unchecked);
  EXPECT_EQ(page->incomingCallList()->currentText(), "Standart Request '?'");
  EXPECT_EQ(page->temperatureFormatList()->currentText(), "T1.1=0.0C");
  EXPECT_EQ(page->micGainList()->currentText(), "+3.0 dB");
  EXPECT_EQ(page->speakerVolumeList()->currentText(), "6");
  EXPECT_TRUE(page->analogOutputButton(0)->isChecked());
  EXPECT_FALSE(page->analogOutputButton(1)->isChecked());
  EXPECT_EQ(page->startTimeoutField()->text(), "0");
  EXPECT_EQ(page->balanceRequestField()->text(), "*100#");
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(text(r, 1), "");
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas");
  EXPECT_FALSE(doc.isModified());

  ConfigImage expected = doc.image();
  for (std::size_t n = 1; n <= 8; ++n) expected.at(kCommon + 49 + 10 * n) = 0x81;
  doc.collectEditors();
  EXPECT_TRUE(doc.image() == expected);
  for (std::size_t n = 1; n <= 8; ++n) EXPECT_EQ(common(48 + 10 * n, 10), "00 81 00 00 00 00 00 00 00 00") << n;
  EXPECT_TRUE(messages().empty());
}

TEST_F(MiscPage, PickedItemsStoreTheirCodesAndMarkTheDocumentModified) {
  pick(page->temperatureFormatList(), "T1.1=0C");
  EXPECT_TRUE(doc.isModified());
  pick(page->incomingCallList(), "Request '?3'");
  pick(page->micGainList(), "+22.5 dB");
  pick(page->speakerVolumeList(), "10");
  click(page->analogOutputButton(1));
  EXPECT_EQ(common(8, 4), "00 05 02 05") << "taken at the next store";
  doc.collectEditors();
  EXPECT_EQ(common(8, 4), "04 01 0F 09");
  EXPECT_EQ(common(15, 1), "01");
}

TEST_F(MiscPage, ClicksOnEveryCheckBoxAreStoredAndMarkTheDocumentModified) {
  for (const MiscCheck c : kMiscChecks) {
    doc.setModified(false);
    click(box(c));
    EXPECT_TRUE(box(c)->isChecked());
    EXPECT_TRUE(doc.isModified()) << box(c)->text().toStdString();
  }
  doc.collectEditors();
  EXPECT_EQ(common(0, 16), "01 01 00 01 01 01 01 01 00 05 02 05 01 01 01 00");
  click(box(MiscCheck::MicrophoneEnable));
  doc.collectEditors();
  EXPECT_EQ(common(4, 1), "00");
}

TEST_F(MiscPage, TheStartTimeoutStoresAtMost255AndItsArrowsStayWithin) {
  typeInto(page->startTimeoutField(), "300");
  EXPECT_TRUE(doc.isModified());
  doc.collectEditors();
  EXPECT_EQ(common(20, 1), "FF");
  EXPECT_EQ(page->startTimeoutField()->text(), "300") << "until the next refresh";
  typeInto(page->startTimeoutField(), "1x2");  // digits only
  EXPECT_EQ(page->startTimeoutField()->text(), "12");
  QTest::mouseClick(page->startTimeoutUp(), Qt::LeftButton);
  EXPECT_EQ(page->startTimeoutField()->text(), "13");
  typeInto(page->startTimeoutField(), "255");
  QTest::mouseClick(page->startTimeoutUp(), Qt::LeftButton);
  EXPECT_EQ(page->startTimeoutField()->text(), "255");
  typeInto(page->startTimeoutField(), "0");
  doc.setModified(false);
  QTest::mouseClick(page->startTimeoutDown(), Qt::LeftButton);
  EXPECT_EQ(page->startTimeoutField()->text(), "0");
  EXPECT_TRUE(doc.isModified());
  // The arrow keys work the arrows too.
  QTest::keyClick(page->startTimeoutField(), Qt::Key_Up);
  QTest::keyClick(page->startTimeoutField(), Qt::Key_Up);
  QTest::keyClick(page->startTimeoutField(), Qt::Key_Down);
  EXPECT_EQ(page->startTimeoutField()->text(), "1");
  doc.collectEditors();
  EXPECT_EQ(common(20, 1), "01");
  doc.refreshEditors();
  EXPECT_EQ(page->startTimeoutField()->text(), "1");
}

// The timeout has no value to store; everything else the user did is stored.
TEST_F(MiscPage, AnEmptyTimeoutIsReportedAndKeepsItsValue) {
  put(kCommon + 20, "2A");
  doc.refreshEditors();
  EXPECT_EQ(page->startTimeoutField()->text(), "42");
  typeInto(page->startTimeoutField(), "");
  EXPECT_EQ(page->startTimeoutField()->text(), "");
  click(box(MiscCheck::NetLedEnable));
  typeInto(page->balanceRequestField(), "*1#");
  pick(page->micGainList(), "0 0dB");
  doc.collectEditors();
  ASSERT_EQ(seams.prompter.messages.size(), 1u);
  EXPECT_EQ(seams.prompter.messages[0].text, "Please enter an integer.");
  EXPECT_EQ(seams.prompter.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(common(20, 1), "2A");
  EXPECT_EQ(common(0, 1), "01");
  EXPECT_EQ(common(10, 1), "00");
  EXPECT_EQ(common(148, 4), "03 2A 31 23");
}

TEST_F(MiscPage, TheBalanceRequestTakesSevenCharactersAndMarksTheDocumentModified) {
  typeInto(page->balanceRequestField(), "#123*45678");
  EXPECT_EQ(page->balanceRequestField()->text(), "#123*45");
  EXPECT_TRUE(doc.isModified());
  doc.collectEditors();
  EXPECT_EQ(common(148, 8), "07 23 31 32 33 2A 34 35");
}

TEST_F(MiscPage, MyNumberThreeIsStoredInItsTenBytes) {
  user->type(3, 1, "0012345");
  EXPECT_TRUE(doc.isModified());
  doc.collectEditors();
  EXPECT_EQ(bytes(62674, 10), "05 91 21 43 F5 00 00 00 00 00");  // offsets 78..87
  EXPECT_EQ(bytes(62684, 2), "00 81");                           // number 4 untouched but for its type
  // Sixteen digits after "00" at most; letters are refused.
  user->type(8, 1, "00123456789012345678999");
  EXPECT_EQ(text(8, 1), "001234567890123456");
  user->type(1, 1, "12a3");
  EXPECT_EQ(text(1, 1), "123");
  doc.collectEditors();
  EXPECT_EQ(common(128, 10), "10 91 21 43 65 87 09 21 43 65");
  EXPECT_EQ(common(58, 4), "03 81 21 F3");
  doc.refreshEditors();
  EXPECT_EQ(text(3, 1), "0012345");
}

TEST_F(MiscPage, AStoreEndsAnOpenEditAndARefreshDropsIt) {
  user->type(2, 1, "555", false);
  ASSERT_TRUE(grid().isEditing());
  doc.collectEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(common(68, 4), "03 81 55 F5");
  user->type(2, 1, "777", false);
  doc.refreshEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(text(2, 1), "555");
  doc.collectEditors();
  EXPECT_EQ(common(68, 4), "03 81 55 F5");
}

TEST_F(MiscPage, MovingBetweenNumbersMarksTheDocumentModified) {
  user->click(1, 1);
  doc.setModified(false);
  user->key(Qt::Key_Down);
  EXPECT_TRUE(doc.isModified());
}

TEST_F(MiscPage, ValuesThePageNeverWritesShowAsNoChoiceAndStay) {
  put(kCommon, "02 01 00 00 00 00 00 00 0D 03 10 0A 00 00 00 02");
  put(kCommon + 58, "12 91 11 11 11 11 11 11 11 11");  // 18 digits
  doc.refreshEditors();
  EXPECT_EQ(box(MiscCheck::NetLedEnable)->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(box(MiscCheck::EnterArmedAnyway)->checkState(), Qt::Checked);
  EXPECT_EQ(page->incomingCallList()->currentIndex(), -1);
  EXPECT_EQ(page->temperatureFormatList()->currentIndex(), -1);
  EXPECT_EQ(page->micGainList()->currentIndex(), -1);
  EXPECT_EQ(page->speakerVolumeList()->currentIndex(), -1);
  EXPECT_FALSE(page->analogOutputButton(0)->isChecked());
  EXPECT_FALSE(page->analogOutputButton(1)->isChecked());
  EXPECT_EQ(text(1, 1), "001111111111111111");
  doc.collectEditors();
  EXPECT_EQ(common(0, 16), "02 01 00 00 00 00 00 00 0D 03 10 0A 00 00 00 02");
  EXPECT_EQ(common(58, 10), "12 91 11 11 11 11 11 11 11 11");

  // What the user chooses is stored.
  click(box(MiscCheck::NetLedEnable));
  EXPECT_EQ(box(MiscCheck::NetLedEnable)->checkState(), Qt::Checked);
  click(box(MiscCheck::NetLedEnable));
  EXPECT_EQ(box(MiscCheck::NetLedEnable)->checkState(), Qt::Unchecked) << "never half checked again";
  click(page->analogOutputButton(0));
  pick(page->temperatureFormatList(), "T1.1=0.00C");
  doc.collectEditors();
  EXPECT_EQ(common(0, 16), "00 01 00 00 00 00 00 00 0D 07 10 0A 00 00 00 00");

  // A refresh of a document with ordinary values shows them again.
  doc.makeNew();
  EXPECT_EQ(box(MiscCheck::NetLedEnable)->checkState(), Qt::Unchecked);
  EXPECT_EQ(page->temperatureFormatList()->currentText(), "T1.1=0.0C");
  EXPECT_TRUE(page->analogOutputButton(0)->isChecked());
}

TEST_F(MiscPage, CollectingClearsTheGsmManagedOutputValues) {
  put(kGsmManaged - 1, "87 01 02 03 04 05 06 77");  // the last report's word before, the follow mask after
  doc.collectEditors();
  EXPECT_EQ(bytes(kGsmManaged - 1, 8), "87 00 00 00 00 00 00 77");
}

TEST_F(MiscPage, ALatinPasswordIsStoredAtOnceWithTheMark) {
  put(kCommon + 24, "00 55 99 99 99 99");
  setPassword("abc", "abc");
  EXPECT_EQ(common(24, 6), "03 00 61 62 63 99");
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas*");
  EXPECT_EQ(messages(), std::vector<std::string>{"New password saved!"});
  EXPECT_EQ(seams.prompter.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(doc.isModified());
  setPassword("xyz", "xyz");
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas*") << "one mark only";
}

TEST_F(MiscPage, CyrillicAndGreekPasswords) {
  setPassword(QString::fromUtf8("Жёя"), QString::fromUtf8("Жёя"));
  EXPECT_EQ(common(24, 5), "03 00 C6 B8 FF");
  setPassword(QString::fromUtf8("ΩαЁ"), QString::fromUtf8("ΩαЁ"));
  EXPECT_EQ(common(24, 5), "03 00 2A 2A A8");
}

TEST_F(MiscPage, AnEmptyPasswordClearsItAndItsMark) {
  setPassword("secret", "secret");
  setPassword("", "");
  EXPECT_EQ(common(24, 3), "00 00 73");
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas");
  EXPECT_EQ(messages(), (std::vector<std::string>{"New password saved!", "Password cleared!"}));
  EXPECT_EQ(seams.prompter.messages[1].icon, MessageIcon::Information);
}

TEST_F(MiscPage, DifferentEntriesChangeNothingButTheModifiedFlag) {
  const ConfigImage before = doc.image();
  setPassword("abc", "abd");
  EXPECT_TRUE(doc.image() == before);
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(messages(), std::vector<std::string>{"Passwords are not equal, try again"});
  EXPECT_EQ(seams.prompter.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas");
  setPassword("abc", "ABC");  // case counts
  EXPECT_TRUE(doc.image() == before);
}

TEST_F(MiscPage, CancelOnEitherEntryStoresNothing) {
  const ConfigImage before = doc.image();
  whenModal<CDlgPassword>([](CDlgPassword& input) { answerPassword(input, "abc", false); });
  click(page->passwordButton());
  whenModal<CDlgPassword>([](CDlgPassword& input) {
    whenModal<CDlgPassword>([](CDlgPassword& repeat) { answerPassword(repeat, "abc", false); });
    answerPassword(input, "abc");
  });
  click(page->passwordButton());
  EXPECT_TRUE(doc.image() == before);
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(messages().empty());
}

TEST_F(MiscPage, ThePasswordDialogMasksAndTakesSixteenCharacters) {
  QStringList prompts;
  whenModal<CDlgPassword>([&prompts](CDlgPassword& input) {
    prompts << input.windowTitle() << input.prompt()->text();
    EXPECT_EQ(input.field()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(input.okButton()->text(), "OK");
    EXPECT_EQ(input.cancelButton()->text(), "Cancel");
    whenModal<CDlgPassword>([&prompts](CDlgPassword& repeat) {
      prompts << repeat.windowTitle() << repeat.prompt()->text();
      EXPECT_EQ(repeat.field()->text(), "") << "shown again empty";
      answerPassword(repeat, "ABCDEFGHIJKLMNOPQRS");
    });
    answerPassword(input, "ABCDEFGHIJKLMNOPQRS");
  });
  click(page->passwordButton());
  EXPECT_EQ(prompts, (QStringList{"New password input", "Input password", "New password input", "Repeat password"}));
  EXPECT_EQ(common(24, 18), "10 00 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50");
}

TEST_F(MiscPage, TwoRefreshesLeaveOneMark) {
  put(kCommon + 24, "03 00 61 62 63");
  doc.refreshEditors();
  doc.refreshEditors();
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas*");
  put(kCommon + 24, "00");
  doc.refreshEditors();
  EXPECT_EQ(page->passwordButton()->text(), "Set New Pas");
}

TEST_F(MiscPage, TextsComeFromTheLanguageFile) {
  loadLanguage({{"Net LED Enable", "Светодиод сети"},
                {"Set New Pas", "Новый пароль"},
                {"T1.1=0.0C", "Т1.1=0.0°"},
                {"Phone number", "Телефон"},
                {"My numbers:", "Мои номера:"}});
  EXPECT_EQ(box(MiscCheck::NetLedEnable)->text(), QString::fromUtf8("Светодиод сети"));
  EXPECT_EQ(page->temperatureFormatList()->currentText(), QString::fromUtf8("Т1.1=0.0°"));
  EXPECT_EQ(text(0, 1), QString::fromUtf8("Телефон"));
  EXPECT_EQ(page->numbersGroup()->title(), QString::fromUtf8("Мои номера:"));
  put(kCommon + 24, "01");
  doc.refreshEditors();
  EXPECT_EQ(page->passwordButton()->text(), QString::fromUtf8("Новый пароль*"));
  pick(page->temperatureFormatList(), "T1.1=0");
  doc.collectEditors();
  EXPECT_EQ(common(9, 1), "00");
}

// Under Xvfb with WK_SCREENSHOT_DIR set: the page of a new document, the page
// with values, and the password dialog.
TEST_F(MiscPage, Screenshots) {
  page->resize(1000, 590);  // as the section view of a 1150 by 640 window sizes it
  test::screenshot(page.get(), QStringLiteral("misc_new_document"));
  put(kCommon, "01 00 00 01 01 00 01 01 0B 07 0F 09 01 00 01 01 00 00 00 00 3C");
  put(kCommon + 24, "03 00 61 62 63");
  put(kCommon + 58, "0B 91 73 19 23 45 67 F8");
  put(kCommon + 68, "0A 81 90 21 43 65 87");
  put(kCommon + 78, "0C 91 94 21 43 65 87 09");
  put(kCommon + 148, "06 2A 31 30 32 2A 23");
  doc.refreshEditors();
  test::screenshot(page.get(), QStringLiteral("misc_with_values"));
  whenModal<CDlgPassword>([](CDlgPassword& input) {
    QTest::keyClicks(input.field(), "secret");
    test::screenshot(&input, QStringLiteral("password_dialog"));
    QTest::mouseClick(input.cancelButton(), Qt::LeftButton);
  });
  click(page->passwordButton());
}

}  // namespace
}  // namespace wk
