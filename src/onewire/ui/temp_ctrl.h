#pragma once
// The thermometer gauge of the sensor selector: a glass tube with its bulb,
// the liquid up to the value, a Fahrenheit scale on the right, a Celsius
// scale on the left and the value as text below the bulb. Drawn
// antialiased into an off-screen buffer, then onto the window.
#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace wk {

class CTempCtrl : public QWidget {
 public:
  explicit CTempCtrl(QWidget* parent = nullptr);

  // Degrees Fahrenheit; the value is clamped into the new range.
  void setRange(double minimum, double maximum);
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  // Clamped to the maximum, then to the minimum.
  void setValue(double fahrenheit);
  double value() const { return value_; }
  // value = celsius * 1.8 + 32, clamped; repaints.
  void SetTemperature(double celsius);

  void setShowScale(bool show);
  void setSteps(int minorStep, int majorStep);
  // The value text in degrees Fahrenheit (true) or Celsius (false).
  void setFahrenheitText(bool fahrenheit);
  bool fahrenheitText() const { return fahrenheitText_; }
  void setColor(const QColor& color);
  QColor color() const { return color_; }

  // What the text below the bulb says: "%.01f F" or "%.01f°C".
  QString valueText() const;
  // The part of the tube the liquid fills, 0 to 1.
  double liquidFraction() const;

  // Where the parts are drawn, for tests that look at the picture.
  struct Geometry {
    QRectF area;  // the client rectangle less 5 on every side
    double tube;  // tube width
    double centre;
    QRectF bulb;
    double tubeTop;
    double tubeBottom;
    double liquidTop;
  };
  Geometry drawingGeometry() const;

  QSize sizeHint() const override { return {220, 400}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void draw(QPainter& p) const;
  void drawScales(QPainter& p, const Geometry& g) const;
  double yOf(const Geometry& g, double fahrenheit) const;

  double minimum_ = -20.0;
  double maximum_ = 120.0;
  double value_ = 32.0;
  bool showScale_ = true;
  int minorStep_ = 5;
  int majorStep_ = 20;
  bool fahrenheitText_ = true;
  QColor color_{255, 64, 64};
  mutable QPixmap buffer_;
  mutable bool dirty_ = true;
};

}  // namespace wk
