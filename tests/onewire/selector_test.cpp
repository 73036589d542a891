// The sensor selector and its temperature monitor: the list, the rule that
// enables "Start Monitor", the readings on the gauge, and every way out of
// the monitor and the dialog closing the port.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "link/device_operation.h"
#include "onewire/ui/dlg_prop_thermo_selector.h"
#include "onewire/ui/temp_ctrl.h"
#include "onewire_ui_rig.h"

namespace wk {
namespace {

using test::hex;
using test::scriptRequest;

const std::string kSensor = "28 1D 39 31 02 00 00 F0";
const std::string kOld = "10 4E 2C 8B 02 08 00 30";  // DS1920
const std::string kEcono = "22 07 41 1A 00 00 00 17";
const std::string kButton = "01 63 B9 21 0C 00 00 5F";

class Selector : public ::testing::Test {
 protected:
  link::DeviceLink link() { return {peer, prompter, settings, clock, {}}; }
  // A selector with these devices, shown.
  CDlgPropThermoSelector& make(const std::vector<std::string>& codes, int bus = 0) {
    SerialList list{};
    for (std::size_t i = 0; i < codes.size(); ++i) list[i] = RomCode::from(hex(codes[i]));
    dialog = std::make_unique<CDlgPropThermoSelector>(link());
    dialog->setChannel(bus);
    dialog->setSerialList(list);
    dialog->setLabel(QStringLiteral("Channel %1").arg(bus + 1));
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    return *dialog;
  }
  CDlgPropThermoSelector& running(const std::string& reply) {
    CDlgPropThermoSelector& s = make({kSensor});
    scriptRequest(peer, kSensor, reply);
    QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
    EXPECT_TRUE(s.monitorRunning());
    return s;
  }
  void expectIdleAndClosed(CDlgPropThermoSelector& s) {
    EXPECT_FALSE(s.monitorRunning());
    EXPECT_FALSE(s.monitorTimer().isActive());
    EXPECT_FALSE(peer.isOpen());
    EXPECT_FALSE(link::DeviceOperation::running());
    EXPECT_TRUE(s.list()->isEnabled());
    EXPECT_TRUE(s.gauge()->isEnabled());
    EXPECT_EQ(s.monitorButton()->text(), "Start Monitor");
    EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("0.0°C"));
  }

  test::ScriptedPeer peer;
  test::ScriptedPrompter prompter;
  MemorySettings settings;
  test::TestClock clock;
  std::unique_ptr<CDlgPropThermoSelector> dialog;
};

TEST_F(Selector, ListsTheDevicesFoundWithItsTitleAndLabel) {
  CDlgPropThermoSelector& s = make({kSensor, kButton, kEcono}, 1);
  EXPECT_EQ(s.windowTitle(), "Channel 2");
  EXPECT_EQ(s.label()->text(), "Channel 2");
  ASSERT_EQ(s.list()->count(), 3);
  EXPECT_EQ(s.list()->itemText(0), "281D3931020000F0");
  EXPECT_EQ(s.list()->itemText(1), "0163B9210C00005F");
  EXPECT_EQ(s.list()->currentIndex(), 0);
  EXPECT_EQ(s.list()->property("controlId").toInt(), 1000);
  EXPECT_EQ(s.monitorButton()->property("controlId").toInt(), 1005);
  EXPECT_EQ(s.gauge()->property("controlId").toInt(), 118);
  EXPECT_EQ(s.okButton()->text(), "OK");
  EXPECT_EQ(s.cancelButton()->text(), "Cancel");
  // The gauge: the client area less 50 at the top and 150 at the bottom.
  EXPECT_EQ(s.gauge()->geometry(), s.rect().adjusted(0, 50, 0, -150));
  EXPECT_DOUBLE_EQ(s.gauge()->minimum(), -67.0);
  EXPECT_DOUBLE_EQ(s.gauge()->maximum(), 257.0);
  EXPECT_DOUBLE_EQ(s.gauge()->value(), 32.0);
  EXPECT_FALSE(s.gauge()->fahrenheitText());
  EXPECT_EQ(s.gauge()->color(), QColor(255, 64, 64));
}

TEST_F(Selector, StartMonitorOnlyForThermometers) {
  CDlgPropThermoSelector& only = make({kButton});
  EXPECT_EQ(only.list()->count(), 1);
  EXPECT_FALSE(only.monitorButton()->isEnabled());
  CDlgPropThermoSelector& s = make({kButton, kSensor, kOld, kEcono, "25 00 00 00 00 00 00 B8", "26 00 00 00 00 00 00 00"});
  const bool expected[] = {false, true, true, true, true, false};
  for (int i = 0; i < 6; ++i) {
    s.list()->setCurrentIndex(i);
    EXPECT_EQ(s.monitorButton()->isEnabled(), expected[i]) << i;
  }
}

TEST_F(Selector, OkGivesTheChosenEntry) {
  CDlgPropThermoSelector& s = make({kSensor, kButton, kEcono});
  s.list()->setCurrentIndex(2);
  QTest::mouseClick(s.okButton(), Qt::LeftButton);
  EXPECT_EQ(s.result(), QDialog::Accepted);
  EXPECT_EQ(s.chosenIndex(), 2);
}

TEST_F(Selector, ReadingsOnTheGauge) {
  CDlgPropThermoSelector& s = running("38 FF");
  scriptRequest(peer, kSensor, "D4 30");
  scriptRequest(peer, kSensor, "20 4E");
  scriptRequest(peer, kSensor);
  EXPECT_EQ(s.monitorButton()->text(), "Stop Monitor");
  EXPECT_FALSE(s.list()->isEnabled());
  EXPECT_FALSE(s.gauge()->isEnabled());
  EXPECT_EQ(s.monitorTimer().interval(), 800);
  EXPECT_TRUE(s.monitorTimer().isActive());

  s.onMonitorTimer();  // 38 FF: -200
  EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("-2.0°C"));
  EXPECT_NEAR(s.gauge()->value(), 28.4, 1e-9);
  s.onMonitorTimer();  // D4 30: 12500, the whole tube
  EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("125.0°C"));
  EXPECT_DOUBLE_EQ(s.gauge()->liquidFraction(), 1.0);
  s.onMonitorTimer();  // 20 4E: 20000, held at the top of the scale
  EXPECT_DOUBLE_EQ(s.gauge()->value(), 257.0);
  EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("125.0°C"));
  EXPECT_TRUE(peer.done());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Selector, TheTimerDrivesTheMonitor) {
  CDlgPropThermoSelector& s = running("E8 03");
  scriptRequest(peer, kSensor, "D0 07");
  scriptRequest(peer, kSensor);
  QTRY_COMPARE_WITH_TIMEOUT(s.gauge()->valueText(), QString::fromUtf8("20.0°C"), 10000);
  EXPECT_TRUE(s.monitorRunning());
}

TEST_F(Selector, StoppingReturnsTheGaugeToZero) {
  CDlgPropThermoSelector& s = running("D4 30");
  scriptRequest(peer, kSensor);
  s.onMonitorTimer();
  EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("125.0°C"));
  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
  expectIdleAndClosed(s);
  EXPECT_DOUBLE_EQ(s.gauge()->value(), 32.0);
}

TEST_F(Selector, EveryWayOutClosesThePort) {
  const std::vector<std::pair<const char*, std::function<void(CDlgPropThermoSelector&)>>> ways = {
      {"OK", [](CDlgPropThermoSelector& s) { QTest::mouseClick(s.okButton(), Qt::LeftButton); }},
      {"Cancel", [](CDlgPropThermoSelector& s) { QTest::mouseClick(s.cancelButton(), Qt::LeftButton); }},
      {"close button", [](CDlgPropThermoSelector& s) { s.close(); }},
      {"Escape", [](CDlgPropThermoSelector& s) { QTest::keyClick(&s, Qt::Key_Escape); }},
  };
  for (const auto& [name, leave] : ways) {
    SCOPED_TRACE(name);
    CDlgPropThermoSelector& s = running("");
    leave(s);
    EXPECT_FALSE(s.isVisible());
    expectIdleAndClosed(s);
  }
}

TEST_F(Selector, AFailedTickStopsTheMonitor) {
  {
    CDlgPropThermoSelector& s = running("");  // no reading
    s.onMonitorTimer();
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"ERROR 2"}));
    expectIdleAndClosed(s);
    EXPECT_TRUE(s.isVisible());
  }
  prompter.messages.clear();
  {
    CDlgPropThermoSelector& s = running("10 27");
    peer.expect("54", "");  // the next request has no echo
    s.onMonitorTimer();
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"ERROR 1"}));
    expectIdleAndClosed(s);
  }
}

TEST_F(Selector, AFailedStartLeavesItIdle) {
  CDlgPropThermoSelector& s = make({kSensor});
  peer.expect("54", "53");
  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"ERROR 1"}));
  expectIdleAndClosed(s);
  prompter.messages.clear();
  peer.openResult = {link::OpenStatus::Kind::Busy, "Device or resource busy"};
  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  expectIdleAndClosed(s);
}

TEST_F(Selector, StartingOpensThePortAfterItsPause) {
  running("");
  // The pause before opening, the port's wait, 10 ms, and 1 ms a byte.
  std::vector<std::chrono::milliseconds> sleeps{std::chrono::milliseconds(500), std::chrono::milliseconds(2000),
                                                std::chrono::milliseconds(10)};
  for (int i = 0; i < 8; ++i) sleeps.push_back(std::chrono::milliseconds(1));
  EXPECT_EQ(clock.sleeps, sleeps);
  EXPECT_TRUE(peer.isOpen());
  EXPECT_TRUE(link::DeviceOperation::running());
  dialog.reset();  // the dialog going away ends it too
  EXPECT_FALSE(peer.isOpen());
  EXPECT_FALSE(link::DeviceOperation::running());
}

}  // namespace
}  // namespace wk
