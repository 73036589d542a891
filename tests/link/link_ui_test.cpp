// The GUI side of the link, driven for real offscreen: read-all and write-all
// through the Qt entry points against gz4410-sim under a plain window, the
// progress window, and the Connection Setup dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "seams/qt/qt_settings.h"
#include "document/config_image.h"
#include "link/device_operation.h"
#include "support/gui/during_transfer.h"
#include "support/sim_rig.h"
#include "link/ui/conn_setup_dlg.h"
#include "link/ui/device_commands.h"
#include "seams/qt/progress_dlg.h"
#include "support/gui/screenshot.h"

namespace wk {
namespace {

// Answers every message box as it comes up, in order, and keeps its text.
class BoxAnswerer : public QObject {
 public:
  explicit BoxAnswerer(std::vector<QMessageBox::StandardButton> answers = {}) : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start(5);
  }
  std::vector<std::string> texts;
  std::vector<QMessageBox::Icon> icons;

 private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box == last_ || !box->isVisible()) return;
    last_ = box;
    texts.push_back(box->text().toStdString());
    icons.push_back(box->icon());
    QMessageBox::StandardButton which = QMessageBox::Ok;
    if (!answers_.empty()) {
      which = answers_.front();
      answers_.erase(answers_.begin());
    }
    if (QAbstractButton* button = box->button(which)) button->click();
  }
  std::vector<QMessageBox::StandardButton> answers_;
  QPointer<QMessageBox> last_;
  QTimer timer_;
};


QWidget* progressWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("CProgressDlg")) return w;
  return nullptr;
}

int progressValue() {
  QWidget* w = progressWindow();
  auto* bar = w ? w->findChild<QProgressBar*>() : nullptr;
  return bar ? bar->value() : -1;
}

struct GuiRig {
  explicit GuiRig(const sim::Memories* initial = nullptr) {
    if (initial) sim::writeState(dir.file("state"), *initial);
    sim = std::make_unique<sim::Simulator>(std::vector<std::string>{"--instant", "--state", dir.file("state")});
    QtSettings().writeString(setting::kSection, setting::kPort, sim->device());
    window.setWindowTitle(QStringLiteral("Owner"));
    window.resize(700, 480);
    window.statusBar();
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  test::TempDir dir;
  std::unique_ptr<sim::Simulator> sim;
  test::TestClock clock;
  QMainWindow window;
};

TEST(LinkGui, ReadAllUnderAPlainWindow) {
  sim::Memories m;
  m.see = test::hostileBytes(sim::kSeeSize, 5);
  m.ee = test::hostileBytes(sim::kEeSize, 9);
  GuiRig rig(&m);
  C4410Doc doc;
  doc.setModified(true);

  bool ownerDisabled = false, progressShown = false, closeRefused = false, quitRefused = false;
  test::DuringTransfer during([&] {
    if (progressValue() < 30000) return false;
    ownerDisabled = !rig.window.isEnabled();
    progressShown = progressWindow() && progressWindow()->isVisible();
    closeRefused = !rig.window.close() && rig.window.isVisible();
    QApplication::closeAllWindows();
    quitRefused = rig.window.isVisible() && progressWindow();
    test::screenshot(progressWindow(), QStringLiteral("progress-read-all"));
    return true;
  });
  BoxAnswerer boxes({QMessageBox::Yes, QMessageBox::Ok});
  EXPECT_EQ(runReadAll(doc, &rig.window, &rig.clock), link::TransferOutcome::Completed);

  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Current document is not empty, proceed?", "Read compleeted"}));
  EXPECT_EQ(boxes.icons, (std::vector<QMessageBox::Icon>{QMessageBox::Question, QMessageBox::Information}));
  EXPECT_TRUE(during.done());
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(closeRefused) << "the window under a transfer cannot be closed";
  EXPECT_TRUE(quitRefused) << "nor the program";
  EXPECT_TRUE(rig.window.isEnabled());
  EXPECT_EQ(progressWindow(), nullptr);
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(std::equal(m.see.begin(), m.see.begin() + 61888, doc.image().all().begin()));
  EXPECT_TRUE(std::equal(m.ee.begin(), m.ee.begin() + 700, doc.image().all().begin() + 61888));
  // Closing works again once the transfer is over.
  EXPECT_TRUE(rig.window.close());
}

TEST(LinkGui, WriteAllUnderAPlainWindow) {
  GuiRig rig;
  C4410Doc doc;
  const auto image = test::hostileBytes(image::kSize, 13);
  std::ranges::copy(image, doc.image().all().begin());
  test::DuringTransfer during([&] {
    if (progressValue() < 20000) return false;
    test::screenshot(progressWindow(), QStringLiteral("progress-write-all"));
    return true;
  });
  BoxAnswerer boxes;
  EXPECT_EQ(runWriteAll(doc, &rig.window, &rig.clock), link::TransferOutcome::Completed);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Write compleeted"});
  EXPECT_FALSE(doc.isModified());
  ASSERT_EQ(rig.sim->stop(), 0);
  sim::Memories after;
  ASSERT_TRUE(sim::readState(rig.dir.file("state"), after));
  // As collecting the pages leaves it (see read_write_all_test.cpp).
  auto sent = image;
  for (std::size_t k = 0; k < 256; ++k) sent[158 * k + 1] &= 0x3F;
  for (std::size_t c = 0; c < 10; ++c) sent[62752 + 10 * c + 9] &= 0x87;  // reports: bits 11..14 of the word
  std::fill(sent.begin() + 61888 + 964, sent.begin() + 61888 + 970, 0);
  EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + 61888, after.see.begin()));
  EXPECT_TRUE(std::equal(sent.begin() + 61888, sent.end(), after.ee.begin()));
  EXPECT_TRUE(rig.window.isEnabled());
}

TEST(LinkGui, PortThatCannotOpenSaysWhyOnTheStatusBar) {
  GuiRig rig;
  QtSettings().writeString(setting::kSection, setting::kPort, "/dev/ttyWK-none");
  C4410Doc doc;
  BoxAnswerer boxes;
  EXPECT_EQ(runReadAll(doc, &rig.window, &rig.clock), link::TransferOutcome::Failed);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Port busy or not exist!"});
  EXPECT_EQ(boxes.icons, std::vector<QMessageBox::Icon>{QMessageBox::Critical});
  EXPECT_EQ(rig.window.statusBar()->currentMessage(),
            QStringLiteral("/dev/ttyWK-none: No such file or directory"));
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(ProgressDlg, OwnerBarPercentageAndHiddenCancel) {
  QWidget owner;
  owner.show();
  {
    CProgressDlg dlg(&owner);
    EXPECT_FALSE(owner.isEnabled());
    ASSERT_NE(dlg.window(), nullptr);
    EXPECT_TRUE(dlg.window()->isVisible());
    EXPECT_EQ(dlg.window()->parent(), nullptr);
    EXPECT_EQ(dlg.percentage()->text(), QStringLiteral("0%"));
    EXPECT_FALSE(dlg.cancelButton()->isVisible());
    EXPECT_FALSE(dlg.cancelButton()->isEnabled());
    dlg.setCaption("Read in progress...");
    EXPECT_EQ(dlg.window()->windowTitle(), QStringLiteral("Read in progress..."));
    dlg.setRange(65535);
    EXPECT_EQ(dlg.bar()->maximum(), 65535);
    const std::pair<int, const char*> steps[] = {{0, "0%"},      {1024, "1%"},   {32768, "50%"},
                                                 {64512, "98%"}, {65535, "100%"}, {65536, "100%"}};
    for (const auto& [pos, text] : steps) {
      dlg.setPos(pos);
      EXPECT_EQ(dlg.percentage()->text(), QString::fromLatin1(text)) << pos;
    }
    EXPECT_EQ(dlg.bar()->value(), 65535) << "past the end the bar stays full";
    dlg.setRange(973);
    dlg.setPos(974);
    EXPECT_EQ(dlg.percentage()->text(), QStringLiteral("100%"));
    dlg.setStatus("EE-Data byte 974");
    EXPECT_EQ(dlg.status()->text(), QStringLiteral("EE-Data byte 974"));
    dlg.setRange(0);
    dlg.setPos(0);  // an empty range divides by nothing
    EXPECT_EQ(dlg.percentage()->text(), QStringLiteral("0%"));

    QTest::keyClick(dlg.window(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.cancelled());
    EXPECT_FALSE(dlg.window()->isVisible());
    dlg.setPos(5);  // the operation goes on regardless
    dlg.close();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(dlg.window(), nullptr);
    dlg.setPos(7);
    dlg.close();
  }
  // An owner that was disabled already stays so.
  owner.setEnabled(false);
  { CProgressDlg dlg(&owner); }
  EXPECT_FALSE(owner.isEnabled());
}

std::vector<SerialPortEntry> fakePorts() {
  return {{"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FT232R USB UART", "FTDI"},
          {"/dev/ttyACM0", "GZ4410 service cable", "Velmora"}};
}

int selectedFor(const std::string& stored, QString* text = nullptr) {
  MemorySettings settings;
  settings.writeString(setting::kSection, setting::kPort, stored);
  CDlgConnSetup dlg(settings, fakePorts());
  if (text) *text = dlg.portBox()->currentText();
  return dlg.portBox()->currentIndex();
}

TEST(ConnSetup, ListsTheComPortsThenThePresentOnes) {
  MemorySettings settings;
  CDlgConnSetup dlg(settings, fakePorts());
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Conn. Setup"));
  EXPECT_EQ(dlg.findChild<QLabel*>()->text(), QStringLiteral("Serial Port:"));
  EXPECT_EQ(dlg.okButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(dlg.cancelButton()->text(), QStringLiteral("Cancel"));
  QComboBox* box = dlg.portBox();
  ASSERT_EQ(box->count(), 12);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(box->itemText(i), QStringLiteral("Com%1").arg(i + 1));
  EXPECT_EQ(box->itemText(10), QString::fromStdString(fakePorts()[0].name.toStdString()));
  EXPECT_EQ(box->model()->index(10, 1).data().toString(), QStringLiteral("FT232R USB UART"));
  EXPECT_EQ(box->model()->index(11, 2).data().toString(), QStringLiteral("Velmora"));
  EXPECT_TRUE(box->isEditable());
  EXPECT_EQ(box->currentIndex(), 0) << "the default Com1";
  dlg.show();
  EXPECT_FALSE(dlg.cancelButton()->isVisible());
  test::screenshot(&dlg, QStringLiteral("conn-setup"));
  box->showPopup();
  EXPECT_TRUE(QTest::qWaitFor([box] { return box->view()->isVisible(); }, 5000));
  test::screenshot(box->view(), QStringLiteral("conn-setup-list"));
  box->hidePopup();
}

TEST(ConnSetup, StoredValueSelectsTheFirstEntryBeginningWithIt) {
  EXPECT_EQ(selectedFor("Com1"), 0);
  EXPECT_EQ(selectedFor("COM1"), 0);
  EXPECT_EQ(selectedFor("com10"), 9);
  EXPECT_EQ(selectedFor("Com"), 0);
  EXPECT_EQ(selectedFor("Com7"), 6);
  EXPECT_EQ(selectedFor("/dev/serial/by-id/usb-FTDI"), 10);
  EXPECT_EQ(selectedFor("/dev/ttyacm0"), 11);
  QString text;
  EXPECT_EQ(selectedFor("/dev/pts/7", &text), 0) << "none begins with it: the text is put in the box";
  EXPECT_EQ(text, QStringLiteral("/dev/pts/7"));
}

TEST(ConnSetup, OkStoresWhatIsInTheBoxOtherwiseNothing) {
  MemorySettings settings;
  {
    CDlgConnSetup dlg(settings, {});
    dlg.show();
    dlg.portBox()->setCurrentIndex(3);
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
  }
  EXPECT_EQ(settings.port(), "Com4");
  {
    CDlgConnSetup dlg(settings, {});
    dlg.show();
    EXPECT_EQ(dlg.portBox()->currentIndex(), 3);
    dlg.portBox()->lineEdit()->selectAll();
    QTest::keyClicks(dlg.portBox()->lineEdit(), QStringLiteral("/dev/ttyUSB1"));
    QTest::keyClick(dlg.portBox(), Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
  }
  EXPECT_EQ(settings.port(), "Com4") << "Esc writes nothing";
  {
    CDlgConnSetup dlg(settings, {});
    dlg.show();
    dlg.portBox()->lineEdit()->selectAll();
    QTest::keyClicks(dlg.portBox()->lineEdit(), QStringLiteral("/dev/ttyUSB1"));
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
  }
  EXPECT_EQ(settings.port(), "/dev/ttyUSB1") << "a typed name is stored as typed";
}

TEST(ConnSetup, StablePortNamesComeFromTheByIdFolder) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  test::writeBytes(dir.file("ttyFAKE0"), {});
  test::writeBytes(dir.file("ttyFAKE1"), {});
  fs::create_directories(dir.file("by-id"));
  fs::create_symlink("../ttyFAKE0", dir.file("by-id/usb-Acme_Adapter_123-if00-port0"));
  const QString byId = QString::fromStdString(dir.file("by-id"));
  EXPECT_EQ(stablePortName(QString::fromStdString(dir.file("ttyFAKE0")), byId),
            QString::fromStdString(dir.file("by-id/usb-Acme_Adapter_123-if00-port0")));
  EXPECT_EQ(stablePortName(QString::fromStdString(dir.file("ttyFAKE1")), byId),
            QString::fromStdString(dir.file("ttyFAKE1")));
  EXPECT_EQ(stablePortName(QStringLiteral("/dev/ttyS0"), QStringLiteral("/nonexistent")), QStringLiteral("/dev/ttyS0"));
}

}  // namespace
}  // namespace wk
