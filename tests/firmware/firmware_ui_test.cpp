// The "Update FW" dialog driven for real offscreen: its texts, the path
// field and "FWFilename", the file choice, and "System Info" and "Flash it!"
// against gz4410-sim with the progress window up during the update.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "firmware/code_filler.h"
#include "firmware/ui/dlg_empty.h"
#include "firmware/ui/dlg_prop_flasher.h"
#include "firmware_rig.h"
#include "support/gui/during_transfer.h"
#include "support/gui/screenshot.h"
#include "support/sim_rig.h"

namespace wk {
namespace {

using test::RecordedMessage;

QWidget* progressWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("CProgressDlg") && w->isVisible()) return w;
  return nullptr;
}

struct Rig {
  // The clock runs ten times faster: a time-out of the port is over sooner.
  explicit Rig(const std::vector<std::string>& simArgs = {}) : sim(simArgs, 10) {}
  test::SimRig sim;
  Seams seams() { return {sim.prompter, sim.settings, sim.clock, sim.transport}; }
};

TEST(FirmwareDialog, TextsAndTheOneTab) {
  Rig rig;
  CDlgEmpty dialog(rig.seams());
  EXPECT_EQ(dialog.windowTitle(), "Update FW");
  ASSERT_EQ(dialog.tabs()->count(), 1);
  EXPECT_EQ(dialog.tabs()->tabText(0), "FW Update");
  EXPECT_EQ(dialog.tabs()->widget(0), dialog.page());
  EXPECT_EQ(dialog.okButton()->text(), "OK");
  EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
  CDlgPropFlasher* page = dialog.page();
  EXPECT_EQ(page->group()->title(), "FirmWare Update");
  EXPECT_EQ(page->systemInfoButton()->text(), "System Info");
  EXPECT_EQ(page->infoLine()->text(), "Press button to get system information");
  EXPECT_EQ(page->fileLabel()->text(), "File");
  EXPECT_EQ(page->browseButton()->text(), "...");
  EXPECT_EQ(page->flashButton()->text(), "Flash it!");
  // Nothing stored yet: the field shows the marker of no file.
  EXPECT_EQ(page->pathField()->text(), "no name");
}

TEST(FirmwareDialog, FwFilenameIsLoadedOnOpeningAndStoredOnlyOnOk) {
  Rig rig;
  rig.sim.settings.writeString(setting::kSection, setting::kFirmwareFile, "/opt/fw/old.cod");
  {
    CDlgEmpty dialog(rig.seams());
    dialog.show();
    QLineEdit* field = dialog.page()->pathField();
    EXPECT_EQ(field->text(), "/opt/fw/old.cod");
    field->selectAll();
    QTest::keyClicks(field, "/opt/fw/typed.cod");
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(rig.sim.settings.firmwareFile(), "/opt/fw/old.cod") << "Cancel keeps FWFilename";
  }
  CDlgEmpty dialog(rig.seams());
  dialog.show();
  QLineEdit* field = dialog.page()->pathField();
  EXPECT_EQ(field->text(), "/opt/fw/old.cod");
  field->selectAll();
  QTest::keyClicks(field, "/opt/fw/new.cod");
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(rig.sim.settings.firmwareFile(), "/opt/fw/new.cod");
}

TEST(FirmwareDialog, TheFileButtonPutsTheChosenFileIntoTheField) {
  Rig rig;
  CDlgEmpty dialog(rig.seams());
  dialog.show();
  rig.sim.prompter.chooseOpen(std::string("/srv/code/GZ4410 v1.06.cod"));
  QTest::mouseClick(dialog.page()->browseButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.page()->pathField()->text(), "/srv/code/GZ4410 v1.06.cod");
  ASSERT_EQ(rig.sim.prompter.fileRequests.size(), 1u);
  EXPECT_EQ(rig.sim.prompter.fileRequests[0].filter, "VL-Bootloader code(*.cod)|*.cod|All files (*.*)|*.*|");
  EXPECT_EQ(rig.sim.prompter.fileRequests[0].initialPath, "") << "\"no name\" is no place to start from";

  // Cancelled: the field stays; the dialog starts from the file in the field.
  rig.sim.prompter.chooseOpen(std::nullopt);
  QTest::mouseClick(dialog.page()->browseButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.page()->pathField()->text(), "/srv/code/GZ4410 v1.06.cod");
  EXPECT_EQ(rig.sim.prompter.fileRequests[1].initialPath, "/srv/code/GZ4410 v1.06.cod");
  EXPECT_EQ(rig.sim.settings.firmwareFile(), "no name") << "nothing stored before OK";
}

TEST(FirmwareDialog, SystemInfoShowsTheLine) {
  Rig rig;
  CDlgEmpty dialog(rig.seams());
  dialog.resize(560, 240);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(dialog.page()->systemInfoButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.page()->infoLine()->text(), "Model = GZ4410    S/N = $00012AF0   FWver = 1.05d");
  EXPECT_TRUE(rig.sim.prompter.messages.empty());
  test::screenshot(&dialog, QStringLiteral("firmware-system-info"));
  EXPECT_EQ(rig.sim.trace(), (std::vector<std::string>{"M", "N", "v"}));
}

TEST(FirmwareDialog, SystemInfoRefusedKeepsNoOldLine) {
  Rig rig({"--fault", "no-echo@M"});
  CDlgEmpty dialog(rig.seams());
  dialog.show();
  QTest::mouseClick(dialog.page()->systemInfoButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.page()->infoLine()->text(), "");
  EXPECT_EQ(rig.sim.prompter.texts(), (std::vector<std::string>{"Connection error 2"}));
}

TEST(FirmwareDialog, FlashShowsTheProgressWindowAndTheDialogWaits) {
  Rig rig;
  firmware::CodeFiller::program().resetForTests();
  const std::string path = rig.sim.dir.file("GZ4410.cod");
  test::writeBytes(path, firmware::test::sampleFile(20000));
  CDlgEmpty dialog(rig.seams());
  dialog.resize(560, 240);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.page()->pathField()->setText(QString::fromStdString(path));

  QString title, status;
  bool dialogDisabled = false, stayed = false;
  int barMaximum = 0;
  test::DuringTransfer during([&] {
    QWidget* w = progressWindow();
    if (!w || w->findChild<QProgressBar*>()->value() < 100) return false;
    title = w->windowTitle();
    status = w->findChild<QLabel*>(QStringLiteral("status"))->text();
    barMaximum = w->findChild<QProgressBar*>()->maximum();
    dialogDisabled = !dialog.isEnabled();
    dialog.reject();  // Esc on the dialog, or its close box
    stayed = dialog.isVisible();
    test::screenshot(w, QStringLiteral("firmware-progress"));
    return true;
  });
  QTest::mouseClick(dialog.page()->flashButton(), Qt::LeftButton);

  EXPECT_TRUE(during.done());
  EXPECT_EQ(title, "Update in progress...");
  EXPECT_EQ(status, "Write to flash");
  EXPECT_EQ(barMaximum, 252);
  EXPECT_TRUE(dialogDisabled);
  EXPECT_TRUE(stayed) << "the dialog cannot go while the update runs";
  EXPECT_EQ(rig.sim.prompter.messages, (std::vector<RecordedMessage>{{"Data was sent successfully!",
                                                                       MessageIcon::Information, MessageButtons::Ok}}));
  EXPECT_EQ(progressWindow(), nullptr);
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_EQ(rig.sim.trace(), (std::vector<std::string>{"U", "W 252"}));
  // Closing works again once the update is over.
  dialog.reject();
  EXPECT_FALSE(dialog.isVisible());
  firmware::CodeFiller::program().resetForTests();
}

}  // namespace
}  // namespace wk
