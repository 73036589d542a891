// watchkeep: the Watchkeep Configurator desktop program.
#include <QApplication>

#include "app/about_dlg.h"
#include "app/c4410_app.h"
#include "seams/qt/qt_prompter.h"
#include "seams/qt/qt_settings.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Velmora"));
  QApplication::setApplicationName(QStringLiteral("watchkeep"));
  QApplication::setApplicationVersion(QStringLiteral("1.05d"));
  QGuiApplication::setDesktopFileName(QStringLiteral("watchkeep"));
  QApplication::setWindowIcon(wk::programIcon());

  wk::QtSettings settings;
  wk::QtPrompter prompter;
  wk::C4410App app(settings, prompter);
  if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
  return QApplication::exec();
}
