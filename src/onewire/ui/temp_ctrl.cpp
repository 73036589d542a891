#include "onewire/ui/temp_ctrl.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace wk {
namespace {

constexpr int kMargin = 5;          // around the drawing area
constexpr int kTubeTopGap = 10;     // above the tube
constexpr int kScaleTopGap = 15;    // and the room for the unit letters
constexpr int kBulbBottomGap = 25;  // below the bulb, for the value text
constexpr double kEndHeight = 5;    // the half-ellipses at the tube's ends
const QColor kBulbOutline(64, 0, 0);

QColor shifted(const QColor& c, int by) {
  const auto f = [by](int v) { return std::clamp(v + by, 0, 255); };
  return QColor(f(c.red()), f(c.green()), f(c.blue()));
}

QFont numberFont() { return QFont(QStringLiteral("Arial"), 7); }
QFont letterFont() { return QFont(QStringLiteral("Arial"), 10, QFont::Bold); }

}  // namespace

CTempCtrl::CTempCtrl(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void CTempCtrl::setRange(double minimum, double maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  setValue(value_);
}

void CTempCtrl::setValue(double fahrenheit) {
  value_ = std::max(std::min(fahrenheit, maximum_), minimum_);
  dirty_ = true;
  update();
}

void CTempCtrl::SetTemperature(double celsius) { setValue(celsius * 1.8 + 32); }

void CTempCtrl::setShowScale(bool show) {
  showScale_ = show;
  dirty_ = true;
  update();
}

void CTempCtrl::setSteps(int minorStep, int majorStep) {
  minorStep_ = std::max(1, minorStep);
  majorStep_ = std::max(1, majorStep);
  dirty_ = true;
  update();
}

void CTempCtrl::setFahrenheitText(bool fahrenheit) {
  fahrenheitText_ = fahrenheit;
  dirty_ = true;
  update();
}

void CTempCtrl::setColor(const QColor& color) {
  color_ = color;
  dirty_ = true;
  update();
}

QString CTempCtrl::valueText() const {
  if (fahrenheitText_) return QString::asprintf("%.01f F", value_);
  return QString::asprintf("%.01f", (value_ - 32) / 1.8) + QStringLiteral("°C");
}

double CTempCtrl::liquidFraction() const {
  if (maximum_ <= minimum_) return 0;
  return std::clamp((value_ - minimum_) / (maximum_ - minimum_), 0.0, 1.0);
}

CTempCtrl::Geometry CTempCtrl::drawingGeometry() const {
  Geometry g;
  g.area = QRectF(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
  const double w = g.area.width();
  g.tube = std::floor(w / 5);
  g.centre = g.area.left() + w / 2;
  g.bulb = QRectF(g.centre - g.tube, g.area.bottom() - kBulbBottomGap - 2 * g.tube, 2 * g.tube, 2 * g.tube);
  g.tubeTop = g.area.top() + kTubeTopGap + (showScale_ ? kScaleTopGap : 0);
  g.tubeBottom = g.bulb.top();
  g.liquidTop = g.tubeBottom - liquidFraction() * (g.tubeBottom - g.tubeTop);
  return g;
}

double CTempCtrl::yOf(const Geometry& g, double fahrenheit) const {
  if (maximum_ <= minimum_) return g.tubeBottom;
  return g.tubeBottom - (fahrenheit - minimum_) / (maximum_ - minimum_) * (g.tubeBottom - g.tubeTop);
}

void CTempCtrl::resizeEvent(QResizeEvent* event) {
  dirty_ = true;
  QWidget::resizeEvent(event);
}

void CTempCtrl::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  if (dirty_ || buffer_.size() != size() * ratio) {
    buffer_ = QPixmap(size() * ratio);
    buffer_.setDevicePixelRatio(ratio);
    QPainter off(&buffer_);
    off.setRenderHint(QPainter::Antialiasing);
    off.setRenderHint(QPainter::TextAntialiasing);
    draw(off);
    dirty_ = false;
  }
  QPainter(this).drawPixmap(0, 0, buffer_);
}

void CTempCtrl::draw(QPainter& p) const {
  // The same colours whether the window is enabled or not: the monitor
  // disables it while it runs.
  p.fillRect(rect(), palette().color(QPalette::Active, QPalette::Button));
  const Geometry g = drawingGeometry();
  const double t = g.tube;
  const double left = g.centre - t / 2;
  const double right = g.centre + t / 2;
  const QColor dark = shifted(color_, -55);
  const QColor bright = shifted(color_, 55);

  // Where the tube's sides meet the bulb's circle.
  const double neck = g.bulb.top() + t - std::sqrt(t * t - (t / 2) * (t / 2));

  // The glass: a light tint inside the tube and the bulb.
  QPainterPath tube;
  tube.addRect(QRectF(left, g.tubeTop, t, neck - g.tubeTop));
  tube.addEllipse(QRectF(left, g.tubeTop - kEndHeight / 2, t, kEndHeight));
  QPainterPath glass = tube.united([&] {
    QPainterPath bulb;
    bulb.addEllipse(g.bulb);
    return bulb;
  }());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 170));
  p.drawPath(glass);

  // The liquid column, from the bulb up to the value, shaded across the tube.
  if (g.liquidTop < neck) {
    QPainterPath column;
    column.addRect(QRectF(left, g.liquidTop, t, neck + t / 2 - g.liquidTop));
    column.addEllipse(QRectF(left, g.liquidTop - kEndHeight / 2, t, kEndHeight));
    QLinearGradient across(QPointF(right, 0), QPointF(left, 0));
    across.setColorAt(0, dark);
    across.setColorAt(1, bright);
    p.setBrush(across);
    p.drawPath(column);
  }

  // The bulb, shaded from its lower right to its upper left.
  QLinearGradient shade(g.bulb.bottomRight(), g.bulb.topLeft());
  shade.setColorAt(0, dark);
  shade.setColorAt(1, bright);
  p.setBrush(shade);
  p.drawEllipse(g.bulb);
  // Its outline, open where the tube joins it.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kBulbOutline, 1));
  p.drawArc(g.bulb, 120 * 16, 300 * 16);

  // The tube's outline in the liquid's colour: its sides down to the bulb and
  // the small ellipse that closes its top.
  p.setPen(QPen(color_, 1));
  p.drawLine(QPointF(left, g.tubeTop), QPointF(left, neck));
  p.drawLine(QPointF(right, g.tubeTop), QPointF(right, neck));
  p.drawEllipse(QRectF(left, g.tubeTop - kEndHeight / 2, t, kEndHeight));

  if (showScale_) drawScales(p, g);

  // The value below the bulb.
  p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
  p.setFont(letterFont());
  p.drawText(QRectF(g.area.left(), g.bulb.bottom(), g.area.width(), kBulbBottomGap), Qt::AlignCenter, valueText());
}

void CTempCtrl::drawScales(QPainter& p, const Geometry& g) const {
  const double left = g.centre - g.tube / 2;
  const double right = g.centre + g.tube / 2;
  const QColor ink = palette().color(QPalette::Active, QPalette::WindowText);
  p.setPen(QPen(ink, 1));
  p.setFont(numberFont());
  const double labelHeight = 12;

  // Fahrenheit on the right, from the top of the scale down.
  for (double v = maximum_; v >= minimum_ - 1e-9; v -= minorStep_) {
    const double y = yOf(g, v);
    p.drawLine(QPointF(right + 3, y), QPointF(right + 8, y));
  }
  for (double v = maximum_; v >= minimum_ - 1e-9; v -= majorStep_) {
    const double y = yOf(g, v);
    p.drawLine(QPointF(right + 3, y), QPointF(right + 10, y));
    p.drawText(QRectF(right + 12, y - labelHeight / 2, g.area.right() - right - 12, labelHeight),
               Qt::AlignLeft | Qt::AlignVCenter, QString::asprintf("%d", static_cast<int>(v)));
  }

  // Celsius on the left, from a round number at the top down.
  const double top = (maximum_ - 32) / 1.8;
  const double bottom = (minimum_ - 32) / 1.8;
  const auto fahrenheitOf = [](double c) { return c * 1.8 + 32; };
  for (double c = top - std::fmod(top, minorStep_); c >= bottom - 1e-9; c -= minorStep_) {
    const double y = yOf(g, fahrenheitOf(c));
    p.drawLine(QPointF(left - 8, y), QPointF(left - 3, y));
  }
  for (double c = top - std::fmod(top, 10); c >= bottom - 1e-9; c -= majorStep_) {
    const double y = yOf(g, fahrenheitOf(c));
    p.drawLine(QPointF(left - 10, y), QPointF(left - 3, y));
    p.drawText(QRectF(g.area.left(), y - labelHeight / 2, left - 15 - g.area.left(), labelHeight),
               Qt::AlignRight | Qt::AlignVCenter, QString::asprintf("%d", static_cast<int>(std::lround(c))));
  }

  // The unit letters at the top, either side of the tube.
  p.setFont(letterFont());
  p.drawText(QRectF(g.centre + 20, g.area.top(), 20, 20), Qt::AlignCenter, QStringLiteral("F"));
  p.drawText(QRectF(g.centre - 40, g.area.top(), 20, 20), Qt::AlignCenter, QStringLiteral("C"));
}

}  // namespace wk
