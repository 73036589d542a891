// Screenshots of the main channel, user event and output pages in the section
// view, over a document that uses most of what they can show.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>
#include <QTest>
#include <cstring>

#include "document/c4410_doc.h"
#include "document/main_channel_record.h"
#include "document/output_record.h"
#include "document/user_event_record.h"
#include "editors/c4410_view.h"
#include "editors/dlg_prop_outs.h"
#include "editors/grid_page_fixture.h"
#include "support/gui/screenshot.h"

namespace wk {
namespace {

void fillDocument(C4410Doc& doc) {
  doc.makeNew();
  ConfigImage& image = doc.image();
  const char* alarms[] = {"Front door", "Back door", "Hall PIR", "Garage", "Window 1", "Window 2", "Smoke", "Water"};
  const std::uint8_t workmodes[] = {1, 2, 4, 6, 2, 2, 1, 0, 5};
  for (std::size_t k = 0; k < 24; ++k) {
    auto r = MainChannelRecord::at(image, k);
    r.setWorkmode(workmodes[k % 9]);
    r.setAlarmCondition(static_cast<std::uint8_t>((k * 5) % 18));
    r.setMultiaction(static_cast<std::uint8_t>(k % 4));
    r.setAlarmOnTimeout(static_cast<std::uint8_t>(k * 10));
    r.setAlarmOffTimeout(k % 3 ? 30 : 0);
    if (k < 8) {
      ChannelAliasTable(image).ifAlarm(k).store(std::u16string(alarms[k], alarms[k] + std::strlen(alarms[k])));
      ChannelAliasTable(image).ifOk(k).store(u"OK");
    }
    FollowMask::of(image).setFollows(k, k % 4 == 1);
  }
  ChannelAliasTable(image).ifAlarm(8).store(u"Склад");

  for (std::size_t k = 0; k < 16; ++k) {
    auto r = UserEventRecord::at(image, k);
    r.setWorkmode(workmodes[(k + 2) % 9]);
    r.setSensor({static_cast<int>(k % 2) + 1, static_cast<int>(k) + 1});
    r.setLo(static_cast<std::int16_t>(-500 + 150 * static_cast<int>(k)));
    r.setHi(static_cast<std::int16_t>(2550 + 25 * static_cast<int>(k)));
    r.setCondition(k % 2);
    r.setMultiaction(k % 3 == 0 ? 1 : 0);
  }

  const std::uint8_t uses[] = {1, 2, 0, 3, 1, 6};
  const char16_t* off[] = {u"Heating off", u"GSM off", u"", u"Siren off", u"Fan off", u"Beeper off"};
  const char16_t* on[] = {u"Heating on", u"GSM on", u"", u"Siren on", u"Fan on", u"Beeper on"};
  for (std::size_t k = 0; k < 6; ++k) {
    auto r = OutputRecord::at(image, k);
    r.setUse(uses[k]);
    r.setSensor({1, static_cast<int>(k) + 3});
    r.setHysteresisLow(static_cast<std::int16_t>(1800 + 100 * static_cast<int>(k)));
    r.setHysteresisHigh(static_cast<std::int16_t>(2200 + 100 * static_cast<int>(k)));
    r.setType(k == 4 ? 1 : 0);
    r.setInverse(k == 1 || k == 3);
    OutputAliasTable(image).ifOff(k).store(off[k]);
    OutputAliasTable(image).ifOn(k).store(on[k]);
  }
  doc.refreshEditors();
}

TEST(SectionPagesScreenshot, MainChannelsUserEventsAndOutputs) {
  C4410Doc doc;
  test::PageSeams seams;
  C4410View view(doc, seams.seams);
  view.resize(1150, 640);
  fillDocument(doc);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const char* names[] = {"", "main_channels", "user_events", "outputs"};
  for (int tab = 1; tab <= 3; ++tab) {
    view.tabBar()->setCurrentIndex(tab);
    ASSERT_TRUE(view.page(tab)->isVisible());
    test::screenshot(&view, QString::fromLatin1(names[tab]));
  }
  // The use list of output 3, as the user sees it when picking (a window of its own).
  auto* outputs = dynamic_cast<CDlgPropOuts*>(view.page(3));
  ASSERT_NE(outputs, nullptr);
  ASSERT_TRUE(outputs->grid().editCell(3, CDlgPropOuts::kUse));
  test::GridUser user(outputs->grid());
  auto* combo = user.openEditor<QComboBox>();
  ASSERT_NE(combo, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
  test::screenshot(combo->view(), QStringLiteral("outputs_use_list"));
  combo->hidePopup();
  outputs->grid().endEditing();
}

}  // namespace
}  // namespace wk
