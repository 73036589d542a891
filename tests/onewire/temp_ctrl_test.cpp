// The thermometer gauge: its value, its text and what it draws where.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "onewire/ui/temp_ctrl.h"

namespace wk {
namespace {

// The gauge as the selector sets it up.
struct Gauge : ::testing::Test {
  void SetUp() override {
    gauge.setRange(-67, 257);
    gauge.setFahrenheitText(false);
    gauge.setValue(32);
    gauge.resize(230, 420);
  }
  QImage picture() { return gauge.grab().toImage(); }
  static bool reddish(const QColor& c) { return c.red() > 150 && c.green() < 140 && c.blue() < 140; }
  CTempCtrl gauge;
};

TEST_F(Gauge, SetTemperatureConvertsAndClamps) {
  gauge.SetTemperature(-2.0);
  EXPECT_NEAR(gauge.value(), 28.4, 1e-9);
  EXPECT_EQ(gauge.valueText(), QString::fromUtf8("-2.0°C"));
  gauge.SetTemperature(125.0);
  EXPECT_DOUBLE_EQ(gauge.value(), 257.0);
  EXPECT_DOUBLE_EQ(gauge.liquidFraction(), 1.0);
  gauge.SetTemperature(200.0);
  EXPECT_DOUBLE_EQ(gauge.value(), 257.0);
  EXPECT_EQ(gauge.valueText(), QString::fromUtf8("125.0°C"));
  gauge.SetTemperature(-300.0);
  EXPECT_DOUBLE_EQ(gauge.value(), -67.0);
  EXPECT_DOUBLE_EQ(gauge.liquidFraction(), 0.0);
  EXPECT_EQ(gauge.valueText(), QString::fromUtf8("-55.0°C"));
  gauge.setFahrenheitText(true);
  EXPECT_EQ(gauge.valueText(), "-67.0 F");
}

TEST_F(Gauge, GeometryFollowsTheDrawingArea) {
  const CTempCtrl::Geometry g = gauge.drawingGeometry();
  EXPECT_EQ(g.area, QRectF(5, 5, 220, 410));
  EXPECT_DOUBLE_EQ(g.tube, 44);
  EXPECT_DOUBLE_EQ(g.centre, 115);
  // The bulb: twice the tube wide, 25 above the area's bottom.
  EXPECT_EQ(g.bulb, QRectF(115 - 44, 5 + 410 - 25 - 88, 88, 88));
  EXPECT_DOUBLE_EQ(g.tubeTop, 5 + 10 + 15);
  EXPECT_DOUBLE_EQ(g.tubeBottom, g.bulb.top());
  gauge.setShowScale(false);
  EXPECT_DOUBLE_EQ(gauge.drawingGeometry().tubeTop, 5 + 10);
}

TEST_F(Gauge, TheLiquidRisesWithTheValue) {
  const CTempCtrl::Geometry g = gauge.drawingGeometry();
  const QPoint nearTop(static_cast<int>(g.centre), static_cast<int>(g.tubeTop + 8));
  const QPoint inBulb = g.bulb.center().toPoint();
  gauge.SetTemperature(-55);
  QImage cold = picture();
  EXPECT_FALSE(reddish(cold.pixelColor(nearTop)));
  EXPECT_TRUE(reddish(cold.pixelColor(inBulb)));
  gauge.SetTemperature(125);
  QImage hot = picture();
  EXPECT_TRUE(reddish(hot.pixelColor(nearTop)));
  // Half-way up at 35 °C (95 °F, the middle of -67..257).
  gauge.SetTemperature(35);
  const double y = gauge.drawingGeometry().liquidTop;
  EXPECT_NEAR(y, (g.tubeTop + g.tubeBottom) / 2, 0.01);
  QImage mid = picture();
  EXPECT_TRUE(reddish(mid.pixelColor(static_cast<int>(g.centre), static_cast<int>(y + 8))));
  EXPECT_FALSE(reddish(mid.pixelColor(static_cast<int>(g.centre), static_cast<int>(y - 8))));
}

TEST_F(Gauge, TheScalesAreDrawnOnlyWhenShown) {
  const CTempCtrl::Geometry g = gauge.drawingGeometry();
  const auto inkIn = [&](const QImage& img, QRect box) {
    int dark = 0;
    for (int x = box.left(); x <= box.right(); ++x)
      for (int y = box.top(); y <= box.bottom(); ++y)
        if (img.pixelColor(x, y).lightness() < 100) ++dark;
    return dark;
  };
  const int right = static_cast<int>(g.centre + g.tube / 2);
  const int left = static_cast<int>(g.centre - g.tube / 2);
  const QRect rightTicks(right + 3, static_cast<int>(g.tubeTop), 8, static_cast<int>(g.tubeBottom - g.tubeTop));
  const QRect leftTicks(left - 10, static_cast<int>(g.tubeTop), 8, static_cast<int>(g.tubeBottom - g.tubeTop));
  const QRect letters(static_cast<int>(g.centre) + 20, 5, 20, 20);
  QImage with = picture();
  EXPECT_GT(inkIn(with, rightTicks), 50);
  EXPECT_GT(inkIn(with, leftTicks), 50);
  EXPECT_GT(inkIn(with, letters), 5);
  gauge.setShowScale(false);
  QImage without = picture();
  EXPECT_EQ(inkIn(without, rightTicks), 0);
  EXPECT_EQ(inkIn(without, letters), 0);
}

}  // namespace
}  // namespace wk
