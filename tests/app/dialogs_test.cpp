// The Options dialog, the About box, printing and print preview, and the
// screenshots of the main window.
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QFile>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>

#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/dlg_options.h"
#include "editors/c4410_view.h"
#include "support/gui/screenshot.h"
#include "app_fixture.h"

namespace wk::test {
namespace {

const QString kCheckBoxText = QString::fromUtf8("While sending config-file save \"GSM managed\" \xD0\xBEutput values");

TEST_F(AppTest, OptionsShowsSavePortsOutputAndOkWritesIt) {
  ASSERT_TRUE(start());
  whenModal<CDlgOptions>([](CDlgOptions* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Options");
    EXPECT_EQ(dialog->checkBox()->text(), kCheckBoxText);
    EXPECT_EQ(dialog->checkBox()->text()[45], QChar(0x043E));  // the Cyrillic "о" of "оutput"
    EXPECT_EQ(dialog->okButton()->text(), "OK");
    EXPECT_EQ(dialog->cancelButton()->text(), "Cancel");
    EXPECT_FALSE(dialog->checkBox()->isChecked());
    screenshot(dialog, "options-dialog");
    QTest::mouseClick(dialog->checkBox(), Qt::LeftButton, {}, QPoint(6, dialog->checkBox()->height() / 2));
    EXPECT_TRUE(dialog->checkBox()->isChecked());
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  });
  frame().onCommand(cmd::Options);
  EXPECT_EQ(settings.readInt("Settings", "SavePortsOutput", -1), 1);

  // Any other stored value shows checked; unchecked and OK writes 0.
  settings.writeInt("Settings", "SavePortsOutput", 7);
  whenModal<CDlgOptions>([](CDlgOptions* dialog) {
    EXPECT_TRUE(dialog->checkBox()->isChecked());
    dialog->checkBox()->click();
    QTest::keyClick(dialog, Qt::Key_Return);  // OK is the default button
  });
  frame().onCommand(cmd::Options);
  EXPECT_EQ(settings.readInt("Settings", "SavePortsOutput", -1), 0);
}

TEST_F(AppTest, OptionsCancelWritesNothing) {
  ASSERT_TRUE(start());
  whenModal<CDlgOptions>([](CDlgOptions* dialog) {
    dialog->checkBox()->click();
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
  });
  frame().onCommand(cmd::Options);
  EXPECT_FALSE(settings.contains("Settings", "SavePortsOutput"));
  whenModal<CDlgOptions>([](CDlgOptions* dialog) {
    dialog->checkBox()->click();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  frame().onCommand(cmd::Options);
  EXPECT_FALSE(settings.contains("Settings", "SavePortsOutput"));
}

TEST_F(AppTest, AboutBoxShowsIconVersionAndOk) {
  ASSERT_TRUE(start());
  bool shown = false;
  whenModal<CAboutDlg>([&shown](CAboutDlg* dialog) {
    shown = true;
    EXPECT_EQ(dialog->windowTitle(), "About Watchkeep Configurator");
    EXPECT_EQ(dialog->findChild<QLabel*>("version")->text(), "4410 Version 1.05d");
    EXPECT_FALSE(dialog->findChild<QLabel*>("icon")->pixmap().isNull());
    EXPECT_EQ(dialog->okButton()->text(), "OK");
    screenshot(dialog, "about-box");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  });
  frame().onCommand(cmd::AppAbout);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(programIcon().isNull());
}

TEST_F(AppTest, PrintPreviewShowsThePrintout) {
  ASSERT_TRUE(start());
  app->printer().setPageSize(QPageSize(QPageSize::A4));
  whenModal<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) {
    preview->resize(900, 900);
    screenshot(preview, "print-preview");
    preview->reject();
  });
  frame().onCommand(cmd::FilePrintPreview);
}

TEST_F(AppTest, PrintGoesThroughThePrintDialog) {
  ASSERT_TRUE(start());
  const QString pdf = QString::fromStdString(dir.file("printed.pdf"));
  app->printer().setOutputFormat(QPrinter::PdfFormat);
  app->printer().setOutputFileName(pdf);
  whenModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
  frame().onCommand(cmd::FilePrint);
  EXPECT_FALSE(QFile::exists(pdf));
  whenModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->accept(); });
  frame().onCommand(cmd::FilePrint);
  EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(AppTest, PrintSetupShowsThePageSetupOfTheSharedPrinter) {
  ASSERT_TRUE(start());
  QPrinter* seen = nullptr;
  whenModal<QPageSetupDialog>([&seen](QPageSetupDialog* dialog) {
    seen = dialog->printer();
    dialog->reject();
  });
  frame().onCommand(cmd::FilePrintSetup);
  EXPECT_EQ(seen, &app->printer());
}

TEST_F(AppTest, MainWindowWithADocument) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  frame().resize(1100, 760);
  screenshot(&frame(), "main-window");
  windows()[1]->view().tabBar()->setCurrentIndex(4);
  screenshot(&frame(), "main-window-thermosensors");
  frame().mdiArea()->tileSubWindows();
  screenshot(&frame(), "main-window-tiled");
}

TEST_F(AppTest, MainWindowWithoutADocument) {
  ASSERT_TRUE(start());
  windows()[0]->close();
  ASSERT_TRUE(waitForWindowCount(0));
  screenshot(&frame(), "main-window-empty");
}

}  // namespace
}  // namespace wk::test
