#include "diagnostics/ui/loop_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace wk::diag {
namespace {

using C = ContactState;
using L = Lamp;
using M = LineMark;

// Two detectors on one line: each has its contact with its own resistor
// across it; an alarm opens the contact and puts the resistor into the loop.
// The end-of-line resistors are what the line reads with both detectors
// quiet: about 1k in "ATZ1", about 470 ohms in "ATZ3", none (a closed loop)
// in "ATZ2" and "ATZ4".
constexpr std::array<LoopScene, 29> kScenes = {{
    {154, "ATZ1", true, L::Quiet, C::Closed, C::Closed, "2.2k", "1k", "1k", M::None},
    {155, "ATZ1", true, L::Alarm, C::Open, C::Open, "2.2k", "1k", "1k", M::None},
    {156, "ATZ1", true, L::Alarm, C::Closed, C::Open, "2.2k", "1k", "1k", M::None},
    {157, "ATZ1", true, L::Alarm, C::Open, C::Closed, "2.2k", "1k", "1k", M::None},
    {158, "ATZ1", true, L::LineError, C::Closed, C::Closed, "2.2k", "1k", "1k", M::CutOrShort},
    {159, "ATZ2", true, L::Alarm, C::Closed, C::Open, "2.2k", "1k", nullptr, M::None},
    {160, "ATZ2", true, L::Alarm, C::Open, C::Closed, "2.2k", "1k", nullptr, M::None},
    {161, "ATZ2", true, L::Alarm, C::Open, C::Open, "2.2k", "1k", nullptr, M::None},
    {162, "ATZ2", true, L::LineError, C::Closed, C::Closed, "2.2k", "1k", nullptr, M::CutOrShort},
    {163, "ATZ2", true, L::Quiet, C::Closed, C::Closed, "2.2k", "1k", nullptr, M::None},
    {164, "ATZ3", true, L::Alarm, C::Closed, C::Open, "1.5k", "k82", "470", M::None},
    {165, "ATZ3", true, L::Alarm, C::Open, C::Closed, "1.5k", "k82", "470", M::None},
    {166, "ATZ3", true, L::Alarm, C::Open, C::Open, "1.5k", "k82", "470", M::None},
    {167, "ATZ3", true, L::LineError, C::Closed, C::Closed, "1.5k", "k82", "470", M::CutOrShort},
    {168, "ATZ3", true, L::Quiet, C::Closed, C::Closed, "1.5k", "k82", "470", M::None},
    {169, "ATZ4", true, L::Quiet, C::Closed, C::Closed, "1.5k", "k82", nullptr, M::None},
    {170, "ATZ4", true, L::Alarm, C::Closed, C::Open, "1.5k", "k82", nullptr, M::None},
    {171, "ATZ4", true, L::Alarm, C::Open, C::Closed, "1.5k", "k82", nullptr, M::None},
    {172, "ATZ4", true, L::Alarm, C::Open, C::Open, "1.5k", "k82", nullptr, M::None},
    {173, "ATZ4", true, L::LineError, C::Closed, C::Closed, "1.5k", "k82", nullptr, M::CutOrShort},
    // One contact on the line.
    {174, "1k", false, L::Quiet, C::Closed, C::Closed, nullptr, nullptr, "1k", M::None},
    {175, "", false, L::NotStable, C::Flicker, C::Closed, nullptr, nullptr, nullptr, M::None},
    {176, "0|1", false, L::Alarm, C::Open, C::Closed, nullptr, nullptr, "R", M::ShortOrOpen},
    {180, "", false, L::Alarm, C::Detector, C::Closed, nullptr, nullptr, nullptr, M::Tripped},
    {181, "1k", false, L::Alarm, C::Closed, C::Closed, nullptr, nullptr, "1k", M::EndResistorWrong},
    {182, "1", false, L::Alarm, C::Open, C::Closed, nullptr, nullptr, nullptr, M::None},
    {183, "0", false, L::Quiet, C::Detector, C::Closed, nullptr, nullptr, nullptr, M::None},
    {184, "0|1", false, L::Quiet, C::Closed, C::Closed, nullptr, nullptr, "R", M::None},
    {185, "1", false, L::Quiet, C::Detector, C::Closed, nullptr, nullptr, nullptr, M::None},
}};

// The drawing's own coordinates; it is scaled into the target.
constexpr qreal kWidth = kLoopPictureSize.width();
constexpr qreal kHeight = kLoopPictureSize.height();
constexpr qreal kTop = 56;      // the upper wire
constexpr qreal kBottom = 118;  // the lower wire
constexpr qreal kLeft = 40;     // the controller's terminals
constexpr qreal kRight = 224;   // the far end of the line

const QColor kInk(0x33, 0x37, 0x3d);
const QColor kMuted(0xa0, 0xa6, 0xae);
const QColor kQuiet(0x2e, 0x7d, 0x32);
const QColor kAlarm(0xc6, 0x28, 0x28);
const QColor kAmber(0xe0, 0x8a, 0x00);

QColor lineColour(Lamp lamp) {
  switch (lamp) {
    case Lamp::Quiet: return kQuiet;
    case Lamp::NotStable: return kAmber;
    default: return kAlarm;
  }
}

QPen pen(const QColor& colour, qreal width = 2.5, Qt::PenStyle style = Qt::SolidLine) {
  QPen p(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
  return p;
}

void text(QPainter& p, const QRectF& box, const QString& s, int pixelSize, bool bold, const QColor& colour,
          Qt::Alignment align = Qt::AlignCenter) {
  QFont font = p.font();
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, align, s);
}

void controller(QPainter& p) {
  p.setPen(pen(QColor(0x7a, 0x84, 0x90), 1.5));
  p.setBrush(QColor(0xe3, 0xe7, 0xec));
  p.drawRoundedRect(QRectF(6, 38, kLeft - 6, 98), 4, 4);
  p.setBrush(Qt::white);
  p.setPen(pen(kInk, 1.5));
  p.drawEllipse(QPointF(kLeft - 6, kTop), 4, 4);
  p.drawEllipse(QPointF(kLeft - 6, kBottom), 4, 4);
  text(p, QRectF(7, kTop - 8, 20, 16), QStringLiteral("IN"), 10, true, kInk);
  // Ground at the lower terminal.
  p.setPen(pen(kInk, 1.5));
  const qreal gx = 17, gy = kBottom - 8;
  p.drawLine(QPointF(gx, gy), QPointF(gx, gy + 6));
  p.drawLine(QPointF(gx - 7, gy + 6), QPointF(gx + 7, gy + 6));
  p.drawLine(QPointF(gx - 4.5, gy + 9), QPointF(gx + 4.5, gy + 9));
  p.drawLine(QPointF(gx - 2, gy + 12), QPointF(gx + 2, gy + 12));
}

void resistor(QPainter& p, const QPointF& centre, bool vertical, const QColor& colour, bool carrying) {
  const QSizeF size = vertical ? QSizeF(12, 30) : QSizeF(30, 12);
  const QRectF body(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height());
  p.setPen(pen(colour, carrying ? 2.5 : 1.5));
  p.setBrush(carrying ? QColor(colour.red(), colour.green(), colour.blue(), 48) : QColor(Qt::white));
  p.drawRect(body);
  p.setBrush(Qt::NoBrush);
}

// A normally closed contact from a to b on a horizontal wire.
void contact(QPainter& p, qreal a, qreal b, qreal y, ContactState state, const QColor& colour) {
  p.setPen(pen(colour, 2.5));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(a, y), 3, 3);
  p.drawEllipse(QPointF(b, y), 3, 3);
  p.setBrush(Qt::NoBrush);
  const QPointF pivot(a + 3, y);
  const QPointF closedEnd(b - 2, y - 3);
  const QPointF openEnd(b - 8, y - 20);
  switch (state) {
    case ContactState::Closed: p.drawLine(pivot, closedEnd); break;
    case ContactState::Open: p.drawLine(pivot, openEnd); break;
    case ContactState::Flicker: {
      p.drawLine(pivot, closedEnd);
      p.setPen(pen(colour, 2, Qt::DashLine));
      p.drawLine(pivot, openEnd);
      p.setPen(pen(colour, 1.5));
      // The blade going to and fro.
      QPainterPath arc;
      arc.moveTo(b + 2, y - 22);
      arc.quadTo(b + 9, y - 12, b + 4, y - 4);
      p.drawPath(arc);
      p.drawLine(QPointF(b + 4, y - 4), QPointF(b + 1, y - 9));
      p.drawLine(QPointF(b + 2, y - 22), QPointF(b + 7, y - 19));
      break;
    }
    case ContactState::Detector: break;
  }
}

// A detector whose contact position is not shown: a box with a sensing eye.
void detectorBox(QPainter& p, qreal a, qreal b, const QColor& colour) {
  const QRectF box(a, kTop - 16, b - a, 32);
  p.setPen(pen(colour, 2));
  p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 36));
  p.drawRoundedRect(box, 5, 5);
  p.setBrush(Qt::NoBrush);
  const QPointF eye(box.center().x(), box.center().y());
  p.drawEllipse(eye, 7, 7);
  p.setBrush(colour);
  p.drawEllipse(eye, 2.5, 2.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(pen(colour, 1.5));
  for (int i = -1; i <= 1; ++i) {
    const qreal dy = i * 6;
    p.drawLine(QPointF(eye.x() + 10, eye.y() + dy * 0.6), QPointF(eye.x() + 15, eye.y() + dy));
    p.drawLine(QPointF(eye.x() - 10, eye.y() + dy * 0.6), QPointF(eye.x() - 15, eye.y() + dy));
  }
}

void starburst(QPainter& p, const QPointF& c, const QColor& colour) {
  p.setPen(pen(colour, 2));
  for (int i = 0; i < 8; ++i) {
    const qreal angle = i * 3.14159265 / 4 + 0.2;
    const QPointF dir(std::cos(angle), std::sin(angle));
    p.drawLine(c + dir * 24, c + dir * (i % 2 ? 30 : 33));
  }
}

void lamp(QPainter& p, Lamp kind) {
  const QPointF c(216, 22);
  const qreal r = 15;
  p.setPen(Qt::NoPen);
  const QPen mark = pen(Qt::white, 3);
  switch (kind) {
    case Lamp::Quiet: {
      p.setBrush(kQuiet);
      p.drawEllipse(c, r, r);
      p.setPen(mark);
      p.drawPolyline(QPolygonF({c + QPointF(-7, 0), c + QPointF(-2, 6), c + QPointF(8, -6)}));
      break;
    }
    case Lamp::Alarm: {
      p.setBrush(kAlarm);
      p.drawEllipse(c, r, r);
      // A bell.
      QPainterPath bell;
      bell.moveTo(c + QPointF(-8, 5));
      bell.cubicTo(c + QPointF(-5, 3), c + QPointF(-7, -9), c + QPointF(0, -9));
      bell.cubicTo(c + QPointF(7, -9), c + QPointF(5, 3), c + QPointF(8, 5));
      bell.closeSubpath();
      p.setBrush(Qt::white);
      p.drawPath(bell);
      p.drawEllipse(c + QPointF(0, 7.5), 2.2, 2.2);
      // It rings.
      p.setBrush(Qt::NoBrush);
      p.setPen(pen(kAlarm, 2));
      p.drawArc(QRectF(c.x() - r - 7, c.y() - r - 7, 2 * r + 14, 2 * r + 14), 200 * 16, 50 * 16);
      p.drawArc(QRectF(c.x() - r - 7, c.y() - r - 7, 2 * r + 14, 2 * r + 14), -70 * 16, 50 * 16);
      break;
    }
    case Lamp::NotStable: {
      p.setBrush(kAmber);
      p.drawEllipse(c, r, r);
      p.setPen(mark);
      p.setBrush(Qt::NoBrush);
      QPainterPath wave;
      wave.moveTo(c + QPointF(-9, 1));
      wave.cubicTo(c + QPointF(-5, -8), c + QPointF(-1, -8), c + QPointF(0, 0));
      wave.cubicTo(c + QPointF(1, 8), c + QPointF(5, 8), c + QPointF(9, -1));
      p.drawPath(wave);
      break;
    }
    case Lamp::LineError: {
      p.setBrush(kAlarm);
      QPolygonF triangle({c + QPointF(0, -r - 2), c + QPointF(r + 3, r - 1), c + QPointF(-r - 3, r - 1)});
      p.setPen(pen(kAlarm, 3));
      p.drawPolygon(triangle);
      p.setPen(mark);
      p.drawLine(c + QPointF(0, -6), c + QPointF(0, 4));
      p.drawPoint(c + QPointF(0, 9));
      break;
    }
  }
  p.setBrush(Qt::NoBrush);
}

// The loop: upper wire out to the far end, down, lower wire back. Pieces
// listed in gaps are left out of the upper wire (where the contacts sit).
void wires(QPainter& p, const QColor& colour, const std::vector<std::pair<qreal, qreal>>& gaps, bool endResistor) {
  p.setPen(pen(colour, 2.5));
  qreal x = kLeft - 3;
  for (const auto& [from, to] : gaps) {
    p.drawLine(QPointF(x, kTop), QPointF(from, kTop));
    x = to;
  }
  p.drawLine(QPointF(x, kTop), QPointF(kRight, kTop));
  if (endResistor) {
    p.drawLine(QPointF(kRight, kTop), QPointF(kRight, 72));
    p.drawLine(QPointF(kRight, 102), QPointF(kRight, kBottom));
  } else {
    p.drawLine(QPointF(kRight, kTop), QPointF(kRight, kBottom));
  }
  p.drawLine(QPointF(kRight, kBottom), QPointF(kLeft - 3, kBottom));
}

void endOfLine(QPainter& p, const LoopScene& s, const QColor& colour) {
  if (!s.endResistor) return;
  const QPointF centre(kRight, (72 + 102) / 2.0);
  resistor(p, centre, true, colour, true);
  text(p, QRectF(kRight - 52, centre.y() - 9, 42, 18), QString::fromUtf8(s.endResistor), 12, true, kInk,
       Qt::AlignRight | Qt::AlignVCenter);
  if (s.mark == LineMark::EndResistorWrong) {
    p.setPen(pen(kAlarm, 3.5));
    p.drawLine(centre + QPointF(-11, -17), centre + QPointF(11, 17));
    p.drawLine(centre + QPointF(11, -17), centre + QPointF(-11, 17));
  }
}

// One detector of a two-detector line: its contact on the wire, its resistor
// across the contact below.
void zoneDetector(QPainter& p, qreal a, qreal b, ContactState state, const char* value, const QColor& colour) {
  const bool alarm = state == ContactState::Open;
  const QColor active = alarm ? kAlarm : colour;
  // The detector's housing.
  p.setPen(pen(kMuted, 1.2, Qt::DashLine));
  p.drawRoundedRect(QRectF(a - 6, kTop - 26, b - a + 12, 76), 6, 6);
  // Resistor branch: carries the current only while the contact is open.
  const QColor branch = alarm ? kAlarm : kMuted;
  const qreal by = kTop + 26;
  p.setPen(pen(branch, alarm ? 2.5 : 1.5));
  p.drawLine(QPointF(a, kTop), QPointF(a, by));
  p.drawLine(QPointF(b, kTop), QPointF(b, by));
  const qreal mid = (a + b) / 2;
  p.drawLine(QPointF(a, by), QPointF(mid - 15, by));
  p.drawLine(QPointF(mid + 15, by), QPointF(b, by));
  resistor(p, QPointF(mid, by), false, branch, alarm);
  text(p, QRectF(a - 4, by + 8, b - a + 8, 14), QString::fromUtf8(value), 12, true, alarm ? kAlarm : kInk);
  contact(p, a + 6, b - 6, kTop, state, active);
  // The contact's wire ends meet the branch.
  p.setPen(pen(colour, 2.5));
  p.drawLine(QPointF(a, kTop), QPointF(a + 3, kTop));
  p.drawLine(QPointF(b - 3, kTop), QPointF(b, kTop));
}

void lineFault(QPainter& p, const LoopScene& s) {
  if (s.mark == LineMark::CutOrShort || s.mark == LineMark::ShortOrOpen) {
    // Shorted across: a bridge between the wires.
    const qreal x = s.mark == LineMark::CutOrShort ? 52 : 70;
    p.setPen(pen(kAlarm, 2.5, Qt::DashLine));
    p.drawLine(QPointF(x, kTop + 4), QPointF(x, kBottom - 4));
    p.setPen(pen(kAlarm, 2));
    p.setBrush(kAlarm);
    p.drawEllipse(QPointF(x, kTop), 3, 3);
    p.drawEllipse(QPointF(x, kBottom), 3, 3);
    p.setBrush(Qt::NoBrush);
  }
  if (s.mark == LineMark::CutOrShort) {
    // Cut: a wide gap in the lower wire with ragged ends and a spark.
    const qreal a = 116, b = 152;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(a, kBottom - 5, b - a, 10));
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kAlarm, 3));
    p.drawPolyline(QPolygonF({QPointF(a, kBottom - 7), QPointF(a + 5, kBottom - 2), QPointF(a, kBottom + 2),
                              QPointF(a + 5, kBottom + 7)}));
    p.drawPolyline(QPolygonF({QPointF(b, kBottom - 7), QPointF(b - 5, kBottom - 2), QPointF(b, kBottom + 2),
                              QPointF(b - 5, kBottom + 7)}));
    p.setPen(pen(kAlarm, 2.5));
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    const qreal m = (a + b) / 2;
    p.drawPolygon(QPolygonF({QPointF(m + 3, kBottom - 26), QPointF(m - 7, kBottom - 10), QPointF(m, kBottom - 10),
                             QPointF(m - 4, kBottom + 2), QPointF(m + 8, kBottom - 15), QPointF(m + 1, kBottom - 15)}));
    p.setBrush(Qt::NoBrush);
  }
}

void drawScene(QPainter& p, const LoopScene& s) {
  const QColor colour = lineColour(s.lamp);
  p.setPen(pen(QColor(0xc8, 0xcc, 0xd2), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 6, 6);
  p.setBrush(Qt::NoBrush);

  if (s.tag && *s.tag) text(p, QRectF(8, 6, 90, 20), QString::fromUtf8(s.tag), 15, true, kInk, Qt::AlignLeft | Qt::AlignVCenter);
  controller(p);

  if (s.twoDetectors) {
    constexpr qreal a1 = 68, b1 = 112, a2 = 144, b2 = 188;
    wires(p, colour, {{a1, b1}, {a2, b2}}, s.endResistor != nullptr);
    zoneDetector(p, a1, b1, s.first, s.firstValue, colour);
    zoneDetector(p, a2, b2, s.second, s.secondValue, colour);
  } else if (s.first == ContactState::Detector) {
    constexpr qreal a = 100, b = 148;
    wires(p, colour, {{a, b}}, s.endResistor != nullptr);
    detectorBox(p, a, b, colour);
    if (s.mark == LineMark::Tripped) starburst(p, QPointF((a + b) / 2, kTop), kAlarm);
  } else {
    constexpr qreal a = 104, b = 140;
    wires(p, colour, {{a, b}}, s.endResistor != nullptr);
    contact(p, a, b, kTop, s.first, colour);
  }
  endOfLine(p, s, colour);
  lineFault(p, s);
  lamp(p, s.lamp);
}

}  // namespace

const LoopScene* loopScene(int id) {
  for (const LoopScene& s : kScenes)
    if (s.id == id) return &s;
  return nullptr;
}

void drawLoopPicture(QPainter& painter, const QRectF& target, int id) {
  const LoopScene* scene = loopScene(id);
  if (!scene) return;
  const qreal scale = std::min(target.width() / kWidth, target.height() / kHeight);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(target.center().x() - kWidth * scale / 2, target.center().y() - kHeight * scale / 2);
  painter.scale(scale, scale);
  drawScene(painter, *scene);
  painter.restore();
}

QPixmap loopPicture(int id, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  drawLoopPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), id);
  return pixmap;
}

LoopPictureView::LoopPictureView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picture"));
  setMinimumSize(kLoopPictureSize);
}

void LoopPictureView::setPicture(std::optional<int> id) {
  if (id == id_) return;
  id_ = id;
  update();
}

void LoopPictureView::paintEvent(QPaintEvent*) {
  if (!id_) return;
  QPainter painter(this);
  drawLoopPicture(painter, QRectF(rect()), *id_);
}

}  // namespace wk::diag
