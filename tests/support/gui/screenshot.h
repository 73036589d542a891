#pragma once
// Screenshots of real windows, taken when WK_SCREENSHOT_DIR is set (see
// scripts/screenshots.sh, which runs the GUI tests under Xvfb).
#include <QString>

class QWidget;

namespace wk::test {

// Shows the widget's window, lets it paint, and saves what the screen shows
// of it as WK_SCREENSHOT_DIR/name.png. Does nothing without the variable.
void screenshot(QWidget* widget, const QString& name);

}  // namespace wk::test
