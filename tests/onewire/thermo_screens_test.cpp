// The thermosensor pages and the selector against gz4410-sim over the real
// port, as an installer sees them; screenshots under scripts/screenshots.sh.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "document/c4410_doc.h"
#include "document/onewire_records.h"
#include "onewire/ui/dlg_prop_thermo.h"
#include "onewire/ui/dlg_prop_thermo_channel.h"
#include "onewire/ui/dlg_prop_thermo_ibutton.h"
#include "onewire/ui/dlg_prop_thermo_selector.h"
#include "onewire/ui/temp_ctrl.h"
#include "onewire_ui_rig.h"
#include "support/gui/screenshot.h"
#include "support/sim_rig.h"

namespace wk {
namespace {

using test::SimRig;
using test::whenModal;

struct SimPages {
  explicit SimPages(const std::vector<std::string>& simArgs = {}) : rig(simArgs) {
    doc.makeNew();
    host.resize(830, 520);
    host.setWindowTitle(QStringLiteral("Thermosensors"));
    host.show();
  }
  QPushButton* button(OneWirePage& page, const char* text) {
    for (QPushButton* b : page.buttons())
      if (b->text() == QString::fromUtf8(text)) return b;
    return nullptr;
  }
  SimRig rig;
  C4410Doc doc;
  PageContext context{doc, Seams{rig.prompter, rig.settings, rig.clock, rig.transport}, rig.progress()};
  CDlgPropThermo host{context, nullptr};
};

TEST(ThermoScreens, ChannelPagesFilledFromTheSimulator) {
  SimPages p;
  for (std::size_t s = 0; s < 3; ++s) SensorAlias(p.doc.image(), 0, s).store(u"Склад");
  ThermoSensorRecord::at(p.doc.image(), 0, 1).setReacts(true);
  ThermoSensorRecord::at(p.doc.image(), 0, 1).setRequestCount(3);
  p.doc.refreshEditors();
  QTest::mouseClick(p.button(p.host.channel(0), "Find All"), Qt::LeftButton);
  Grid* grid = p.host.channel(0).grid();
  EXPECT_EQ(grid->text(1, 1), "286164123C7C2F27");
  EXPECT_EQ(grid->text(3, 1), "28B72C79970403F5");
  EXPECT_EQ(grid->text(4, 1), "0000000000000000");
  EXPECT_EQ(grid->text(2, 4), "3 thermo-requests");
  EXPECT_EQ(grid->text(1, 5), "Sklad");
  EXPECT_TRUE(p.rig.prompter.messages.empty());
  test::screenshot(&p.host, "thermo-channel-1");

  p.host.tabBar()->setCurrentIndex(1);
  QTest::mouseClick(p.button(p.host.channel(1), "Find All"), Qt::LeftButton);
  EXPECT_EQ(p.host.channel(1).grid()->text(2, 1), "28E44A160B00004F");
  test::screenshot(&p.host, "thermo-channel-2");
}

TEST(ThermoScreens, KeyPageWithTwoKeysFromTheSimulator) {
  SimPages p;
  p.host.tabBar()->setCurrentIndex(2);
  CDlgPropThermoIButton& keys = p.host.keys();
  for (int entry : {0, 1}) {
    whenModal<CDlgPropThermoSelector>([entry](CDlgPropThermoSelector& s) {
      s.list()->setCurrentIndex(entry);
      EXPECT_FALSE(s.monitorButton()->isEnabled());  // keys are no thermometers
      QTest::mouseClick(s.okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(p.button(keys, "Add Device"), Qt::LeftButton);
  }
  IButtonKeyRecord::at(p.doc.image(), 1).setKeyType(5);
  IButtonCommentRecord::at(p.doc.image(), 0).store(u"Главный вход");
  IButtonCommentRecord::at(p.doc.image(), 1).store(u"Guard");
  p.doc.refreshEditors();
  EXPECT_EQ(keys.grid()->text(1, 1), "016E3F581300006C");
  EXPECT_EQ(keys.grid()->text(2, 1), "01A98B120F00002C");
  EXPECT_EQ(keys.grid()->text(2, 4), "Perimeter Key ARM");
  EXPECT_EQ(keys.grid()->text(1, 5), QString::fromUtf8("Главный вход"));
  test::screenshot(&p.host, "thermo-ibutton-keys");
}

TEST(ThermoScreens, SelectorWithTheMonitorRunning) {
  SimRig rig({"--onewire-device", "1:281D3931020000F0@23.75", "--onewire-device", "1:2854F72D04000068@87.50",
              "--onewire-device", "1:016E3F581300006C"});
  SerialList found;
  ASSERT_EQ(ReadChannelSerials(rig.link(), 0, found), 3);
  CDlgPropThermoSelector s(rig.link());
  s.setChannel(0);
  s.setSerialList(found);
  s.setLabel(QStringLiteral("Channel 1"));
  s.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
  test::screenshot(&s, "selector-idle");

  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
  ASSERT_TRUE(s.monitorRunning());
  QTRY_COMPARE_WITH_TIMEOUT(s.gauge()->valueText(), QString::fromUtf8("23.8°C"), 10000);
  test::screenshot(&s, "selector-monitor-23.75C");

  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);  // stop
  EXPECT_EQ(s.gauge()->valueText(), QString::fromUtf8("0.0°C"));
  s.list()->setCurrentIndex(1);
  QTest::mouseClick(s.monitorButton(), Qt::LeftButton);
  ASSERT_TRUE(s.monitorRunning());
  QTRY_COMPARE_WITH_TIMEOUT(s.gauge()->valueText(), QString::fromUtf8("87.5°C"), 10000);
  test::screenshot(&s, "selector-monitor-87.50C");
  QTest::mouseClick(s.okButton(), Qt::LeftButton);
  EXPECT_EQ(s.chosenIndex(), 1);
  EXPECT_FALSE(rig.transport.isOpen());
  EXPECT_TRUE(rig.prompter.messages.empty());
}

}  // namespace
}  // namespace wk
