#include "support/gui/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace wk::test {

void screenshot(QWidget* widget, const QString& name) {
  const QString dir = qEnvironmentVariable("WK_SCREENSHOT_DIR");
  if (dir.isEmpty() || !widget) return;
  QWidget* window = widget->window();
  window->show();
  window->raise();
  window->activateWindow();
  if (!QTest::qWaitForWindowExposed(window, 5000)) qWarning("screenshot: window %s not exposed", qPrintable(name));
  // Paint now and hand everything to the display server before grabbing it.
  QCoreApplication::processEvents();
  window->repaint();
  QGuiApplication::sync();
  QDir().mkpath(dir);
  QPixmap shot;
  QScreen* screen = window->screen();
  if (screen && QGuiApplication::platformName() == QLatin1String("xcb")) {
    const QRect frame = window->frameGeometry();
    shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  } else {
    shot = window->grab();
  }
  shot.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace wk::test
