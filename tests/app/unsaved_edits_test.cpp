// What is being typed when a document window closes: every way of closing
// ends the open edit first, so that it counts as a change and the save
// question comes; and a save that cannot take a field stops without writing.
#include <QLineEdit>
#include <QTabBar>

#include "app/command_ids.h"
#include "editors/c4410_view.h"
#include "editors/dlg_prop_ins.h"
#include "editors/dlg_prop_misc.h"
#include "editors/grid_page_fixture.h"
#include "support/hex.h"

#include "app_fixture.h"

namespace wk::test {
namespace {

// Offsets in a .vld file: the version, SEE-Data, then EE-Data.
constexpr std::size_t kFileHeader = 2;
constexpr std::size_t kFirstAlias = kFileHeader + 0xDE00;          // "Alias if ALARM" of channel 1
constexpr std::size_t kStartTimeout = kFileHeader + 65536 + 728;  // EE-Data 728
constexpr int kMainChannelsTab = 1;
constexpr int kMiscellaneousTab = 5;
constexpr int kAliasColumn = 7;

class UnsavedEdits : public AppTest {
 protected:
  // The program with one saved file open, its window active and shown.
  void SetUp() override {
    AppTest::SetUp();
    path = dir.file("site.vld");
    std::vector<std::uint8_t> bytes(66512, 0);
    bytes[0] = 0x69;
    writeBytes(path, bytes);
    ASSERT_TRUE(start({QString::fromStdString(path)}));
    frame().resize(1000, 700);
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    saved = readBytes(path);
  }

  CChildFrame& window() { return *windows().at(0); }
  CDlgPropIns& mainChannels() {
    window().view().tabBar()->setCurrentIndex(kMainChannelsTab);
    return *dynamic_cast<CDlgPropIns*>(window().view().page(kMainChannelsTab));
  }
  // Types an alias into channel 1 and leaves its editor open.
  void typeAliasWithoutReturn(const QString& alias) {
    GridUser user(mainChannels().grid());
    user.type(1, kAliasColumn, alias, false);
    ASSERT_TRUE(mainChannels().grid().isEditing());
  }
  std::string savedAlias() const {
    const auto bytes = readBytes(path);
    return hexOf({bytes.begin() + kFirstAlias, bytes.begin() + kFirstAlias + 5});
  }
  std::string question() const { return "Save changes to " + path + "?"; }

  std::string path;
  std::vector<std::uint8_t> saved;
};

TEST_F(UnsavedEdits, CtrlF4WhileACellIsEditedAsksThenSavesTheTypedText) {
  typeAliasWithoutReturn("Door");
  prompter.answer(Answer::Yes);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{question()});
  ASSERT_TRUE(waitForWindowCount(0));
  EXPECT_EQ(savedAlias(), "04 44 6F 6F 72");
}

TEST_F(UnsavedEdits, TheCloseButtonAsksAndNoLeavesTheFileAlone) {
  typeAliasWithoutReturn("Gate");
  prompter.answer(Answer::No);
  window().close();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{question()});
  ASSERT_TRUE(waitForWindowCount(0));
  EXPECT_EQ(readBytes(path), saved);
}

TEST_F(UnsavedEdits, ClosingTheMainWindowAsksAndCancelKeepsTheText) {
  typeAliasWithoutReturn("Hall");
  prompter.answer(Answer::Cancel);
  frame().close();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{question()});
  EXPECT_TRUE(frame().isVisible());
  ASSERT_EQ(windows().size(), 1u);
  EXPECT_TRUE(window().document().isModified());
  EXPECT_EQ(mainChannels().grid().text(1, kAliasColumn), "Hall");
  EXPECT_EQ(readBytes(path), saved);
}

TEST_F(UnsavedEdits, ExitAsksTooAndYesSaves) {
  typeAliasWithoutReturn("Yard");
  prompter.answer(Answer::Yes);
  frame().onCommand(cmd::AppExit);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{question()});
  EXPECT_FALSE(frame().isVisible());
  EXPECT_EQ(savedAlias(), "04 59 61 72 64");
}

TEST_F(UnsavedEdits, AnEmptyStartTimeoutStopsTheSaveAtItsMessage) {
  window().view().tabBar()->setCurrentIndex(kMiscellaneousTab);
  auto& misc = *dynamic_cast<CDlgPropMisc*>(window().view().page(kMiscellaneousTab));
  QLineEdit* timeout = misc.startTimeoutField();
  timeout->setFocus();
  QTest::keyClick(timeout, Qt::Key_End);
  QTest::keyClick(timeout, Qt::Key_Backspace);
  ASSERT_EQ(timeout->text(), "");
  ASSERT_TRUE(window().document().isModified());
  // Saved from another page: the field's page comes forward.
  window().view().tabBar()->setCurrentIndex(kMainChannelsTab);
  mainChannels().grid().setFocus();

  QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(window().view().tabBar()->currentIndex(), kMiscellaneousTab);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Please enter an integer."});
  EXPECT_TRUE(window().document().isModified());
  EXPECT_TRUE(frame().isWindowModified());
  EXPECT_EQ(QApplication::focusWidget(), timeout);
  EXPECT_EQ(readBytes(path), saved);

  // Closing asks; Yes meets the same message and the window stays.
  prompter.messages.clear();
  prompter.answer(Answer::Yes);
  window().close();
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{question(), "Please enter an integer."}));
  EXPECT_EQ(windows().size(), 1u);
  EXPECT_EQ(readBytes(path), saved);

  // With a number the save goes through.
  QTest::keyClick(timeout, Qt::Key_7);
  ASSERT_EQ(timeout->text(), "7");
  frame().onCommand(cmd::FileSave);
  EXPECT_FALSE(window().document().isModified());
  EXPECT_EQ(readBytes(path).at(kStartTimeout), 7);
}

}  // namespace
}  // namespace wk::test
