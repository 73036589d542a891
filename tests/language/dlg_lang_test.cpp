// The language editor run offscreen: every question and file dialog answered
// by script, the files it writes compared byte for byte.
#include "language/ui/dlg_lang.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "support/hex.h"
#include "language/lng_file.h"
#include "language/translate.h"
#include "seams/settings.h"
#include "support/gui/screenshot.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "widgets/grid.h"

namespace wk {
namespace {

using test::hex;

const std::string kFilter = "GZ4410 language file(*.lng)|*.lng|All files (*.*)|*.*|";
const std::string kStartQuestion = "To select Language file press YES\n\rTo cteate new Language file press NO";

class DlgLangTest : public ::testing::Test {
 protected:
  void TearDown() override {
    dialog.reset();
    ClearTranslations();
  }

  std::string writeFile(const std::string& name, const std::vector<TranslationPair>& pairs) {
    const std::string path = dir.file(name);
    test::writeBytes(path, lng::serialize(pairs));
    return path;
  }
  void setLangFile(const std::string& path) { settings.writeString("Settings", "langfile", path); }
  void open() {
    dialog = std::make_unique<CDlgLang>(nullptr, prompter, settings);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  Grid& grid() { return *dialog->grid(); }
  QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(QString::fromLatin1(name)); }
  void click(const char* name) {
    QPushButton* b = button(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QString pathBox() { return dialog->findChild<QLineEdit*>(QStringLiteral("path"))->text(); }
  std::vector<std::string> column(int col) {
    std::vector<std::string> out;
    for (int r = 1; r < grid().rowCount(); ++r) out.push_back(grid().text(r, col).toStdString());
    return out;
  }
  std::string openedWithAbcd() {
    const std::string path = writeFile("abcd.lng", {{u"A", u"a"}, {u"B", u"b"}, {u"C", u"c"}, {u"D", u"d"}});
    setLangFile(path);
    open();
    return path;
  }

  test::TempDir dir;
  test::ScriptedPrompter prompter;
  MemorySettings settings;
  std::unique_ptr<CDlgLang> dialog;
};

TEST_F(DlgLangTest, WithoutAFileAsksAndCancelLeavesTheEmptyGrid) {
  prompter.answer(Answer::Cancel);
  open();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], (test::RecordedMessage{kStartQuestion, MessageIcon::Question, MessageButtons::YesNoCancel}));
  EXPECT_TRUE(prompter.fileRequests.empty());
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Language Setup"));
  EXPECT_EQ(grid().rowCount(), 1000);
  EXPECT_EQ(grid().columnCount(), 3);
  EXPECT_EQ(grid().text(0, 1), QStringLiteral("Original"));
  EXPECT_EQ(grid().text(0, 2), QStringLiteral("Translation"));
  EXPECT_EQ(grid().text(999, 0), QStringLiteral("999"));
  EXPECT_EQ(grid().columnWidth(0), 40);
  EXPECT_EQ(grid().rowHeight(0), 30);
  EXPECT_NEAR(grid().columnWidth(1), grid().columnWidth(2), 1);
  EXPECT_EQ(dialog->path(), "no file");
  EXPECT_EQ(pathBox(), QStringLiteral("no file"));
  for (const char* name : {"addString", "delete", "up", "down", "save", "cancel", "ok", "browse"})
    EXPECT_NE(button(name), nullptr) << name;
  EXPECT_EQ(button("addString")->text(), QStringLiteral("Add String"));
  EXPECT_TRUE(button("ok")->isDefault());
}

TEST_F(DlgLangTest, NoCreatesTheNewFileWithOneEmptyPair) {
  const std::string path = dir.file("new.lng");
  prompter.answer(Answer::No);
  prompter.chooseSave(path);
  open();
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].filter, kFilter);
  EXPECT_EQ(prompter.fileRequests[0].defaultExtension, "lng");
  EXPECT_EQ(test::readBytes(path), hex("01 00 FF FE FF 00 FF FE FF 00"));
  EXPECT_EQ(grid().rowCount(), 2);
  EXPECT_EQ(grid().text(1, 0), QStringLiteral("1"));
  EXPECT_EQ(dialog->path(), path);
  EXPECT_EQ(pathBox(), QString::fromStdString(path));
  EXPECT_FALSE(settings.contains("Settings", "langfile"));  // only Save writes the setting
}

TEST_F(DlgLangTest, NoThenCancelledSaveDialogCreatesNothing) {
  prompter.answer(Answer::No);
  prompter.chooseSave(std::nullopt);
  open();
  EXPECT_EQ(grid().rowCount(), 1000);
  EXPECT_EQ(dialog->path(), "no file");
}

TEST_F(DlgLangTest, YesLoadsTheChosenFile) {
  const std::string path = writeFile("ru.lng", {{u"Save", u"Сохранить"}, {u"Up", u"Вверх"}});
  prompter.answer(Answer::Yes);
  prompter.chooseOpen(path);
  open();
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].filter, kFilter);
  EXPECT_EQ(prompter.fileRequests[0].initialPath, "");  // "no file" is no place to start from
  EXPECT_EQ(column(1), (std::vector<std::string>{"Save", "Up"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"Сохранить", "Вверх"}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(dialog->path(), path);
}

TEST_F(DlgLangTest, TheSettingsFileIsLoadedWithoutQuestions) {
  const std::string path = openedWithAbcd();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(grid().rowCount(), 5);
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(pathBox(), QString::fromStdString(path));
}

TEST_F(DlgLangTest, AMissingSettingsFileIsReportedThenLocated) {
  setLangFile(dir.file("gone.lng"));
  prompter.chooseOpen(std::nullopt);
  open();
  EXPECT_EQ(prompter.messages,
            (std::vector<test::RecordedMessage>{{"LANG File open error, locate it", MessageIcon::Error, MessageButtons::Ok}}));
  EXPECT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(grid().rowCount(), 1000);
}

TEST_F(DlgLangTest, AFifoAsTheSettingsFileIsReportedAtOnceThenLocated) {
  ASSERT_EQ(::mkfifo(dir.file("fifo.lng").c_str(), 0644), 0);
  setLangFile(dir.file("fifo.lng"));
  prompter.chooseOpen(std::nullopt);
  open();  // would wait for a writer forever if it opened the FIFO
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"LANG File open error, locate it"});
  EXPECT_EQ(prompter.fileRequests.size(), 1u);
}

TEST_F(DlgLangTest, SaveRefusesAReadOnlyFileOrAFifoAndKeepsThem) {
  const std::string path = openedWithAbcd();
  const auto before = test::readBytes(path);
  ::chmod(path.c_str(), 0444);  // read-only by its mode, for root too
  click("save");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0],
            (test::RecordedMessage{"Failed to save language file " + path + ".\ncannot write " + path +
                                       ": Permission denied",
                                   MessageIcon::Error, MessageButtons::Ok}));
  EXPECT_EQ(test::readBytes(path), before);

  const std::string fifo = dir.file("fifo.lng");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  dialog->findChild<QLineEdit*>(QStringLiteral("path"))->setText(QString::fromStdString(fifo));
  prompter.answer(Answer::Yes);
  click("ok");
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[2].text,
            "Failed to save language file " + fifo + ".\ncannot write " + fifo + ": not a regular file");
  EXPECT_TRUE(dialog->isVisible());
  struct stat st {};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(DlgLangTest, ADamagedFileIsReportedAndShowsThePairsBeforeTheDamage) {
  const std::string cut = dir.file("cut.lng");
  test::writeBytes(cut, hex("03 00  01 41 01 61  01 42 01 62  01 43 05 63"));
  setLangFile(cut);
  open();
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"An attempt was made to access " + cut + " past its end."}));
  EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(test::readBytes(cut), hex("03 00  01 41 01 61  01 42 01 62  01 43 05 63"));

  const std::string bad = dir.file("bad.lng");
  test::writeBytes(bad, hex("01 00 FF FF FF 00 00 00 80 41"));
  setLangFile(bad);
  prompter.messages.clear();
  open();
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{bad + " has a bad format."}));
  EXPECT_EQ(grid().rowCount(), 1);
}

TEST_F(DlgLangTest, CaptionsAndTitlesAreTranslated) {
  const std::string lng = writeFile("ru.lng", {{u"Language Setup", u"Настройка языка"},
                                               {u"Add String", u"Добавить"},
                                               {u"Original", u"Оригинал"}});
  LoadTranslations(lng);
  prompter.answer(Answer::Cancel);
  open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Настройка языка"));
  EXPECT_EQ(button("addString")->text(), QStringLiteral("Добавить"));
  EXPECT_EQ(button("delete")->text(), QStringLiteral("Delete"));
  EXPECT_EQ(grid().text(0, 1), QStringLiteral("Оригинал"));
}

TEST_F(DlgLangTest, AddStringInsertsBelowTheSelectionOrAppends) {
  openedWithAbcd();
  grid().setSelectedRange({2, 1, 2, 2});
  click("addString");
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B", "", "C", "D"}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(grid().selectedRange(), (CellRange{3, 1, 3, 2}));

  grid().setSelectedRange({5, 1, 5, 1});
  click("addString");
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B", "", "C", "D", ""}));
  EXPECT_EQ(grid().selectedRange(), (CellRange{6, 1, 6, 2}));

  grid().setSelectedRange({});
  click("addString");
  EXPECT_EQ(grid().rowCount(), 8);
  EXPECT_EQ(grid().selectedRange(), (CellRange{7, 1, 7, 2}));
}

// The new row is selected: a click into it and typing at once keep every
// character, though the click's own edit waits for the double-click time.
TEST_F(DlgLangTest, TypingIntoTheNewRowRightAfterAClickKeepsEveryCharacter) {
  openedWithAbcd();
  grid().setSelectedRange({2, 1, 2, 2});
  click("addString");
  ASSERT_EQ(grid().selectedRange(), (CellRange{3, 1, 3, 2}));
  QTest::mouseClick(grid().view()->viewport(), Qt::LeftButton, {}, grid().cellRect(3, 1).center());
  for (const QChar c : QStringLiteral("Main Channels")) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
  test::screenshot(dialog.get(), QStringLiteral("language-editor-typing-into-new-row"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B", "Main Channels", "C", "D"}));
}

TEST_F(DlgLangTest, DeleteRemovesTheSelectedRowsButNeverTheLastPair) {
  openedWithAbcd();
  grid().setSelectedRange({2, 1, 3, 2});
  click("delete");
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "D"}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
  grid().setSelectedRange({});
  click("delete");  // nothing selected: nothing deleted
  grid().setSelectedRange({1, 1, 1, 1});
  click("delete");
  EXPECT_EQ(column(1), (std::vector<std::string>{"D"}));
  grid().setSelectedRange({1, 1, 1, 1});
  click("delete");  // a title row and one pair: kept
  EXPECT_EQ(column(1), (std::vector<std::string>{"D"}));
}

TEST_F(DlgLangTest, UpAndDownSwapTheTextsAndFollowTheRow) {
  openedWithAbcd();
  grid().setSelectedRange({3, 1, 3, 2});
  click("up");
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "C", "B", "D"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"a", "c", "b", "d"}));
  EXPECT_EQ(grid().selectedRange(), (CellRange{2, 1, 2, 2}));
  click("up");
  click("up");  // already the first row
  EXPECT_EQ(column(1), (std::vector<std::string>{"C", "A", "B", "D"}));
  EXPECT_EQ(grid().selectedRange(), (CellRange{1, 1, 1, 2}));
  click("down");
  click("down");
  click("down");
  click("down");  // already the last row
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "B", "D", "C"}));
  EXPECT_EQ(grid().selectedRange(), (CellRange{4, 1, 4, 2}));
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(DlgLangTest, SaveReplacesTheWholeFileAndRemembersIt) {
  const std::string path = openedWithAbcd();
  grid().setSelectedRange({2, 1, 4, 2});
  click("delete");
  ASSERT_TRUE(grid().editCell(1, 2));
  auto* typing = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(typing, nullptr);
  typing->insert(QStringLiteral("Оп"));  // QTest types ASCII only
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // commits; OK is not pressed
  click("save");
  // One pair, shorter than the old file: nothing of the old content is left.
  EXPECT_EQ(test::readBytes(path), hex("01 00  FF FE FF 01 41 00  FF FE FF 02 1E 04 3F 04"));
  EXPECT_EQ(settings.languageFile(), path);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(DlgLangTest, SaveCommitsAnEditInProgress) {
  const std::string path = openedWithAbcd();
  grid().setSelectedRange({2, 1, 4, 2});
  click("delete");
  ASSERT_TRUE(grid().editCell(1, 1));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Z"));
  click("save");
  EXPECT_EQ(lng::readFile(path).content.pairs, (std::vector<TranslationPair>{{u"Z", u"a"}}));
}

TEST_F(DlgLangTest, SaveToAPathWithoutAFileCreatesIt) {
  openedWithAbcd();
  const std::string fresh = dir.file("fresh.lng");
  dialog->findChild<QLineEdit*>(QStringLiteral("path"))->setText(QString::fromStdString(fresh));
  click("save");  // the typed path counts only once OK takes it over
  EXPECT_FALSE(test::fileExists(fresh));
  prompter.answer(Answer::Cancel);
  click("ok");
  click("save");
  EXPECT_EQ(lng::readFile(fresh).content.pairs.size(), 4u);
  EXPECT_EQ(settings.languageFile(), fresh);
}

TEST_F(DlgLangTest, AFailedSaveIsReportedAndKeepsTheEditorOpen) {
  const std::string path = openedWithAbcd();
  const auto before = test::readBytes(path);
  const std::string unwritable = dir.file("no/such/folder.lng");
  dialog->findChild<QLineEdit*>(QStringLiteral("path"))->setText(QString::fromStdString(unwritable));
  prompter.answer(Answer::Yes);
  click("ok");
  ASSERT_EQ(prompter.messages.size(), 2u);
  const auto& failure = prompter.messages.back();
  EXPECT_EQ(failure.icon, MessageIcon::Error);
  EXPECT_EQ(failure.text.rfind("Failed to save language file " + unwritable + ".\n", 0), 0u) << failure.text;
  EXPECT_GT(failure.text.size(), ("Failed to save language file " + unwritable + ".\n").size());  // and why
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(test::readBytes(path), before);
}

TEST_F(DlgLangTest, OkTakesThePathBoxAndAsksWhetherToSave) {
  openedWithAbcd();
  const std::string other = dir.file("other.lng");
  dialog->findChild<QLineEdit*>(QStringLiteral("path"))->setText(QString::fromStdString(other));
  const test::RecordedMessage question{"Save file before exit?\nChanges will be accepted after application restart",
                                       MessageIcon::Question, MessageButtons::YesNoCancel};
  prompter.answer(Answer::Cancel);
  click("ok");
  EXPECT_EQ(prompter.messages.back(), question);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->path(), other);

  prompter.answer(Answer::No);
  click("ok");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(test::fileExists(other));

  dialog->show();
  prompter.answer(Answer::Yes);
  click("ok");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(lng::readFile(other).content.pairs.size(), 4u);
  EXPECT_EQ(settings.languageFile(), other);
}

TEST_F(DlgLangTest, OkWithAnEmptyPathSavesTheNoFileMarkerOnly) {
  openedWithAbcd();
  dialog->findChild<QLineEdit*>(QStringLiteral("path"))->clear();
  prompter.answer(Answer::Yes);
  click("ok");
  EXPECT_EQ(settings.languageFile(), "no file");
  EXPECT_FALSE(test::fileExists(dir.file("no file")));
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(DlgLangTest, CancelAndEscAskBeforeClosing) {
  openedWithAbcd();
  const test::RecordedMessage question{"Exit editor?", MessageIcon::Question, MessageButtons::YesNo};
  prompter.answer(Answer::No);
  click("cancel");
  EXPECT_EQ(prompter.messages.back(), question);
  EXPECT_TRUE(dialog->isVisible());
  prompter.answer(Answer::No);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_TRUE(dialog->isVisible());
  prompter.answer(Answer::Yes);
  click("cancel");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(DlgLangTest, EditorWithALoadedFileScreenshot) {
  const std::string path = writeFile("ru.lng", {{u"Language Setup", u"Настройка языка"},
                                                {u"Add String", u"Добавить строку"},
                                                {u"Delete", u"Удалить"},
                                                {u"Save file before exit?\nChanges will be accepted after application restart",
                                                 u"Сохранить файл перед выходом?"},
                                                {u"Alarm \u041Eff Timeout", u"Задержка снятия тревоги"},
                                                {u"Read compleeted", u"Чтение завершено"}});
  setLangFile(path);
  open();
  grid().setSelectedRange({3, 1, 3, 2});
  test::screenshot(dialog.get(), QStringLiteral("language_editor"));
  EXPECT_EQ(grid().rowCount(), 7);
}

}  // namespace
}  // namespace wk
