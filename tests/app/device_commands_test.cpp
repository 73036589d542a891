// The device and language commands of the menus, through the whole program:
// "Read All Data" and "Write All Data" against the controller simulator on a
// pseudo-terminal, nothing closing underneath a transfer, and the dialogs of
// "Connection Setup" and "Language Setup".
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMdiArea>
#include <QTabBar>
#include <QPushButton>

#include "app/command_ids.h"
#include "editors/c4410_view.h"
#include "app_fixture.h"
#include "language/ui/dlg_lang.h"
#include "link/device_operation.h"
#include "support/gui/during_transfer.h"
#include "support/link_doubles.h"
#include "support/sim_rig.h"
#include "support/gui/screenshot.h"
#include "seams/qt/qt_prompter.h"
#include "link/ui/conn_setup_dlg.h"

namespace wk::test {
namespace {


class DeviceCommandsTest : public AppTest {
 protected:
  // The simulator with the given memories, and the program's "Port" on it.
  void startSimulator(const sim::Memories& memories) {
    sim::writeState(dir.file("state"), memories);
    sim = std::make_unique<sim::Simulator>(std::vector<std::string>{"--instant", "--state", dir.file("state")});
    ASSERT_FALSE(sim->device().empty());
    settings.writeString(setting::kSection, setting::kPort, sim->device());
    clock = &testClock;
  }
  sim::Memories stopSimulator() {
    EXPECT_EQ(sim->stop(), 0);
    sim::Memories after;
    EXPECT_TRUE(sim::readState(dir.file("state"), after));
    return after;
  }

  TestClock testClock;
  std::unique_ptr<sim::Simulator> sim;
};

TEST_F(DeviceCommandsTest, ReadAllFillsTheActiveDocumentAndNothingClosesMeanwhile) {
  sim::Memories controller;
  controller.see = hostileBytes(sim::kSeeSize, 21);
  controller.ee = hostileBytes(sim::kEeSize, 22);
  startSimulator(controller);
  ASSERT_TRUE(start());
  CChildFrame* first = windows()[0];
  frame().onCommand(cmd::FileNew);  // a second document, active
  ASSERT_TRUE(waitForWindowCount(2));
  CChildFrame* active = windows()[1];
  ASSERT_EQ(frame().activeChild(), active);

  bool frameDisabled = false, everythingStayed = false;
  DuringTransfer during([&] {
    frameDisabled = !frame().isEnabled();
    frame().onCommand(cmd::FileClose);
    active->close();
    first->close();
    frame().close();
    QApplication::closeAllWindows();
    everythingStayed = frame().isVisible() && windows().size() == 2;
    return true;
  });
  frame().onCommand(cmd::ReadAllData);

  EXPECT_TRUE(during.done());
  EXPECT_TRUE(frameDisabled) << "the main window is disabled while the transfer runs";
  EXPECT_TRUE(everythingStayed) << "no document, window or program closed underneath the transfer";
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Read compleeted"});
  EXPECT_TRUE(frame().isEnabled());

  const ConfigImage& image = active->document().doc().image();
  EXPECT_TRUE(std::equal(controller.see.begin(), controller.see.begin() + 61888, image.all().begin()));
  // EE-Data 0..973, but for the cells that read-all clears: 710 and 964..969.
  for (std::size_t a = 0; a < 974; ++a) {
    const bool cleared = a == 710 || (a >= 964 && a <= 969);
    ASSERT_EQ(image.at(61888 + a), cleared ? 0 : controller.ee[a]) << "EE-Data " << a;
  }
  EXPECT_TRUE(active->document().doc().isModified());
  EXPECT_FALSE(first->document().doc().isModified());

  // Closing works again: the modified document asks first.
  prompter.answer(Answer::No);
  frame().onCommand(cmd::FileClose);
  EXPECT_TRUE(waitForWindowCount(1));
}

TEST_F(DeviceCommandsTest, WriteAllSendsTheActiveDocument) {
  startSimulator(sim::Memories{});
  ASSERT_TRUE(start());
  C4410Doc& doc = windows()[0]->document().doc();
  const auto hostile = hostileBytes(image::kSize, 23);
  std::copy(hostile.begin(), hostile.end(), doc.image().all().begin());
  // The pages show those bytes; write-all sends what they then store.
  doc.refreshEditors();
  doc.collectEditors();
  const auto stored = doc.image().all();
  const std::vector<std::uint8_t> bytes(stored.begin(), stored.end());
  settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);

  frame().onCommand(cmd::WriteAllData);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Write compleeted"});
  const sim::Memories after = stopSimulator();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 61888, after.see.begin()));
  for (std::size_t a = 0; a < 974; ++a) {
    // "SavePortsOutput" 1 leaves the controller's own GSM-managed outputs.
    const bool skipped = a >= 964 && a <= 969;
    ASSERT_EQ(after.ee[a], skipped ? 0 : bytes[61888 + a]) << "EE-Data " << a;
  }
}

// The menu's "Write Changed Data" runs the write of the changes on the
// active document, with the phases in the one progress window.
TEST_F(DeviceCommandsTest, WriteChangedDataFromTheMenuSendsOnlyTheChanges) {
  ASSERT_TRUE(start());
  // The controller holds what the new document sends, but for one byte.
  C4410Doc& doc = windows()[0]->document().doc();
  ASSERT_TRUE(link::CollectForWrite(doc));
  const ConfigImage sent = doc.image();
  sim::Memories controller;
  std::copy_n(sent.all().begin(), 61888, controller.see.begin());
  std::copy_n(sent.all().begin() + 61888, 974, controller.ee.begin());
  controller.see[58368 + 7] = 0x42;  // UserEventBlock, which no page shows
  startSimulator(controller);
  frame().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
  QMenu* device = nullptr;
  for (QAction* menu : frame().menuBar()->actions())
    if (menu->text() == QStringLiteral("&GZ4410")) device = menu->menu();
  ASSERT_NE(device, nullptr);
  QAction* item = nullptr;
  for (QAction* action : device->actions())
    if (action->data().toInt() == cmd::WriteChangedData) item = action;
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), QStringLiteral("Write Changed Data"));
  EXPECT_TRUE(item->isEnabled());
  device->popup(frame().mapToGlobal(QPoint(200, 20)));
  device->setActiveAction(item);
  test::screenshot(device, QStringLiteral("menu-write-changed-data"));
  device->hide();

  std::vector<std::string> statuses;
  bool shot = false;
  DuringTransfer during([&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != QLatin1String("CProgressDlg") || !w->isVisible()) continue;
      const std::string status = w->findChild<QLabel*>(QStringLiteral("status"))->text().toStdString();
      const std::string phase = status.substr(0, status.find(':'));
      if (!phase.empty() && (statuses.empty() || statuses.back() != phase)) statuses.push_back(phase);
      if (phase == "Checking" && !shot) {
        shot = true;
        test::screenshot(w, QStringLiteral("progress-write-changed"));
      }
    }
    return false;
  });
  item->trigger();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Write compleeted\nBlocks written: 1/1"});
  EXPECT_EQ(statuses, (std::vector<std::string>{"Reading", "Writing", "Checking"}));
  const sim::Memories after = stopSimulator();
  EXPECT_EQ(after.see[58368 + 7], 0x00);
  EXPECT_TRUE(std::equal(after.see.begin(), after.see.begin() + 61888, sent.all().begin()));
  EXPECT_TRUE(doc.image() == sent);
  EXPECT_FALSE(doc.isModified());
}

TEST_F(DeviceCommandsTest, ReadAllFromAPortThatDoesNotOpenChangesNothing) {
  settings.writeString(setting::kSection, setting::kPort, dir.file("no-such-port"));
  clock = &testClock;
  ASSERT_TRUE(start());
  const ConfigImage before = windows()[0]->document().doc().image();
  frame().onCommand(cmd::ReadAllData);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Port busy or not exist!"});
  EXPECT_TRUE(windows()[0]->document().doc().image() == before);
  EXPECT_FALSE(windows()[0]->document().doc().isModified());
}

TEST_F(DeviceCommandsTest, ConnectionSetupStoresTheTypedPort) {
  ASSERT_TRUE(start());
  whenModal<QDialog>([](QDialog* dialog) {
    EXPECT_NE(dynamic_cast<CDlgConnSetup*>(dialog), nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Conn. Setup"));
    auto* setup = dynamic_cast<CDlgConnSetup*>(dialog);
    setup->portBox()->setEditText(QStringLiteral("/dev/ttyUSB3"));
    setup->okButton()->click();
  });
  frame().onCommand(cmd::ConnectionSetup);
  EXPECT_EQ(settings.port(), "/dev/ttyUSB3");
}

TEST_F(DeviceCommandsTest, LanguageSetupOpensTheEditor) {
  ASSERT_TRUE(start());
  prompter.answer(Answer::Cancel);  // no file yet: neither pick one nor create one
  prompter.answer(Answer::Yes);     // "Exit editor?"
  whenModal<CDlgLang>([](CDlgLang* editor) { editor->reject(); });
  frame().onCommand(cmd::LanguageSetup);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{
                                  "To select Language file press YES\n\rTo cteate new Language file press NO",
                                  "Exit editor?"}));
  EXPECT_EQ(settings.languageFile(), "no file");
}

}  // namespace
}  // namespace wk::test

namespace wk::test {
namespace {

// Clicks the default button of every message box as it comes up.
class BoxCloser : public QObject {
 public:
  BoxCloser() {
    connect(&timer_, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      texts.push_back(box->text().toStdString());
      box->button(box->standardButtons() & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok)->click();
    });
    timer_.start(5);
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

class ActiveDocumentTest : public DeviceCommandsTest {};

// With several documents open, the window a transfer started from is the
// active one again once its last message is gone, also after the desktop
// gives the main window back its focus: the next "Write All Data" must not
// send another document.
TEST_F(ActiveDocumentTest, TheDocumentATransferStartedFromStaysActive) {
  startSimulator(sim::Memories{});
  QtPrompter boxes;
  app = std::make_unique<C4410App>(settings, boxes, clock);
  ASSERT_TRUE(app->InitInstance({}));
  frame().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
  frame().resize(1200, 800);
  frame().onCommand(cmd::FileNew);
  ASSERT_TRUE(waitForWindowCount(2));
  frame().mdiArea()->tileSubWindows();
  for (const std::size_t start : {0u, 1u, 0u}) {
    CChildFrame* chosen = windows()[start];
    frame().mdiArea()->setActiveSubWindow(chosen);
    // The user clicks into the document: the focus is inside its window.
    QTabBar* tabs = chosen->view().tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_EQ(frame().activeChild(), chosen);
    for (const int command : {cmd::WriteAllData, cmd::ReadAllData}) {
      // "Current document is not empty, proceed?" (Yes) comes first for a modified one.
      const bool asks = command == cmd::ReadAllData && chosen->document().doc().isModified();
      BoxCloser closer;
      frame().onCommand(command);
      EXPECT_EQ(closer.texts.size(), asks ? 2u : 1u);
      // As the desktop does once the last box is gone.
      frame().activateWindow();
      EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &frame(); }, 5000));
      QApplication::processEvents();
      EXPECT_EQ(frame().activeChild(), chosen) << "started from window " << start << ", command " << command;
    }
  }
  test::screenshot(&frame(), QStringLiteral("two-documents-after-read"));
}

}  // namespace
}  // namespace wk::test
